#include "app/main_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSpinBox>
#include <QTimer>

#include "common/appearance.h"
#include "common/controls.h"
#include "common/handlers.h"
#include "common/memo_appender.h"
#include "common/pictures.h"
#include "core/app/tool_path_commands.h"
#include "core/common/number_text.h"
#include "core/nc/nc_format.h"
#include "nc/machine_choice.h"
#include "nc/nc_format_dialog.h"
#include "toolpath/choice_plot.h"
#include "toolpath/outline_form.h"
#include "toolpath/tool_path_panel.h"
#include "view3d/carved_view.h"

namespace vantora {
namespace {

constexpr int kToolBarHeight = 73;
constexpr int kParameterPanelWidth = 289;
constexpr QSize kToolBarButton{56, 57};
constexpr QSize kPanelButton{56, 48};
constexpr int kDimensionPicture = 60;
constexpr int kDesignedWidth = 1099;
// The client height the layout is designed for; a shorter screen scrolls it.
constexpr int kDesignedClientHeight = 750;
// Below this client height parts of the layout do not show.
constexpr int kLowestUsableClientHeight = 720;

QWidget* ButtonRow(QWidget* parent) {
  auto* row = new QWidget(parent);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(4);
  return row;
}

QLabel* DimensionLabel(QWidget* parent, const char* name, const QColor& color) {
  QLabel* label = MakeLabel(parent, name, QStringLiteral("0.000"), FormFont(16));
  SetTextColor(*label, color);
  label->setMinimumWidth(70);
  return label;
}

}  // namespace

TForm1::TForm1(Host& host, QWidget* parent) : QWidget(parent), host_(host) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Form1"));
  setFont(FormFont(11));
  SetBackground(*this, kInactiveCaption);
  resize(kDesignedWidth, kDesignedClientHeight);

  auto* scroller = new QScrollArea(this);
  scroller->setFrameShape(QFrame::NoFrame);
  scroller->setWidgetResizable(true);
  client_ = new QWidget;
  SetBackground(*client_, kInactiveCaption);
  scroller->setWidget(client_);
  auto* frame = new QVBoxLayout(this);
  frame->setContentsMargins(0, 0, 0, 0);
  frame->addWidget(scroller);

  auto* clientLayout = new QVBoxLayout(client_);
  clientLayout->setContentsMargins(0, 0, 0, 0);
  clientLayout->setSpacing(0);
  BuildToolBar(client_);
  clientLayout->addWidget(Panel12);
  auto* below = new QHBoxLayout;
  below->setSpacing(0);
  clientLayout->addLayout(below, 1);
  BuildParameterPanel(client_);
  below->addWidget(Panel1);
  auto* workspace = new QWidget(client_);
  below->addWidget(workspace, 1);
  BuildTouchPointPanel(workspace);

