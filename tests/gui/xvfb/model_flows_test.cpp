// Opening and saving models through the real windows, on an X server: the scripted
// host chooses the files, the filter entries and the answers; the views draw with
// OpenGL. Saved files are compared with what vantora-cli writes for the same inputs.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <sstream>

#include "cli_app.h"
#include "frame_testing.h"
#include "mesh/import_dialog.h"
#include "mesh/scale_dialog.h"
#include "stl_builder.h"

namespace vantora {
namespace {

using namespace testing;

constexpr int kScanEntry = 1, kStlEntry = 2, kBlankEntry = 3;
constexpr int kBinaryEntry = 1, kTextEntry = 2;

// 4 x 3 points 0.5 mm apart, 1 to 3 mm high: twelve facets.
constexpr std::string_view kBump =
    "500,1000,2000,2000,1000,\n1000,3000,3000,1000,\n1000,2000,2000,1000,\n";
// A second line two points short: two points repaired.
constexpr std::string_view kShortLine = "100,5,6,7,\n8,9,\n";
// 5 x 5 points 1 mm apart, all 1 mm high: a flat sheet over 4 x 4 mm.
constexpr std::string_view kSheet =
    "1000,1000,1000,1000,1000,1000,\n1000,1000,1000,1000,1000,\n1000,1000,1000,1000,1000,\n"
    "1000,1000,1000,1000,1000,\n1000,1000,1000,1000,1000,\n";

// A facet of the model, lit on either side (the floor grid is pure green or red).
bool IsModel(QColor c) { return IsFrontLit(c) || IsBackLit(c); }

class ModelFlowTest : public StartedApplicationTest {
 protected:
  TOpenGL_Form* view() { return form().ModelView; }
  QList<TOpenGL_Form*> Views() { return form().findChildren<TOpenGL_Form*>(); }

  // A file in the test's directory.
  std::string Model(const char* name, std::string_view content) {
    WriteFile(dir.File(name), content);
    return dir.File(name);
  }
  std::string Box() { return Model("box.stl", TextStl(BoxFacets({10, -4, 5}, {30, 6, 15}))); }

