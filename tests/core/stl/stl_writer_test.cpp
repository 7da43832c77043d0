#include "core/stl/stl_writer.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <cstring>
#include <memory>

#include "scripted_host.h"
#include "test_files.h"

namespace vantora {
namespace {

using namespace testing;

std::unique_ptr<FacetTable> TableOf(std::initializer_list<std::array<Vec3, 3>> facets) {
  auto table = std::make_unique<FacetTable>(16);
  for (const auto& f : facets) table->AddFacet(f[0], f[1], f[2], 1.0f);
  return table;
}

std::string Written(const FacetTable& table, StlForm form, StlScaling scaling = {}) {
  StringSink sink;
  (form == StlForm::Text ? WriteTextStl : WriteBinaryStl)(table, scaling, sink);
  return sink.text;
}

Vec3 FloatsAt(const std::string& bytes, std::size_t offset) {
  Vec3 v;
  std::memcpy(v.data(), bytes.data() + offset, sizeof v);
  return v;
}

TEST(WriteTextStl, TheExampleFacetAnEmptyTableADegenerateFacetAndRates) {
  const auto table = TableOf({{Vec3{0, 0, 0}, Vec3{1, 0, 0}, Vec3{0, 1, 0}}});
  EXPECT_EQ(Written(*table, StlForm::Text),
            "solid Morvane_Model\r\n"
            "  facet normal 0.000 0.000 1.000\r\n"
            "  outer loop \r\n"
            "    vertex 0.000 0.000 0.000\r\n"
            "    vertex 1.000 0.000 0.000\r\n"
            "    vertex 0.000 1.000 0.000\r\n"
            "    endloop \r\n"
            "  endfacet \r\n"
            " endsolid Morvane_Model\r\n");
  EXPECT_EQ(Written(*TableOf({}), StlForm::Text),
            "solid Morvane_Model\r\n endsolid Morvane_Model\r\n");
  const auto degenerate = TableOf({{Vec3{1, 1, 1}, Vec3{1, 1, 1}, Vec3{2, 2, 2}}});
  EXPECT_NE(Written(*degenerate, StlForm::Text).find("  facet normal 0.000 0.000 0.000\r\n"),
            std::string::npos);
  // Rates scale the coordinates but not the normals.
  const std::string text = Written(*table, StlForm::Text, {1.0f, 2.0f, 1.0f, 1.0f});
  EXPECT_NE(text.find("    vertex 2.000 0.000 0.000\r\n"), std::string::npos);
  EXPECT_NE(text.find("  facet normal 0.000 0.000 1.000\r\n"), std::string::npos);
}

TEST(WriteBinaryStl, LayoutOfHeaderAndRecords) {
  const auto table = TableOf({{Vec3{0, 0, 0}, Vec3{1, 0, 0}, Vec3{0, 1, 0}},
                              {Vec3{1, 2, 3}, Vec3{1, 2, 3}, Vec3{4, 5, 6}}});
  const std::string bytes = Written(*table, StlForm::Binary, {2.0f, 1.0f, 1.0f, 0.5f});
  ASSERT_EQ(bytes.size(), 84u + 50u * 2);
  EXPECT_EQ(bytes.substr(27, 53), " \n" + std::string(48, ' ') + std::string(3, '\0'));
  EXPECT_NE(bytes.substr(0, 5), "solid");  // not taken for text when read back
  std::int32_t count = 0;
  std::memcpy(&count, bytes.data() + 80, 4);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(FloatsAt(bytes, 84), (Vec3{0, 0, 1}));
  EXPECT_EQ(FloatsAt(bytes, 84 + 24), (Vec3{2, 0, 0}));  // V2 x OutputScale 2
  EXPECT_EQ(FloatsAt(bytes, 134), (Vec3{0, 0, 0}));      // degenerate normal
  EXPECT_EQ(FloatsAt(bytes, 134 + 36), (Vec3{8, 10, 6}));  // z rate 0.5
  for (std::size_t at : {84u + 48u, 134u + 48u}) EXPECT_EQ(bytes.substr(at, 2), "00");
  EXPECT_EQ(Written(*TableOf({}), StlForm::Binary).size(), 84u);
}

TEST(SaveStl, AFailedSaveLeavesTheOldFileAndSaysWhy) {
  TempDir dir;
  const std::string old(4096, 'x'), path = dir.Put("model.stl", old);
  auto table = std::make_unique<FacetTable>(100);
  for (int k = 0; k < 100; ++k) table->AddFacet({1, 2, 3}, {4, 5, 6}, {7, 8, 9}, 1.0f);

  // A file size limit makes the write fail part way, as a full disk would.
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 1000;
  setrlimit(RLIMIT_FSIZE, &small);
  ScriptedHost host;
  const Status status = SaveStl(path, StlForm::Text, *table, {}, host);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previousHandler);

  EXPECT_EQ(status.code(), ErrorCode::CannotWrite);
  EXPECT_NE(status.message().find(path), std::string::npos);
  EXPECT_TRUE(host.messages.empty());  // no "Finish"
  EXPECT_EQ(ReadFile(path), old);
  EXPECT_EQ(FilesIn(dir.path()), 1u);
}

TEST(SaveStl, OverflowingRatesAndUnwritablePlacesAreRefused) {
  TempDir dir;
  const std::string path = dir.Put("model.stl", "old");
  ScriptedHost host;
  const auto table = TableOf({{Vec3{0, 0, 0}, Vec3{100, 0, 0}, Vec3{0, 1, 0}}});
  // 1e37 keeps 1 mm finite and takes 100 mm past the largest float.
  const StlScaling rates{1.0f, 1e37f, 1e37f, 1.0f};
  for (StlForm form : {StlForm::Binary, StlForm::Text}) {
    const Status status = SaveStl(path, form, *table, rates, host);
    EXPECT_EQ(status.code(), ErrorCode::NonFinite);
    EXPECT_NE(status.message().find("too large"), std::string::npos) << status.message();
  }
  EXPECT_EQ(ReadFile(path), "old");
  EXPECT_TRUE(host.messages.empty());  // no "Finish"
  const Status nowhere = SaveStl("/nonexistent-dir/x.stl", StlForm::Binary, *table, {}, host);
  EXPECT_EQ(nowhere.code(), ErrorCode::CannotWrite);
  EXPECT_NE(nowhere.message().find("/nonexistent-dir/x.stl"), std::string::npos);
}

}  // namespace
}  // namespace vantora