  Timer2 = MakeControl<QTimer>(this, "Timer2");
  Timer2->setInterval(1000);
  NcLines = new MemoAppender(*Memo1);
  toolPath_ = std::make_unique<ToolPathPanel>(*this, host_);
  BindHandlers();
  Timer2->start();
  FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::BuildToolBar(QWidget* client) {
  Panel12 = MakePanel(client, "Panel12", kSilver);
  Panel12->setFixedHeight(kToolBarHeight);
  auto* layout = new QHBoxLayout(Panel12);
  layout->setContentsMargins(6, 4, 6, 4);
  layout->setSpacing(6);

  QWidget* buttons = ButtonRow(Panel12);
  OpenFileButton = MakeSpeedButton(buttons, "OpenFileButton", OpenFilePicture(),
                                   QStringLiteral("Open *.stl *.sca"), kToolBarButton);
  SaveDfButtom = MakeSpeedButton(buttons, "SaveDfButtom", SaveModelPicture(),
                                 QStringLiteral("Save Text/Binary.stl"), kToolBarButton);
  SpeedButton1 = MakeSpeedButton(buttons, "SpeedButton1", TouchPointPicture(),
                                 QStringLiteral("Set Trouch Point size"), kToolBarButton);
  FormatButton = MakeSpeedButton(buttons, "FormatButton", NcFormatPicture(),
                                 QStringLiteral("Define  nc forma"), kToolBarButton);
  PosNcButton = MakeSpeedButton(buttons, "PosNcButton", ToolPathPicture(),
                                QStringLiteral("Tool Path"), kToolBarButton);
  Machine = new MachineChoice(host_, session_.Machine, buttons);
  for (QWidget* b : std::initializer_list<QWidget*>{OpenFileButton, SaveDfButtom, SpeedButton1,
                                                    FormatButton, Machine, PosNcButton}) {
    buttons->layout()->addWidget(b);
  }
  SaveDfButtom->setEnabled(false);
  PosNcButton->hide();
  Busy.AddGate(buttons);
  layout->addWidget(buttons);
  layout->addSpacing(24);

  XImage = MakeImage(Panel12, "XImage", AxisPicture(Axis::X, kDimensionPicture));
  XLabel = DimensionLabel(Panel12, "XLabel", kRed);
  YImage = MakeImage(Panel12, "YImage", AxisPicture(Axis::Y, kDimensionPicture));
  YLabel = DimensionLabel(Panel12, "YLabel", kGreen);
  ZImage = MakeImage(Panel12, "ZImage", AxisPicture(Axis::Z, kDimensionPicture));
  ZLabel = DimensionLabel(Panel12, "ZLabel", Qt::black);
  RImage = MakeImage(Panel12, "RImage", DiameterPicture(kDimensionPicture));
  DiaLabel = DimensionLabel(Panel12, "DiaLabel", Qt::black);
  for (QWidget* w : std::initializer_list<QWidget*>{XImage, XLabel, YImage, YLabel, ZImage,
                                                    ZLabel, RImage, DiaLabel}) {
    layout->addWidget(w);
    w->hide();
  }

  ScaBar = MakeControl<QProgressBar>(Panel12, "ScaBar");
  ScaBar->setFixedSize(358, 25);
  ScaBar->hide();
  layout->addWidget(ScaBar);
  layout->addStretch(1);
}

void TForm1::BuildParameterPanel(QWidget* client) {
  Panel1 = MakePanel(client, "Panel1", kSilver);
  Panel1->setFixedWidth(kParameterPanelWidth);
  Panel1->hide();
  auto* layout = new QVBoxLayout(Panel1);
  auto* grid = new QGridLayout;
  layout->addLayout(grid);

  const QFont bold = FormFont(11, true);
  const auto row = [&](int r, const char* labelName, const char* caption, QLineEdit*& edit,
                       const char* editName, const char* text) {
    grid->addWidget(MakeLabel(Panel1, labelName, QString::fromLatin1(caption), bold), r, 0);
    edit = MakeEdit(Panel1, editName, QString::fromLatin1(text));
    grid->addWidget(edit, r, 1);
  };
  row(0, "Label1", "Resolution", ResuEdit, "ResuEdit", "0.2");
  row(1, "Label2", "Wire Dia", WrrediaEdit1, "WrrediaEdit1", "1.00");
  row(2, "Label3", "From", StartDegEdit, "StartDegEdit", "0.00");
  row(3, "Label4", "To", EndDegEdit, "EndDegEdit", "0.00");
  grid->addWidget(MakeLabel(Panel1, "Label5", QStringLiteral("deg"), bold), 3, 2);
  row(4, "Label6", "Section deg", StepDegEdit, "StepDegEdit", "5.00");
  row(5, "Label7", "Start height", StartHeightEdit, "StartHeightEdit", "0.00");
  row(6, "Label8", "Begin Range", StartXEdit, "StartXEdit", "0.00");
  row(7, "Label9", "End Range", EndXEdit, "EndXEdit", "0.00");
  row(8, "Label10", "Tolerance", ToleranceEdit, "ToleranceEdit", "0.00");
  grid->addWidget(MakeLabel(Panel1, "Label11", QStringLiteral("mm"), bold), 8, 2);
  row(9, "Label12", "Stock", StockEdit, "StockEdit", "");
  StockEdit->setPlaceholderText(QStringLiteral("standard"));
  grid->addWidget(MakeLabel(Panel1, "Label13", QStringLiteral("mm"), bold), 9, 2);
  RoundMarginBox = MakeControl<QCheckBox>(Panel1, "RoundMarginBox");
  RoundMarginBox->setText(QStringLiteral("Round margin"));
  RoundMarginBox->setFont(bold);
  grid->addWidget(RoundMarginBox, 10, 0, 1, 2);
  row(11, "Label14", "Adaptive", AdaptiveEdit, "AdaptiveEdit", "");
  grid->addWidget(MakeLabel(Panel1, "Label15", QStringLiteral("mm"), bold), 11, 2);
  grid->setColumnStretch(1, 1);

  QWidget* buttons = ButtonRow(Panel1);
  StartButton = MakeSpeedButton(buttons, "StartButton", StartPositionPicture(),
                                QStringLiteral("Define start position"), kPanelButton);
  PosWireButton = MakeSpeedButton(buttons, "PosWireButton", WirePathPicture(), {}, kPanelButton);
  StepButton = MakeSpeedButton(buttons, "StepButton", ClearProgramPicture(), {}, kPanelButton);
  CarvedButton = MakeSpeedButton(buttons, "CarvedButton", CarvedResultPicture(),
                                 QStringLiteral("Carved result"), kPanelButton);
  for (QToolButton* b : {StartButton, PosWireButton, StepButton, CarvedButton}) {
    buttons->layout()->addWidget(b);
  }
  StartButton->hide();
  CarvedButton->setEnabled(false);
  Busy.AddGate(buttons);
  layout->addWidget(buttons, 0, Qt::AlignLeft);

  QWidget* resume = ButtonRow(Panel1);
  ResumeButton = MakeControl<QPushButton>(resume, "ResumeButton");
  ResumeButton->setText(QStringLiteral("Resume from section"));
  ResumeButton->setFont(bold);
  ResumeSectionEdit = MakeControl<QSpinBox>(resume, "ResumeSectionEdit");
  ResumeSectionEdit->setRange(1, 1'000'000);
  ResumeSectionEdit->setFont(bold);
  resume->layout()->addWidget(ResumeButton);
  resume->layout()->addWidget(ResumeSectionEdit);
  Busy.AddGate(resume);
  layout->addWidget(resume, 0, Qt::AlignLeft);

  Memo1 = MakeControl<QPlainTextEdit>(Panel1, "Memo1");
  Memo1->setFont(bold);
  SetTextColor(*Memo1, kBlue);
  SetBase(*Memo1, kWindowColor);
  Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
  // The program shown is the program saved: it changes only through the commands.
  Memo1->setReadOnly(true);
  Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  layout->addWidget(Memo1, 1);
}

void TForm1::BuildTouchPointPanel(QWidget* workspace) {
  Panel2 = MakePanel(workspace, "Panel2", kSilver);
  Panel2->setGeometry(8, 8, 230, 64);
  auto* layout = new QHBoxLayout(Panel2);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->addWidget(MakeImage(Panel2, "Image1", ProbePicture(48)));
  ToolSizeEdit = MakeEdit(Panel2, "ToolSizeEdit", {});
  layout->addWidget(ToolSizeEdit);
  BitBtn1 = MakeControl<QPushButton>(Panel2, "BitBtn1");
  BitBtn1->setText(QStringLiteral("OK"));
  layout->addWidget(BitBtn1);
  Panel2->hide();
}

void TForm1::BindHandlers() {
  BindHandler(host_, OpenFileButton, &QToolButton::clicked, this, &TForm1::OpenFileButtonClick);
  BindHandler(host_, SaveDfButtom, &QToolButton::clicked, this, &TForm1::SaveDfButtomClick);
  BindHandler(host_, SpeedButton1, &QToolButton::clicked, this, &TForm1::SpeedButton1Click);
  BindHandler(host_, FormatButton, &QToolButton::clicked, this, &TForm1::FormatButtonClick);
  BindHandler(host_, PosNcButton, &QToolButton::clicked, toolPath_.get(), &ToolPathPanel::SetUp);
  BindHandler(host_, StartButton, &QToolButton::clicked, toolPath_.get(),
              &ToolPathPanel::DefineStart);
  BindHandler(host_, PosWireButton, &QToolButton::clicked, toolPath_.get(), &ToolPathPanel::Sweep);
  BindHandler(host_, StepButton, &QToolButton::clicked, this, &TForm1::StepButtonClick);
  BindHandler(host_, CarvedButton, &QToolButton::clicked, toolPath_.get(),
              &ToolPathPanel::ShowCarvedResult);
  BindHandler(host_, ResumeButton, &QPushButton::clicked, toolPath_.get(),
              &ToolPathPanel::Resume);
  BindHandler(host_, BitBtn1, &QPushButton::clicked, this, &TForm1::BitBtn1Click);
  BindHandler(host_, Timer2, &QTimer::timeout, this, &TForm1::Timer2Timer);
  BindEnter(host_, ResuEdit, this, &TForm1::ResuEditEnter);
  BindEnter(host_, WrrediaEdit1, this, &TForm1::WrrediaEdit1Enter);
  BindEnter(host_, StartDegEdit, this, &TForm1::StartDegEditEnter);
  BindEnter(host_, EndDegEdit, this, &TForm1::EndDegEditEnter);
  BindEnter(host_, StepDegEdit, this, &TForm1::StepDegEditEnter);
  BindEnter(host_, StartHeightEdit, this, &TForm1::StartHeightEditEnter);
}

void TForm1::FormCreate() {
  ChildWindowOffset = Panel1->width();
  client_->setMinimumHeight(kDesignedClientHeight);
  session_.Format = LoadNcFormat(kNcIniName);
  Machine->ReadSettings();
  session_.TouchPointSize = ReadTouchPointSize(SettingsFileName);
  const ToolPathSettings toolPath = ReadToolPathSettings(ToleranceFileName);
  ToleranceEdit->setText(QString::fromStdString(FloatToText(toolPath.Tolerance)));
  if (toolPath.Margin.Stock) {
    StockEdit->setText(QString::fromStdString(FloatToText(*toolPath.Margin.Stock)));
  }
  RoundMarginBox->setChecked(toolPath.Margin.Shape == MarginShape::Round);
  if (toolPath.Adaptive != 0) {
    AdaptiveEdit->setText(QString::fromStdString(FloatToText(toolPath.Adaptive)));
  }
  setWindowTitle(QStringLiteral("Orvelline"));
}

void TForm1::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // Checked once the window system has given the shown window its size.
  if (!event->spontaneous()) {
    QTimer::singleShot(0, this, [this] { RunHandler(host_, [this] { FormShow(); }); });
  }
}

