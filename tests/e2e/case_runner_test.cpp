// Data-driven end-to-end cases: tests/e2e/<program>/<case>/ holds
//   in/        files copied into a fresh temporary folder before the run,
//   stdin      the typed answers (no file: no input at all),
//   expected/  files that must exist afterwards with exactly these bytes;
//              expected/.stdout is compared with standard output,
//   case.conf  optional lines: "exit N" (default 0), "absent NAME" (the file must
//              not exist afterwards), "stderr" (standard error must say something),
//              "quiet" (standard error must be empty), "args A B ..." (the
//              command-line arguments, split at blanks; default none).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "e2e.h"

namespace {

namespace fs = std::filesystem;

struct Case {
  std::string program;
  fs::path dir;
};

std::string program_path(const std::string& program) {
  static const std::map<std::string, std::string> kPrograms = {
      {"eclfore", ECLFORE_BIN},
      {"datesel", DATESEL_BIN},
      {"nightmark", NIGHTMARK_BIN},
      {"phaselist", PHASELIST_BIN},
  };
  const auto it = kPrograms.find(program);
  return it == kPrograms.end() ? std::string() : it->second;
}

std::vector<Case> all_cases() {
  std::vector<Case> cases;
  for (const auto& program : fs::directory_iterator(E2E_CASES_DIR)) {
    if (!program.is_directory()) continue;
    for (const auto& c : fs::directory_iterator(program.path())) {
      if (c.is_directory()) cases.push_back({program.path().filename().string(), c.path()});
    }
  }
  std::sort(cases.begin(), cases.end(), [](const Case& a, const Case& b) { return a.dir < b.dir; });
  return cases;
}

std::string case_name(const testing::TestParamInfo<Case>& info) {
  std::string name = info.param.program + "_" + info.param.dir.filename().string();
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

/// Shows where two byte strings first differ, with line ends made visible.
std::string first_difference(const std::string& want, const std::string& got) {
  std::size_t i = 0;
  while (i < want.size() && i < got.size() && want[i] == got[i]) ++i;
  auto show = [i](const std::string& s) {
    const std::size_t from = i > 40 ? i - 40 : 0;
    std::string piece = s.substr(from, 80);
    std::string out;
    for (char c : piece) {
      if (c == '\r')
        out += "\\r";
      else if (c == '\n')
        out += "\\n";
      else
        out += c;
    }
    return out;
  };
  std::ostringstream text;
  text << "first difference at byte " << i << "\n  want: " << show(want)
       << "\n  got:  " << show(got);
  return text.str();
}

class E2ECase : public testing::TestWithParam<Case> {};

TEST_P(E2ECase, RunsAsRecorded) {
  const Case& c = GetParam();
  const std::string program = program_path(c.program);
  ASSERT_FALSE(program.empty()) << "unknown program folder " << c.program;

  e2e::TempDir dir;
  if (fs::exists(c.dir / "in")) {
    fs::copy(c.dir / "in", dir.path(), fs::copy_options::recursive);
  }
  const std::string input =
      fs::exists(c.dir / "stdin") ? e2e::read_file(c.dir / "stdin") : std::string();

  int want_exit = 0;
  std::vector<std::string> absent;
  bool want_stderr = false;
  bool want_quiet = false;
  std::vector<std::string> args;
  if (std::ifstream conf(c.dir / "case.conf"); conf) {
    std::string key;
    while (conf >> key) {
      if (key == "exit")
        conf >> want_exit;
      else if (key == "absent")
        absent.emplace_back(), conf >> absent.back();
      else if (key == "stderr")
        want_stderr = true;
      else if (key == "quiet")
        want_quiet = true;
      else if (key == "args") {
        std::string rest, arg;
        std::getline(conf, rest);
        std::istringstream words(rest);
        while (words >> arg) args.push_back(arg);
      } else
        FAIL() << "unknown case.conf key " << key;
    }
  }

  const e2e::RunResult r = e2e::run(program, dir.path(), input, args);
  ASSERT_FALSE(r.timed_out) << "did not finish in time";
  ASSERT_EQ(r.signal, 0) << "ended by signal " << r.signal << "\nstderr: " << r.err;
  EXPECT_EQ(r.exit_code, want_exit) << "stderr: " << r.err;
  if (want_stderr) {
    EXPECT_FALSE(r.err.empty()) << "no message on standard error";
  }
  if (want_quiet) {
    EXPECT_EQ(r.err, "");
  }

  if (fs::exists(c.dir / "expected")) {
    for (const auto& e : fs::directory_iterator(c.dir / "expected")) {
      const std::string name = e.path().filename().string();
      const std::string want = e2e::read_file(e.path());
      if (name == ".stdout") {
        EXPECT_EQ(r.out, want) << "standard output: " << first_difference(want, r.out);
        continue;
      }
      ASSERT_TRUE(dir.exists(name)) << name << " was not written";
      const std::string got = dir.read(name);
      EXPECT_EQ(got, want) << name << ": " << first_difference(want, got);
    }
  }
  for (const auto& name : absent) EXPECT_FALSE(dir.exists(name)) << name << " exists";
}

INSTANTIATE_TEST_SUITE_P(Recorded, E2ECase, testing::ValuesIn(all_cases()), case_name);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(E2ECase);

}  // namespace
