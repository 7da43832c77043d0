#pragma once

#include <QIcon>
#include <QPixmap>

namespace vantora {

// The pictures of the buttons and images, drawn in code so that they scale cleanly
// and need no resource files.

// Tool bar and parameter panel buttons.
QIcon OpenFilePicture();
QIcon SaveModelPicture();
QIcon TouchPointPicture();
QIcon NcFormatPicture();
QIcon ToolPathPicture();
QIcon StartPositionPicture();
QIcon WirePathPicture();
QIcon ClearProgramPicture();
// The block a program leaves standing, the part visible inside it.
QIcon CarvedResultPicture();

enum class Axis { X, Y, Z };
// An arrow along one model axis with its letter, beside the model's dimensions.
QPixmap AxisPicture(Axis axis, int size);
// A circle with its diameter, beside the diameter the model sweeps.
QPixmap DiameterPicture(int size);
// The probe ball on its stylus, on the touch-point panel.
QPixmap ProbePicture(int size);

// The 3D view's buttons: add a file, zoom in and out, turn the model about an axis.
QIcon InsertFilePicture();
QIcon ZoomPicture(bool in);
QIcon TurnPicture(Axis axis);
// A preset viewing direction, the model seen from `side` ("+Z", "-X", ...). Its
// disabled glyph marks the preset in force.
QIcon ViewFromPicture(const QString& side);

// The choices of the import dialog: the added scan mirrored in Z (a bump on the
// platform and its image below it), or the model turned about the X or the Y axis.
QPixmap MirrorZPicture(int size);
QPixmap TurnModelPicture(Axis axis, int size);

// The machine's three axes in the NC format dialog.
QPixmap HorizontalAxisPicture(int size);
QPixmap VerticalAxisPicture(int size);
QPixmap RotaryAxisPicture(int size);

// The ground of the tool-path window's angle panel: the rotary axis at its left,
// beside the edit that shows the section angle.
QPixmap SectionAnglePicture(QSize size);

}  // namespace vantora