void TForm1::FormShow() {
  if (height() < kLowestUsableClientHeight) {
    host_.ShowMessage("Screen tool samall,Some display  error!");
  }
}

void TForm1::closeEvent(QCloseEvent* event) {
  RunHandler(host_, [this] { FormCloseQuery(); });
  event->accept();
  FormClose();
}

void TForm1::FormCloseQuery() {
  // A size that cannot be kept is worth saying before the program ends.
  if (Status s = WriteTouchPointSize(SettingsFileName, session_.TouchPointSize); !s) {
    host_.ShowMessage(s.message());
  }
  const auto tolerance = ParseFloatText(ToleranceEdit->text().toStdString());
  if (!tolerance) return;  // nothing worth keeping was typed
  ToolPathSettings toolPath{*tolerance, {}};
  toolPath.Margin.Shape = RoundMarginBox->isChecked() ? MarginShape::Round : MarginShape::Square;
  // A stock that is no length is not kept: the field comes back empty, the standard margin.
  const auto stock = ParseFloatText(StockEdit->text().toStdString());
  if (stock && *stock >= 0) toolPath.Margin.Stock = *stock;
  // So is a deviation: the field comes back empty, every Step swept.
  const auto adaptive = ParseFloatText(AdaptiveEdit->text().toStdString());
  if (adaptive && *adaptive >= 0) toolPath.Adaptive = *adaptive;
  if (Status s = WriteToolPathSettings(ToleranceFileName, toolPath); !s) {
    host_.ShowMessage(s.message());
  }
}

