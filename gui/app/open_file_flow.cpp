// The open-file flow of the main window: an STL file opens in a new 3D view, a scan
// file in a new view when it is the first model of the run and otherwise joins the
// current one. One import runs at a time, and a file that is not imported leaves
// everything as it was.
#include <QFrame>
#include <QLineEdit>
#include <QProgressBar>
#include <QTimer>
#include <QToolButton>
#include <memory>

#include "app/main_window.h"
#include "core/common/number_text.h"
#include "core/app/scan_import.h"
#include "core/app/stl_import.h"
#include "view3d/opengl_form.h"

namespace vantora {
namespace {

// OpenDialog's filter entries; the third one is blank.
constexpr int kScanEntry = 1;
constexpr int kStlEntry = 2;

}  // namespace

void TForm1::OpenFileButtonClick() {
  if (const auto choice = host_.ChooseOpenFile(OpenDialog.Filter, OpenDialog.FilterIndex)) {
    OpenFile(*choice);
  }
}

void TForm1::OpenNamedFile(const std::string& path) {
  OpenFile({path, IsScanFileName(path) ? kScanEntry : kStlEntry});
}

void TForm1::OpenFile(const FileChoice& choice) {
  OpenDialog.FilterIndex = choice.filterIndex;  // the dialog opens there next time
  // Put back when nothing is imported, so that a first file that fails leaves the
  // open button usable. (Taken before the operation disables the button's row.)
  const QString caption = windowTitle();
  const bool openEnabled = OpenFileButton->isEnabled();
  BusyState::Scope operation(Busy);
  OpenFileButton->setEnabled(false);
  setWindowTitle(QString::fromStdString(choice.path));

  int repairedPoints = 0;
  bool imported = false;
  switch (choice.filterIndex) {
    case kScanEntry: imported = ImportScan(choice.path, repairedPoints); break;
    case kStlEntry: imported = ImportStl(choice.path); break;
    default: break;  // the blank entry reads nothing
  }
  if (!imported) {
    setWindowTitle(caption);
    OpenFileButton->setEnabled(openEnabled);
  }
  FollowSweptProgram();  // a model read replaces the one the program was made for
  if (!ModelView) return;
  if (repairedPoints > 0) host_.ShowMessage(kScanRepairMessage);
  ModelView->DrawScene();
  SaveDfButtom->setEnabled(true);
}

bool TForm1::ImportStl(const std::string& path) {
  // The new view becomes ModelView only once the file has been read: one that cannot
  // be read leaves no empty window behind, and ModelView on the model that was
  // current, which can still be saved and cut.
  auto view = std::make_unique<TOpenGL_Form>(host_, *this, this);
  view->show();
  host_.ProcessPendingMessages();
  Status read;
  {
    WaitCursor wait(host_);
    read = ReadStlModel(path, *DataModule1, session_, view->Table, host_);
  }
  if (!read) {
    host_.ShowMessage(read.message());
    return false;
  }
  ModelView = view.release();
  PosNcButton->show();
  if (const auto placed = PlaceStlModel(*DataModule1, ModelView->Table, host_)) {
    ShowDimensions(placed->X, placed->Y, placed->Z, placed->Diameter);
  }
  SaveDfButtom->setEnabled(true);
  StartXEdit->setText(QString::fromStdString(FloatToText(DataModule1->BeginRange)));
  ModelView->ShowStlModel();
  Panel1->show();
  FocusedEditIndex = 0;  // Resolution blinks first
  return true;
}

bool TForm1::ImportScan(const std::string& path, int& repairedPoints) {
  const bool barHidden = ScaBar->isHidden();
  ScaBar->show();  // the reading's progress
  ScanReadResult read;
  {
    WaitCursor wait(host_);
    read = ReadScanModel(path, *DataModule1, session_, host_);
  }
  if (!read.status) {
    ScaBar->setHidden(barHidden);
    host_.ShowMessage(read.status.message());
    return false;
  }
  repairedPoints = read.repairedPoints;
  ChildWindowOffset = 0;  // a view made for a scan stands at the left edge
  SpeedButton1->setEnabled(false);
  Panel1->hide();  // the tool path works on STL models
  SaveDfButtom->setEnabled(true);
  host_.ProcessPendingMessages();
  if (session_.ScanFileCount == 0) {
    ModelView = new TOpenGL_Form(host_, *this, this);
    ModelView->show();
  }
  BuildScanFaces(*DataModule1, session_, ModelView->Table, host_);
  ModelView->BuildModelList();
  const TDataModule1& s = *DataModule1;
  ShowDimensions(float(s.MaxX - s.MinX), float(s.MaxY - s.MinY), float(s.MaxZ - s.MinZ),
                 std::nullopt);
  return true;
}

}  // namespace vantora
