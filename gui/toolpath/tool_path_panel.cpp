#include "toolpath/tool_path_panel.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QToolButton>
#include <optional>

#include "app/main_window.h"
#include "core/check/program_check.h"
#include "common/handlers.h"
#include "common/memo_appender.h"
#include "core/common/number_text.h"
#include "toolpath/choice_plot.h"
#include "toolpath/outline_form.h"
#include "core/app/save_nc_flow.h"
#include "core/app/section_choice.h"
#include "core/app/tool_path_commands.h"
#include "view3d/carved_view.h"
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

void ToolPathPanel::SetUp() {
  TForm1& w = window_;
  if (!w.ModelView) return;  // the button shows only once a model is open
  // Every number is read, and checked by the set-up, before anything changes: a typo
  // must not leave the model hidden and the button disabled for good.
  const float resolution = ReadFloat(*w.ResuEdit);
  const float wireDia = ReadFloat(*w.WrrediaEdit1);
  ReadFloat(*w.StartDegEdit);  // From too, though only the sweep uses it
  WireMargin margin;
  margin.Shape = w.RoundMarginBox->isChecked() ? MarginShape::Round : MarginShape::Square;
  // An empty Stock field keeps the standard margin.
  if (!w.StockEdit->text().trimmed().isEmpty()) margin.Stock = ReadFloat(*w.StockEdit);
  const ToolPathSetUp setUp{resolution, wireDia, margin};
  BusyState::Scope busy(w.Busy);
  const Status s = SetUpToolPath(*w.DataModule1, w.session(), w.ModelView->Table, host_, setUp);
  if (!s) {
    host_.ShowMessage(s.message());
    return;
  }
  w.PosNcButton->setEnabled(false);
  w.ModelView->hide();
  const TDataModule1& store = *w.DataModule1;
  // Enlarged to fit the grids.
  if (store.Resolution != resolution) ShowValue(*w.ResuEdit, store.Resolution);
  ShowValue(*w.StartXEdit, store.BeginRange);
  ShowValue(*w.StartHeightEdit, store.StartHeight);
  ShowValue(*w.EndXEdit, store.EndRange);
  delete w.OutLineForm;  // an earlier set-up's, drawn to another raster
  w.OutLineForm = new TOutLineForm(host_, store, w, w.ToolWindowArea());
  w.OutLineForm->show();
  w.FocusedEditIndex = 5;
  w.ResuEdit->setEnabled(false);
  w.WrrediaEdit1->setEnabled(false);
  w.StockEdit->setEnabled(false);
  w.RoundMarginBox->setEnabled(false);
  w.StartButton->show();
  w.FollowSweptProgram();  // an earlier sweep's program was made on another raster
}

void ToolPathPanel::DefineStart() {
  TForm1& w = window_;
  const float startHeight = ReadFloat(*w.StartHeightEdit);
  const float beginRange = ReadFloat(*w.StartXEdit);
  const float endRange = ReadFloat(*w.EndXEdit);
  const Status s = DefineStartPosition(*w.DataModule1, startHeight, beginRange, endRange);
  if (!s) {
    host_.ShowMessage(s.message());
    return;
  }
  w.OutLineForm->FollowBar = false;
  w.OutLineForm->PlaceRangeMarkers();
}

void ToolPathPanel::Sweep() {
  TForm1& w = window_;
  if (w.DataModule1->ToolPathReady == 0) {
    host_.ShowMessage(kToolPathNotFound);
    return;
  }
  const float start = ReadFloat(*w.StartDegEdit);
  const float step = ReadFloat(*w.StepDegEdit);
  const SweepAngles angles{start, step, ReadFloat(*w.EndDegEdit)};
  w.DataModule1->PathTolerance = ReadFloat(*w.ToleranceEdit);
  // An empty field sweeps every Step, as 0 does.
  const SectionRequest request{
      w.AdaptiveEdit->text().trimmed().isEmpty() ? 0.0f : ReadFloat(*w.AdaptiveEdit), 0};
  ProgramReport check;
  std::optional<ChosenSections> chosen;
  {
    BusyState::Scope sweeping(w.Busy);
    MemoProgram program(w.session().Program, *w.NcLines);
    // The first section replaces the last program: what showed it goes then.
    bool replacing = true;
    const auto showSection = [&w, &replacing](float a) {
      if (replacing) w.CloseSweptProgramViews();
      replacing = false;
      w.OutLineForm->ShowSection(a);
    };
    const Status s = RunRequestedToolPath(*w.DataModule1, w.session(), w.ModelView->Table, host_,
                                          angles, request, program, {showSection, &check}, chosen);
    w.NcLines->Flush();
    w.FollowSweptProgram();
    if (!s) {
      host_.ShowMessage(s.message());
      return;
    }
  }
  // The facets have turned: the 3D view compiles them all again when it shows next.
  w.ModelView->Table.FirstNewFacet = 0;
  w.ModelView->BuildModelList();
  w.OutLineForm->Repaint();
  w.OutLineForm->ShowCheck(check);
  if (chosen) ShowChoice(*chosen, check.CuttingMinutes);
  if (Status s = OfferToSaveNcProgram(w.session().Program, host_); !s) {
    host_.ShowMessage(s.message());
  }
}

void ToolPathPanel::ShowChoice(const ChosenSections& chosen, double minutes) {
  TForm1& w = window_;
  std::vector<double> beyond;  // what all candidates' carving does not leave
  for (double left : chosen.Choice.Left) beyond.push_back(left - chosen.Choice.AllLeft);
  w.ChoicePlotView = new ChoicePlot(
      {beyond, ChoiceMinutes(chosen, minutes), chosen.Choice.Count, ChoiceSummary(chosen, minutes)},
      &w);
  const QRect area = w.ToolWindowArea();
  w.ChoicePlotView->move(area.right() - w.ChoicePlotView->width(), area.top());
  w.ChoicePlotView->show();
}

void ToolPathPanel::Resume() {
  TForm1& w = window_;
  if (Status s = OfferToSaveResumedProgram(w.session(), w.ResumeSectionEdit->value(), host_); !s) {
    host_.ShowMessage(s.message());
  }
}

void ToolPathPanel::ShowCarvedResult() {
  TForm1& w = window_;
  SweptCarving carving;
  Status s;
  {
    BusyState::Scope carvingScope(w.Busy);
    WaitCursor wait(host_);
    s = CarveSweptProgram(*w.DataModule1, w.session(), w.ModelView->Table, carving);
  }
  if (!s) {
    host_.ShowMessage(s.message());
    return;
  }
  delete w.CarvedResultView;  // an earlier carving's
  w.CarvedResultView = new CarvedView(host_, *w.DataModule1, std::move(carving), &w);
  w.CarvedResultView->OpenIn(w.ToolWindowArea());
}

}  // namespace vantora
