#include "core/app/save_nc_flow.h"

#include <gtest/gtest.h>

#include "scripted_host.h"
#include "test_files.h"

namespace vantora {
namespace {

using testing::FilesIn;
using testing::ReadFile;
using testing::ScriptedHost;
using testing::TempDir;

NcProgram TwoRuns() {
  NcProgram program;
  for (const char* line : {"", "G1 X 1.000 Y 2.000 C 0.000 F300", "M30\n", "G90",
                           "G1 X 0.000 Y 0.000 C 5.000 F300", "M30\n"}) {
    program.AppendLine(line);
  }
  return program;
}

// Declined, or no file chosen, saves nothing; otherwise the chosen file holds the
// program.
TEST(SaveNcFlow, OfferToSaveAsksThenSavesWhereTheOperatorChose) {
  StringSink text;
  WriteNcText(TwoRuns(), text);
  for (const bool yes : {false, true}) {
    for (const char* chosen : {"", "chosen.nc"}) {
      TempDir dir;
      ScriptedHost host;
      host.answers = {yes};
      if (*chosen) host.saveFiles = {{dir.File(chosen), 1}};
      EXPECT_TRUE(OfferToSaveNcProgram(TwoRuns(), host));
      EXPECT_EQ(host.questions.size(), 1u);
      const bool saved = yes && *chosen;
      EXPECT_EQ(FilesIn(dir.path()), saved ? 1u : 0u) << yes << chosen;
      if (saved) {
        EXPECT_EQ(ReadFile(dir.File(chosen)), text.text);
      }
    }
  }
}

}  // namespace
}  // namespace vantora