  // The operator chooses `path` under `entry` in the open dialog.
  void Open(const std::string& path, int entry) {
    host.openFiles.push_back({path, entry});
    form().OpenFileButton->click();
  }
  // The insert button of `into`; `choose` presses the import dialog's buttons, then OK.
  void Insert(TOpenGL_Form& into, const std::string& path, int entry,
              std::function<void(TForm3&)> choose = {}) {
    WhenModal([choose](QWidget& window) {
      auto& dialog = dynamic_cast<TForm3&>(window);
      if (choose) choose(dialog);
      dialog.OKButton->click();
    });
    host.openFiles.push_back({path, entry});
    into.InSetButton->click();
  }
  // Saves under `entry` of the save dialog with the three rates typed in the scale
  // dialog.
  void Save(const std::string& path, int entry, const char* x, const char* y, const char* z) {
    WhenModal([x, y, z](QWidget& window) {
      auto& dialog = dynamic_cast<TForm2&>(window);
      dialog.XRateEdit->setText(QLatin1String(x));
      dialog.YRateEdit->setText(QLatin1String(y));
      dialog.ZRateEdit->setText(QLatin1String(z));
      dialog.OKButtom->click();
    });
    host.saveFiles.push_back({path, entry});
    form().SaveDfButtom->click();
  }
  // What vantora-cli writes for `args`.
  std::string CliOutput(std::vector<std::string> args) {
    std::ostringstream out, err;
    const std::string path = dir.File("cli-output.stl");
    args.insert(args.end(), {"-o", path});
    EXPECT_EQ(RunCli(args, out, err), kExitOk) << err.str();
    return ReadFile(path);
  }
  QImage Frame(const char* name) {
    EXPECT_TRUE(QTest::qWaitForWindowExposed(view()));
    return Grab(*view(), name);
  }
  bool Shown(const char* name) { return !Find(name)->isHidden(); }
  // The sizes of the placed model the main window shows.
  std::vector<std::string> Sizes() {
    std::vector<std::string> shown;
    for (const char* label : {"XLabel", "YLabel", "ZLabel", "DiaLabel"}) {
      if (Shown(label)) shown.push_back(Find<QLabel>(label)->text().toStdString());
    }
    return shown;
  }
};

using Texts = std::vector<std::string>;

// The filter entry decides how a file is read, not its name. An STL model is placed
// (centred, on the platform, 10 mm to a view unit) and can have a tool path set up; a
// scan view takes further files, and a scan has no tool path. What the two imports do
// to the model and the store is checked in the core tests.
TEST_F(ModelFlowTest, OpenedModelIsShownMeasuredAndDrawn) {
  const struct {
    const char* name;
    std::string content;
    int entry;
    Texts sizes;
    bool scan;
    Vec3 onModel, beside;  // in mm
    bool (*looks)(QColor);
    int radius;
  } rows[] = {
      // The placed box's front face, and the ground above it.
      {"box.sca", TextStl(BoxFacets({10, -4, 5}, {30, 6, 15})), kStlEntry,
       {"20.000", "10.000", "10.000", "26.420"}, false, {0, -5, 5}, {0, -5, 14}, IsFrontLit, 0},
      // The bump's top, 3 mm over its middle, seen from the front.
      {"bump.stl", std::string(kBump), kScanEntry, {"1.500", "1.000", "3.000"}, true,
       {0, 0, 2.9f}, {}, IsModel, 2},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    Restart();
    host.questions.clear();
    const std::string path = Model(r.name, r.content);
    Open(path, r.entry);
    ASSERT_NE(view(), nullptr);
    EXPECT_EQ(form().windowTitle().toStdString(), path);
    EXPECT_EQ(host.questions.size(), r.scan ? 0u : 1u);  // "Move to platform ?"
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(Sizes(), r.sizes);
    // Further files only through a scan view's insert button.
    EXPECT_FALSE(form().OpenFileButton->isEnabled());
    EXPECT_EQ(view()->InSetButton->isEnabled(), r.scan);
    EXPECT_TRUE(form().SaveDfButtom->isEnabled());
    EXPECT_EQ(Shown("PosNcButton"), !r.scan);
    EXPECT_EQ(form().SpeedButton1->isEnabled(), !r.scan);

    const float unit = store().ViewDistance;
    const auto units = [unit](Vec3 mm) { return Vec3{mm[0] / unit, mm[1] / unit, mm[2] / unit}; };
    const QImage frame = Frame(r.scan ? "bump" : "box");
    EXPECT_TRUE(Near(frame, At(*view(), units(r.onModel)), r.looks, r.radius));
    if (!r.scan) {
      EXPECT_TRUE(Near(frame, At(*view(), units(r.beside)), IsBlack, 0));
    }
  }
}

// Cancel to "Move to platform ?": nothing placed, so no sizes to show.
TEST_F(ModelFlowTest, CancelOnMoveToPlatformShowsNoSizes) {
  host.answers.push_back(false);
  Open(Box(), kStlEntry);
  ASSERT_NE(view(), nullptr);
  EXPECT_EQ(Sizes(), Texts{});
}

TEST_F(ModelFlowTest, SecondScanThroughTheInsertButtonAfterTheZMirror) {
  const std::string bump = Model("bump.sca", kBump);
  Open(bump, kScanEntry);
  ASSERT_NE(view(), nullptr);
  TOpenGL_Form& first = *view();
  Insert(first, bump, kScanEntry, [](TForm3& d) { d.ZMirrorButton->click(); });
  EXPECT_EQ(Views(), QList<TOpenGL_Form*>{&first});
  EXPECT_EQ(form().session().ScanFileCount, 1);
  EXPECT_EQ(first.Table.FacetCount, 24);
  // Both drawn: the bump on the platform and its mirror image below it (a point
  // between the first two lines, 2.5 mm up or down), seen from the front, zoomed out.
  // The mirrored facets themselves are checked in the core tests.
  const float unit = store().ViewDistance;
  first.Navigation->ZoomOutButton->click();
  first.Navigation->ZoomOutButton->click();
  const QImage frame = Frame("mirrored");
  const Vec3 below{0, -0.25f / unit, -2.5f / unit};
  EXPECT_TRUE(Near(frame, At(first, {0, -0.25f / unit, 2.5f / unit}), IsModel));
  EXPECT_TRUE(Near(frame, At(first, below), IsModel));
  EXPECT_TRUE(host.messages.empty());

  // An STL model opened through this view's insert button goes into a view of its
  // own; this one goes on showing both scans.
  Insert(first, Box(), kStlEntry);
  EXPECT_NE(view(), &first);
  EXPECT_EQ(form().session().ScanFileCount, 0);
  first.update();
  EXPECT_TRUE(Near(Grab(first, "after-stl"), At(first, below), IsModel));
}

TEST_F(ModelFlowTest, SomeDataErrorOnceForARepairedScanAndNotForTheNext) {
  Open(Model("short.sca", kShortLine), kScanEntry);
  EXPECT_EQ(host.messages, Texts{"Some data error"});
  ASSERT_NE(view(), nullptr);
  Insert(*view(), Model("bump.sca", kBump), kScanEntry);
  EXPECT_EQ(host.messages, Texts{"Some data error"});
}

// A turn chosen in the import dialog turns the model already in the view as well as
// the added scan, and both are drawn turned.
TEST_F(ModelFlowTest, TurnOnInsertTurnsTheFirstModelOnScreenToo) {
  const std::string sheet = Model("sheet.sca", kSheet);
  Open(sheet, kScanEntry);
  ASSERT_NE(view(), nullptr);
  TOpenGL_Form& v = *view();
  v.Navigation->TopButton->click();
  const float unit = store().ViewDistance;
  // The sheet lies 1 mm over the platform, 4 x 4 mm.
  const Vec3 onSheet{0, 1.5f / unit, 1 / unit};
  EXPECT_TRUE(Near(Frame("flat"), At(v, onSheet), IsModel, 0));

  Insert(v, sheet, kScanEntry, [](TForm3& d) {
    d.RoteXButton->click();
    d.DegEdit->setText(QStringLiteral("90"));
  });
  ASSERT_EQ(v.Table.FacetCount, 64);
  // Turned about X the sheets stand upright at y = -1 mm: seen from above, an edge.
  EXPECT_TRUE(Near(Frame("turned-top"), At(v, onSheet), IsBlack, 0));
  v.Navigation->YLessButton->click();
  EXPECT_TRUE(Near(Frame("turned-front"), At(v, {0, -1 / unit, 1.5f / unit}), IsModel, 0));
}

TEST_F(ModelFlowTest, SavesEqualWhatTheBatchToolWrites) {
  const std::string box = Box();
  Open(box, kStlEntry);
  Save(dir.File("binary.stl"), kBinaryEntry, "2", "1", "0.5");
  Save(dir.File("text.stl"), kTextEntry, "2", "1", "0.5");
  EXPECT_EQ(host.messages, (Texts{"Finish", "Finish"}));
  EXPECT_EQ(ReadFile(dir.File("binary.stl")), CliOutput({"stl", box, "--rates", "2", "1", "0.5"}));
  EXPECT_EQ(ReadFile(dir.File("text.stl")),
            CliOutput({"stl", box, "--rates", "2", "1", "0.5", "--text"}));

  // The scale dialog closed without OK: the previous rates again.
  WhenModal([](QWidget& window) { window.close(); });
  host.saveFiles.push_back({dir.File("again.stl"), kBinaryEntry});
  form().SaveDfButtom->click();
  EXPECT_EQ(ReadFile(dir.File("again.stl")), ReadFile(dir.File("binary.stl")));
  form().SaveDfButtom->click();  // the file dialog cancelled: no scale dialog, nothing written
  EXPECT_EQ(host.messages.size(), 3u);

  const std::string bump = Model("bump.sca", kBump);
  Restart();
  Open(bump, kScanEntry);
  Save(dir.File("scan.stl"), kTextEntry, "2", "1", "0.5");
  EXPECT_EQ(ReadFile(dir.File("scan.stl")),
            CliOutput({"stl", bump, "--touch-point", "0.5", "--rates", "2", "1", "0.5", "--text"}));
}

// While a file is read nothing can start a second import; afterwards every button
// is as the imports left it.
TEST_F(ModelFlowTest, OneImportAtATime) {
  Open(Model("bump.sca", kBump), kScanEntry);
  ASSERT_NE(view(), nullptr);
  TOpenGL_Form& scanView = *view();
  const std::string second = Model("second.stl", TextStl(BoxFacets({0, 0, 0}, {1, 1, 1})));
  bool triedAgain = false;
  host.whilePending = [&] {
    if (triedAgain) return;
    triedAgain = true;
    EXPECT_TRUE(form().Busy.Active());
    for (TOpenGL_Form* v : Views()) EXPECT_FALSE(v->InSetButton->isEnabled());
    EXPECT_FALSE(scanView.Panel3->isEnabled());
    // The open button is refused: the file queued for its dialog is never asked for.
    EXPECT_FALSE(form().OpenFileButton->isEnabled());
    host.openFiles.push_back({second, kStlEntry});
    form().OpenFileButton->click();
    EXPECT_EQ(host.openFiles.size(), 1u);
  };
  Insert(scanView, Box(), kStlEntry);
  host.whilePending = nullptr;
  EXPECT_TRUE(triedAgain);
  ASSERT_EQ(Views().size(), 2);
  EXPECT_EQ(view()->Table.FacetCount, 12);  // the box, not the second file
  EXPECT_TRUE(scanView.InSetButton->isEnabled());
  EXPECT_FALSE(view()->InSetButton->isEnabled());
  EXPECT_TRUE(view()->Panel3->isEnabled());
  EXPECT_FALSE(form().OpenFileButton->isEnabled());
}

// A file that is not read (missing, or not of the kind its filter entry says), or the
// blank filter entry, leaves no window behind and keeps the current model, which can
// still be saved.
TEST_F(ModelFlowTest, FileThatIsNotReadChangesNothing) {
  // What the messages say is checked in the core tests.
  const std::tuple<std::string, int, std::size_t> unread[] = {
      {dir.File("missing.stl"), kStlEntry, 1}, {dir.File("missing.sca"), kScanEntry, 1},
      {Model("bump.stl", kBump), kStlEntry, 1},  // a scan
      {Box(), kBlankEntry, 0}};
  for (const auto& [path, entry, messages] : unread) {
    SCOPED_TRACE(path);
    host.messages.clear();
    Open(path, entry);
    EXPECT_EQ(host.messages.size(), messages);
    // No view, and the program waits for a first file.
    EXPECT_TRUE(Views().empty());
    EXPECT_TRUE(form().OpenFileButton->isEnabled());
    EXPECT_FALSE(form().SaveDfButtom->isEnabled());
    EXPECT_EQ(form().windowTitle(), "Orvelline");
    EXPECT_EQ(form().session().ScanFileCount, -1);
    EXPECT_TRUE(form().SpeedButton1->isEnabled());
    EXPECT_EQ(form().OpenDialog.FilterIndex, entry);  // where the dialog opens next
  }

  // A scan view, an STL model through its insert button, then a broken STL and a
  // blank entry.
  host.messages.clear();
  Open(Model("bump.sca", kBump), kScanEntry);
  TOpenGL_Form& scanView = *view();
  const std::string box = Box();
  Insert(scanView, box, kStlEntry);
  TOpenGL_Form* boxView = view();
  const std::string broken = Model("broken.stl", "solid x\n facet normal 0 0 1\n");
  Insert(scanView, broken, kStlEntry);
  Insert(scanView, box, kBlankEntry);
  EXPECT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(Views().size(), 2);
  EXPECT_EQ(view(), boxView);
  EXPECT_EQ(form().windowTitle().toStdString(), box);
  Save(dir.File("box.stl"), kBinaryEntry, "1", "1", "1");
  EXPECT_EQ(ReadFile(dir.File("box.stl")), CliOutput({"stl", box}));
}

// A file named on the command line opens once the event loop runs, read as its name
// says, with the full path in the title.
TEST_F(ModelFlowTest, FileNamedOnTheCommandLineOpensAtStart) {
  const std::string box = Box();
  const std::string bump = Model("BUMP.SCA", kBump);
  const std::pair<QString, bool> rows[] = {{"box.stl", false}, {QString::fromStdString(bump), true}};
  for (const auto& [name, scan] : rows) {
    Restart();
    host.questions.clear();
    app->OpenCommandLineFile({QStringLiteral("vantora"), name});
    EXPECT_EQ(view(), nullptr);
    for (int i = 0; i < 100 && !view(); ++i) QTest::qWait(10);
    ASSERT_NE(view(), nullptr);
    EXPECT_EQ(form().windowTitle().toStdString(), scan ? bump : box);
    EXPECT_EQ(form().OpenDialog.FilterIndex, scan ? kScanEntry : kStlEntry);
    EXPECT_EQ(host.questions.size(), scan ? 0u : 1u);  // "Move to platform ?" for the STL
  }
  Restart();
  app->OpenCommandLineFile({QStringLiteral("vantora")});
  QTest::qWait(20);
  EXPECT_EQ(view(), nullptr);
}

// A scan added to the view of an STL model joins it in millimetres: the model is
// drawn and saved in one unit.
TEST_F(ModelFlowTest, ScanAddedToAnStlModelKeepsItsMillimetres) {
  const std::string bump = Model("bump.sca", kBump);
  Open(bump, kScanEntry);
  TOpenGL_Form& scanView = *view();
  host.answers.push_back(false);  // the box stays beside the origin, where the scan comes
  Insert(scanView, Box(), kStlEntry);
  TOpenGL_Form& boxView = *view();
  Insert(scanView, bump, kScanEntry);
  EXPECT_EQ(view(), &boxView);
  EXPECT_EQ(boxView.Table.FacetCount, 24);
  // From above, the bump at its size in millimetres (its facets' coordinates are
  // checked in the core tests): 0.6 mm from its middle lies on its slope.
  boxView.Navigation->TopButton->click();
  const float unit = store().ViewDistance;
  EXPECT_TRUE(QTest::qWaitForWindowExposed(&boxView));
  EXPECT_TRUE(Near(Grab(boxView, "joined"), At(boxView, {0.6f / unit, 0, 1.7f / unit}), IsModel));
}

}  // namespace
}  // namespace vantora
