#pragma once

#include <QWidget>
#include <memory>
#include <optional>
#include <string>

#include "core/common/host.h"
#include "core/app/session.h"
#include "core/app/tool_path_settings.h"
#include "core/app/touch_point_settings.h"
#include "common/busy_state.h"
#include "view3d/model_view_host.h"
#include "core/model/data_module.h"

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QScrollArea;
class QSpinBox;
class QTimer;
class QToolButton;

namespace vantora {

class CarvedView;
class ChoicePlot;
class MachineChoice;
class MemoAppender;
class ToolPathPanel;
class TOpenGL_Form;
class TOutLineForm;

// What a file dialog is opened with: the filter list ("caption|pattern|..."), the
// entry selected (from 1) and the extension added to a name typed without one.
struct FileDialogSetup {
  std::string Filter;
  int FilterIndex = 1;
  std::string DefaultExt;
};

// The main window: the tool bar across the top, the parameter panel on the left, the
// touch-point panel, the guided input that makes the next field to fill blink, and
// the settings files read at creation and written at closing. Controls are public
// and named as in the form description; handlers keep the framework's names.
class TForm1 : public QWidget, public ModelViewHost {
  Q_OBJECT

 public:
  // Builds the window from its description, then runs FormCreate. Messages go to
  // `host`; the settings files are read from and written to the current directory.
  explicit TForm1(Host& host, QWidget* parent = nullptr);
  ~TForm1() override;

  // The NC format, touch-point size, import counter and output rates of this run.
  Session& session() { return session_; }

  // The model store. Start-up creates it after this window and sets it here before
  // the event loop runs, so construction and FormCreate must not use it.
  TDataModule1* DataModule1 = nullptr;

  int FocusedEditIndex = 0;  // the parameter field that blinks; see GuidedField
  bool BlinkPhase = false;
  int ChildWindowOffset = 0;  // left edge, less 5 pixels, of new model windows
  // The 3D view of the current model: null until the first import. Every view has
  // this window as its owner and stays open until the program ends.
  TOpenGL_Form* ModelView = nullptr;
  // The tool-path window: null until the first tool-path set-up, which creates it.
  TOutLineForm* OutLineForm = nullptr;
  // What the last sweep's program will cut: null until the carved result is asked for,
  // and again once that program is gone (CloseSweptProgramViews).
  CarvedView* CarvedResultView = nullptr;
  ChoicePlot* ChoicePlotView = nullptr;  // after a sweep of chosen sections
  std::string SettingsFileName = kTouchPointSettingsName;
  std::string ToleranceFileName = kToleranceSettingsName;

  // Long operations enter a scope of it; it disables the buttons that would start a
  // second one meanwhile.
  BusyState Busy;
  // The NC program's way into Memo1.
  MemoAppender* NcLines = nullptr;

  FileDialogSetup OpenDialog{"*.sca|*.sca|*.stl|*.stl| | ", 2, ""};
  FileDialogSetup SaveNCDialog{"*.nc|*.nc|*.*|*.*", 1, "*.nc"};
  FileDialogSetup SaveDxfDialog{"binary*.stl|*.stl|text.stl|*.stl", 1, "*.stl"};

  // Tool bar.
  QFrame* Panel12;
  QToolButton* OpenFileButton;
  QToolButton* SaveDfButtom;
  QToolButton* SpeedButton1;
  QToolButton* FormatButton;
  MachineChoice* Machine;  // beside FormatButton: the machine programs are written for
  QToolButton* PosNcButton;
  QLabel* XImage;
  QLabel* YImage;
  QLabel* ZImage;
  QLabel* RImage;
  QLabel* XLabel;
  QLabel* YLabel;
  QLabel* ZLabel;
  QLabel* DiaLabel;
  QProgressBar* ScaBar;

