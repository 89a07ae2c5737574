#include "shell.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

namespace robustness {

namespace fs = std::filesystem;

int sh(const e2e::TempDir& dir, const std::string& script) {
  dir.write(".e2e-script", "cd '" + dir.path().string() +
                               "' || exit 99\nECLFORE='" ECLFORE_BIN "'\nDATESEL='" DATESEL_BIN
                               "'\nNIGHTMARK='" NIGHTMARK_BIN "'\nPHASELIST='" PHASELIST_BIN
                               "'\nSTARIMPORT='" STARIMPORT_BIN "'\n" +
                               script + "\n");
  const int status = std::system(("sh '" + (dir.path() / ".e2e-script").string() + "'").c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

void expect_no_temporary_files(const e2e::TempDir& dir) {
  for (const auto& entry : fs::directory_iterator(dir.path())) {
    EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos) << entry.path();
  }
}

}  // namespace robustness
