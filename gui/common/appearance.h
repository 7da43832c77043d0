#pragma once

#include <QColor>
#include <QFont>

class QWidget;

namespace vantora {

// The framework's colour names, as the standard light desktop theme draws them.
inline const QColor kSilver{0xC0, 0xC0, 0xC0};            // clSilver
inline const QColor kWindowColor{0xFF, 0xFF, 0xFF};       // clWindow: edits and memos
inline const QColor kInactiveCaption{0xBF, 0xCD, 0xDB};   // clInactiveCaption
inline const QColor kAppWorkSpace{0xAB, 0xAB, 0xAB};      // clAppWorkSpace
inline const QColor kBlue{0x00, 0x00, 0xFF};              // clBlue
inline const QColor kGreen{0x00, 0x80, 0x00};             // clGreen
inline const QColor kRed{0xFF, 0x00, 0x00};               // clRed
inline const QColor kYellow{0xFF, 0xFF, 0x00};            // clYellow
inline const QColor kBtnFace{0xF0, 0xF0, 0xF0};           // clBtnFace: panels

// A colour in the framework's encoding: 0x00BBGGRR, red in the lowest byte.
constexpr QRgb FrameworkColor(unsigned value) {
  return qRgb(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

// The sky blue of the field the operator fills next.
inline const QColor kSkyBlue = QColor::fromRgb(FrameworkColor(0xF0CAA6));
// clCream: the ground of read-only fields that show a value.
inline const QColor kCream = QColor::fromRgb(FrameworkColor(0xF0FBFF));

// The windows' font at a height in pixels. Tahoma is asked for first; where it is
// missing (every Linux desktop) DejaVu Sans, which has about the same metrics, stands in.
QFont FormFont(int pixelHeight, bool bold = false);

// Fills a widget's background with a solid colour (panels, windows).
void SetBackground(QWidget& widget, const QColor& color);
// Paints the text area of an edit or memo while it is enabled; a disabled one keeps
// the ground ShowLockedReadably gives it.
void SetBase(QWidget& widget, const QColor& color);
// A disabled field in dark text on light grey, legible whatever ground it had: the
// style's own grey text on a blinking field's sky blue could hardly be read.
void ShowLockedReadably(QWidget& widget);
// The colour of a control's text, whatever kind of control it is.
void SetTextColor(QWidget& widget, const QColor& color);

}  // namespace vantora
