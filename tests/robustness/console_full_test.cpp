// Standard output on a full disk: prompts, window lines and the name echo never
// reach the user, so even a run whose files came out right must not end with
// status 0.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "e2e.h"
#include "programs.h"

namespace robustness {
namespace {

namespace fs = std::filesystem;

TEST(ConsoleOnAFullDisk, EveryProgramFailsWithAMessage) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  for (const Program* program : {&eclfore(), &datesel(), &nightmark(), &phaselist()}) {
    SCOPED_TRACE(program->name);
    e2e::TempDir dir;
    for (const auto& [name, text] : program->good) dir.write(name, text);
    dir.write(".answers", program->good_answers);
    const std::string command = "cd '" + dir.path().string() + "' && '" + program->binary +
                                "' <.answers >/dev/full 2>.errors";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_NE(dir.read(".errors").find(program->name + ": cannot write to standard output"),
              std::string::npos)
        << dir.read(".errors");
  }
}

}  // namespace
}  // namespace robustness
