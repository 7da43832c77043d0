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

// A program as a sweep leaves it in the memo.
NcProgram SweptRun() {
  NcProgram program;
  program.AppendLine("G1 X 1.000 Y 2.000 C 0.000 F300");
  program.AppendLine("M30\n");
  return program;
}

// Declined, or no file chosen, saves nothing; otherwise the chosen file holds the
// program.
TEST(SaveNcFlow, OfferToSaveAsksThenSavesWhereTheOperatorChose) {
  StringSink text;
  WriteNcText(SweptRun(), text);
  for (const bool yes : {false, true}) {
    for (const char* chosen : {"", "chosen.nc"}) {
      TempDir dir;
      ScriptedHost host;
      host.answers = {yes};
      if (*chosen) host.saveFiles = {{dir.File(chosen), 1}};
      EXPECT_TRUE(OfferToSaveNcProgram(SweptRun(), host));
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