void TForm1::FormClose() { emit Closed(); }

void TForm1::ModelTurned(const TurnedDimensions& sizes) {
  ShowDimensions(sizes.X, sizes.Y, sizes.Z, sizes.Diameter);
}

void TForm1::ShowDimensions(float x, float y, std::optional<float> z,
                            std::optional<float> diameter) {
  for (QLabel* image : {XImage, YImage, ZImage}) image->show();
  const auto write = [](QLabel* label, float value) {
    label->setText(QString::fromStdString(FloatToText(value)));
    label->show();
  };
  write(XLabel, x);
  write(YLabel, y);
  if (z) write(ZLabel, *z);
  if (diameter) {
    RImage->show();
    write(DiaLabel, *diameter);
  }
}

QLineEdit* TForm1::GuidedField(int index) const {
  switch (index) {
    case 0: return ResuEdit;
    case 1: return WrrediaEdit1;
    case 5: return StartDegEdit;
    case 6: return EndDegEdit;
    case 7: return StepDegEdit;
    case 8: return StartHeightEdit;
    default: return nullptr;
  }
}

void TForm1::Timer2Timer() {
  if (QLineEdit* field = GuidedField(FocusedEditIndex)) {
    SetBase(*field, BlinkPhase ? kWindowColor : kSkyBlue);
  }
  BlinkPhase = !BlinkPhase;
}