  // Parameter panel.
  QFrame* Panel1;
  QLineEdit* ResuEdit;
  QLineEdit* WrrediaEdit1;
  QLineEdit* StartDegEdit;
  QLineEdit* EndDegEdit;
  QLineEdit* StepDegEdit;
  QLineEdit* ToleranceEdit;
  QLineEdit* AdaptiveEdit;  // mm; empty or 0 sweeps every Step
  QLineEdit* StockEdit;         // empty: the standard margin
  QCheckBox* RoundMarginBox;
  QLineEdit* StartHeightEdit;
  QLineEdit* StartXEdit;
  QLineEdit* EndXEdit;
  QToolButton* StartButton;
  QToolButton* PosWireButton;
  QToolButton* StepButton;
  QToolButton* CarvedButton;  // enabled while a sweep's program is there to carve
  QPushButton* ResumeButton;  // the memo's program from the section in ResumeSectionEdit
  QSpinBox* ResumeSectionEdit;
  QPlainTextEdit* Memo1;

  // Touch-point panel.
  QFrame* Panel2;
  QLineEdit* ToolSizeEdit;
  QPushButton* BitBtn1;

  QTimer* Timer2;  // blinks the field named by FocusedEditIndex

  // Writes the model's sizes beside their pictures and shows both; a Z size not
  // given leaves its label as it was, and without a diameter its picture and label
  // stay as they were.
  void ShowDimensions(float x, float y, std::optional<float> z,
                      std::optional<float> diameter);

  // What the 3D views ask of the main window.
  TDataModule1& ModelStore() override { return *DataModule1; }
  int OpenedScans() const override { return session_.ScanFileCount; }
  ModelTurnRequest& ImportTurn() override { return session_.ImportTurn; }
  BusyState& Operations() override { return Busy; }
  QRect ViewArea() const override { return {ChildWindowOffset, 0, width(), height()}; }
  void ModelTurned(const TurnedDimensions& sizes) override;
  void InsertRequested() override { OpenFileButtonClick(); }

  // The field that FocusedEditIndex names, or null.
  QLineEdit* GuidedField(int index) const;

  void FormCreate();
  void FormShow();
  void FormCloseQuery();
  void FormClose();
  void Timer2Timer();
  void ResuEditEnter();
  void WrrediaEdit1Enter();
  void StartDegEditEnter();
  void EndDegEditEnter();
  void StepDegEditEnter();
  void StartHeightEditEnter();
  void FormatButtonClick();
  void SpeedButton1Click();
  void BitBtn1Click();
  void StepButtonClick();
  // Follows the session's swept program: CarvedButton is enabled while there is one to
  // carve, and once it is gone what showed it closes (CloseSweptProgramViews).
  void FollowSweptProgram();
  // Closes what shows the last sweep's program, the carved-result window and the
  // check's line under the section: that program is gone or being replaced.
  void CloseSweptProgramViews();
  // Where a tool window opens: right of the parameter panel and below the tool bar, in
  // screen coordinates, within the screen's available area.
  QRect ToolWindowArea() const;

  // The open-file flow (open_file_flow.cpp): asks for a file in OpenDialog and
  // imports it by the filter entry chosen.
  void OpenFileButtonClick();
  // Imports `choice` as if it had been chosen in OpenDialog: 1 scan, 2 STL, and the
  // blank third entry reads nothing.
  void OpenFile(const FileChoice& choice);
  // A file named on the command line: under the filter entry its name matches.
  void OpenNamedFile(const std::string& path);
  // Saves the model of ModelView as binary or text STL (save_stl_flow.cpp).
  void SaveDfButtomClick();

 signals:
  // The window has closed; the program ends.
  void Closed();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildToolBar(QWidget* client);
  void BuildParameterPanel(QWidget* client);
  void BuildTouchPointPanel(QWidget* workspace);
  void BindHandlers();
  // Paints the entered field sky blue and names the field to blink next.
  void EnterGuidedField(QLineEdit* field, int nextIndex);
  // The branches of the open-file flow; false when the file was not imported.
  bool ImportStl(const std::string& path);
  bool ImportScan(const std::string& path, int& repairedPoints);

  Host& host_;
  Session session_;
  std::unique_ptr<ToolPathPanel> toolPath_;
  QWidget* client_;  // what the automatic scroll bars scroll
};

}  // namespace vantora
