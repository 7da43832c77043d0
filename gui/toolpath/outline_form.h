#pragma once

#include <QImage>
#include <QWidget>
#include <vector>

#include "core/common/host.h"
#include "core/model/data_module.h"

class QFrame;
class QLabel;
class QLineEdit;

namespace vantora {

struct ProgramReport;

// The "Tool Path Form": one section of the sweep in 2D, as the operator watches it
// being computed: the outline cells of the section raster (green where the walk never
// left a cell, yellow where it left it once), the wire path in blue, the red base line
// along raster row 0, and markers of the start height and the cutting range. Controls
// are public and named as in the form description; handlers keep the framework's
// names.
//
// Drawing happens when the sweep asks for it, but Qt paints only in paint events: what
// is drawn goes into an image of the client area, and the paint event shows that
// image. A repaint the window system asks for (showing, resizing) and Repaint() start
// the image from black and draw it again with FormPaint, as the window system's
// erasing and the paint handler would.
class TOutLineForm : public QWidget {
  Q_OBJECT

 public:
  // Builds the window owned by `owner` over `area` (in the owner's coordinates), drawing
  // the sections of `store`'s raster.
  TOutLineForm(Host& host, const TDataModule1& store, QWidget& owner, const QRect& area);

  int OriginX = 0;       // pixel column of x = 0
  int OriginY = 0;       // pixel row of raster row 0
  float ViewScale = 0;   // pixels per millimetre
  bool FollowBar = true;  // Panel1 moves with the start-height bar

  QFrame* Panel2;     // the start-height bar
  QFrame* XPanel;     // marker of BeginRange
  QFrame* EndXPanel;  // marker of EndRange
  QLabel* StartXLabel;
  QLabel* EndXLabel;
  QLabel* ZLabel;
  QFrame* Panel1;
  QLabel* Image1;
  QLabel* CheckLabel;
  QLineEdit* RoteDegEdit;  // the current section angle

  // Origin and scale for the present client size, then the markers.
  void FormResize();
  // The outline cells, then the path.
  void FormPaint();
  void PlaceRangeMarkers();
  void ClearPathView();
  void DrawPathLine();
  void DrawOutlineCells();

  // One section of the sweep: its angle in RoteDegEdit, then the section drawn afresh.
  void ShowSection(float angle);
  // The program check's result after a sweep, on the strip along the window's bottom
  // under the section: its summary, in green, or in red with the sections whose moves
  // reach into the model on a second line. Each line is elided to the strip's width;
  // the whole text is the line's tool tip.
  void ShowCheck(const ProgramReport& report);
  // The check's line goes with the program it describes.
  void HideCheck();
  // Starts the picture from black and draws it with FormPaint.
  void Repaint();
  // What the window shows below its controls.
  const QImage& Canvas() const { return canvas_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // An outline cell of the section raster with its weight.
  struct OutlineCell {
    int I, J, Weight;
  };

  void BuildRangeMarkers();
  void BuildAnglePanel();
  void BuildCheckLine();
  // The check's text as much of each line as the strip's width holds.
  void FitCheckText();
  // The cells of outline weight 1 or more in the order they are drawn: row by row
  // from the bottom, each row from the left.
  void CollectOutlineCells();

  Host& host_;
  const TDataModule1& store_;
  QImage canvas_;
  QString checkText_;  // the check's whole text, which CheckLabel shows elided
  std::vector<OutlineCell> outlineCells_;  // reused by every section
};

}  // namespace vantora