void TForm1::EnterGuidedField(QLineEdit* field, int nextIndex) {
  SetBase(*field, kSkyBlue);
  FocusedEditIndex = nextIndex;
}

// Resolution and Wire Dia first; after the tool-path set-up, From, To, Section deg
// and Start height. Indices 2, 3, 4 and 9 name no field: nothing blinks.
void TForm1::ResuEditEnter() { EnterGuidedField(ResuEdit, 1); }
void TForm1::WrrediaEdit1Enter() { EnterGuidedField(WrrediaEdit1, 3); }
void TForm1::StartDegEditEnter() { EnterGuidedField(StartDegEdit, 6); }
void TForm1::EndDegEditEnter() { EnterGuidedField(EndDegEdit, 7); }
void TForm1::StepDegEditEnter() { EnterGuidedField(StepDegEdit, 8); }
void TForm1::StartHeightEditEnter() { EnterGuidedField(StartHeightEdit, 9); }

void TForm1::FormatButtonClick() {
  TForm4 dialog(host_, session_.Format, this);
  dialog.exec();
}

void TForm1::SpeedButton1Click() {
  SpeedButton1->setEnabled(false);
  Panel2->show();
  ToolSizeEdit->setText(QString::fromStdString(FloatToText(session_.TouchPointSize)));
}

void TForm1::BitBtn1Click() {
  Panel2->hide();
  SpeedButton1->setEnabled(true);
  session_.TouchPointSize = ReadFloat(*ToolSizeEdit);
}

void TForm1::StepButtonClick() {
  NcLines->Flush();
  Memo1->clear();
  ClearNcProgram(session_);
  FollowSweptProgram();
}

void TForm1::FollowSweptProgram() {
  const bool swept = session_.SweptMotion.has_value();
  CarvedButton->setEnabled(swept);
  if (!swept) CloseSweptProgramViews();
}

void TForm1::CloseSweptProgramViews() {
  delete CarvedResultView;
  CarvedResultView = nullptr;
  delete ChoicePlotView;
  ChoicePlotView = nullptr;
  if (OutLineForm) OutLineForm->HideCheck();
}

QRect TForm1::ToolWindowArea() const {
  const QPoint topLeft = mapToGlobal(QPoint(ChildWindowOffset + 5, kToolBarHeight + 5));
  const QPoint bottomRight = mapToGlobal(QPoint(width() - 1, height() - 1));
  return QRect(topLeft, bottomRight).intersected(screen()->availableGeometry());
}

}  // namespace vantora
