// The main window's tool-path commands: set up the section raster, define the start
// position, and sweep the sections into the NC program in Memo1.
#include <QLineEdit>
#include <QToolButton>

#include "app/main_window.h"
#include "core/check/program_check.h"
#include "common/handlers.h"
#include "common/memo_appender.h"
#include "core/common/number_text.h"
#include "toolpath/outline_form.h"
#include "core/app/tool_path_commands.h"
#include "view3d/opengl_form.h"

namespace vantora {
namespace {

// The program as Memo1 holds it: each line kept whole in the session, which is what a
// save writes, and shown through the buffered appender. A run hands over its program
// only once its sweep has succeeded, so one that fails leaves both as they were.
class MemoProgram final : public NcLineSink {
 public:
  MemoProgram(NcProgram& program, MemoAppender& memo) : program_(program), memo_(memo) {}

  void AppendLine(std::string_view line) override {
    program_.AppendLine(line);
    // The program end "M30\n" brings its own line feed; a memo line ends anyway.
    if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
    memo_.AppendLine(line);
  }

 private:
  NcProgram& program_;
  MemoAppender& memo_;
};

void ShowValue(QLineEdit& edit, float value) {
  edit.setText(QString::fromStdString(FloatToText(value)));
}

}  // namespace

void TForm1::PosNcButtonClick() {
  if (!ModelView) return;  // the button shows only once a model is open
  // Every number is read, and checked by the set-up, before anything changes: a typo
  // must not leave the model hidden and the button disabled for good.
  const float resolution = ReadFloat(*ResuEdit);
  const float wireDia = ReadFloat(*WrrediaEdit1);
  ReadFloat(*StartDegEdit);  // From too, though only the sweep uses it
  const ToolPathSetUp setUp{resolution, wireDia};
  BusyState::Scope busy(Busy);
  const Status s = SetUpToolPath(*DataModule1, session_, ModelView->Table, host_, setUp);
  if (!s) {
    host_.ShowMessage(s.message());
    return;
  }
  PosNcButton->setEnabled(false);
  ModelView->hide();
  const TDataModule1& store = *DataModule1;
  // Enlarged to fit the grids.
  if (store.Resolution != resolution) ShowValue(*ResuEdit, store.Resolution);
  ShowValue(*StartXEdit, store.BeginRange);
  ShowValue(*StartHeightEdit, store.StartHeight);
  ShowValue(*EndXEdit, store.EndRange);
  delete OutLineForm;  // an earlier set-up's, drawn to another raster
  OutLineForm = new TOutLineForm(host_, *this);
  OutLineForm->show();
  FocusedEditIndex = 5;
  ResuEdit->setEnabled(false);
  WrrediaEdit1->setEnabled(false);
  StartButton->show();
}

void TForm1::StartButtonClick() {
  const float startHeight = ReadFloat(*StartHeightEdit);
  const float beginRange = ReadFloat(*StartXEdit);
  const float endRange = ReadFloat(*EndXEdit);
  const Status s = DefineStartPosition(*DataModule1, startHeight, beginRange, endRange);
  if (!s) {
    host_.ShowMessage(s.message());
    return;
  }
  OutLineForm->FollowBar = false;
  OutLineForm->PlaceRangeMarkers();
}

void TForm1::PosWireButtonClick() {
  if (DataModule1->ToolPathReady == 0) {
    host_.ShowMessage(kToolPathNotFound);
    return;
  }
  const float start = ReadFloat(*StartDegEdit);
  const float step = ReadFloat(*StepDegEdit);
  const SweepAngles angles{start, step, ReadFloat(*EndDegEdit)};
  DataModule1->PathTolerance = ReadFloat(*ToleranceEdit);
  ProgramReport check;
  {
    BusyState::Scope sweeping(Busy);
    MemoProgram program(session_.Program, *NcLines);
    const Status s = RunToolPath(*DataModule1, session_, ModelView->Table, host_, angles,
                                 program,
                                 {[this](float a) { OutLineForm->ShowSection(a); }, &check});
    NcLines->Flush();
    if (!s) {
      host_.ShowMessage(s.message());
      return;
    }
  }
  // The facets have turned: the 3D view compiles them all again when it shows next.
  ModelView->Table.FirstNewFacet = 0;
  ModelView->BuildModelList();
  OutLineForm->Repaint();
  OutLineForm->ShowCheck(check);
  if (Status s = OfferToSaveNcProgram(session_.Program, host_); !s) {
    host_.ShowMessage(s.message());
  }
}

}  // namespace vantora
