// Data-driven end-to-end cases: every folder tests/e2e/<program>/<case>/ is one run of
// the built program in a fresh temporary folder, its outputs compared byte for byte.
// README.md beside this file describes what a case folder holds.
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

/// Names the case in the test list, instead of the bytes of the struct.
void PrintTo(const Case& c, std::ostream* os) {
  *os << c.program << "/" << c.dir.filename().string();
}

std::string program_path(const std::string& program) {
  static const std::map<std::string, std::string> kPrograms = {
      {"eclfore", ECLFORE_BIN},     {"datesel", DATESEL_BIN},       {"nightmark", NIGHTMARK_BIN},
      {"phaselist", PHASELIST_BIN}, {"starimport", STARIMPORT_BIN},
  };
  const auto it = kPrograms.find(program);
  return it == kPrograms.end() ? std::string() : it->second;
}

/// What case.conf asks beyond the files of expected/.
struct Expectations {
  int exit_code = 0;
  std::vector<std::string> args;
  std::vector<std::string> environment;  ///< NAME=VALUE settings for the run
  std::vector<std::string> absent;       ///< files that must not exist afterwards
  std::vector<std::string> unchanged;    ///< files of in/ that must keep their bytes
  bool stderr_says_something = false;
  bool stderr_empty = false;
  bool usage_follows = false;  ///< expected/.stderr is followed by the program's --help
};

/// The words after a key, split at blanks.
std::vector<std::string> words_of(std::istream& conf) {
  std::string rest, word;
  std::getline(conf, rest);
  std::istringstream words(rest);
  std::vector<std::string> out;
  while (words >> word) out.push_back(word);
  return out;
}

/// Reads case.conf (none: the defaults); an unknown key is a fault of the case.
Expectations read_conf(const fs::path& file, std::string& fault) {
  Expectations e;
  std::ifstream conf(file);
  std::string key;
  while (conf >> key) {
    if (key == "exit") {
      conf >> e.exit_code;
    } else if (key == "args") {
      e.args = words_of(conf);
    } else if (key == "env") {
      e.environment = words_of(conf);
    } else if (key == "absent") {
      for (auto& name : words_of(conf)) e.absent.push_back(std::move(name));
    } else if (key == "unchanged") {
      for (auto& name : words_of(conf)) e.unchanged.push_back(std::move(name));
    } else if (key == "stderr") {
      e.stderr_says_something = true;
    } else if (key == "quiet") {
      e.stderr_empty = true;
    } else if (key == "usage") {
      e.usage_follows = true;
    } else {
      fault = "unknown case.conf key " + key;
      return e;
    }
  }
  return e;
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

/// The program's --help text, which a usage fault prints after its first line.
std::string help_text(const std::string& program) {
  e2e::TempDir dir;
  return e2e::run(program, dir.path(), "", {"--help"}).out;
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
  std::string fault;
  const Expectations want = read_conf(c.dir / "case.conf", fault);
  ASSERT_EQ(fault, "");

  e2e::TempDir dir;
  if (fs::exists(c.dir / "in")) {
    fs::copy(c.dir / "in", dir.path(), fs::copy_options::recursive);
  }
  const std::string input =
      fs::exists(c.dir / "stdin") ? e2e::read_file(c.dir / "stdin") : std::string();

  const e2e::RunResult r =
      e2e::run(program, dir.path(), input, want.args, std::chrono::seconds(10), want.environment);
  ASSERT_FALSE(r.timed_out) << "did not finish in time";
  ASSERT_EQ(r.signal, 0) << "ended by signal " << r.signal << "\nstderr: " << r.err;
  EXPECT_EQ(r.exit_code, want.exit_code) << "stderr: " << r.err;
  if (want.stderr_says_something) {
    EXPECT_FALSE(r.err.empty()) << "no message on standard error";
  }
  if (want.stderr_empty) {
    EXPECT_EQ(r.err, "");
  }

  const fs::path expected = c.dir / "expected";
  if (fs::exists(expected)) {
    for (const auto& e : fs::directory_iterator(expected)) {
      const std::string name = e.path().filename().string();
      std::string bytes = e2e::read_file(e.path());
      if (name == ".stdout") {
        EXPECT_EQ(r.out, bytes) << "standard output: " << first_difference(bytes, r.out);
      } else if (name == ".stderr") {
        if (want.usage_follows) bytes += help_text(program);
        EXPECT_EQ(r.err, bytes) << "standard error: " << first_difference(bytes, r.err);
      } else {
        ASSERT_TRUE(dir.exists(name)) << name << " was not written";
        const std::string got = dir.read(name);
        EXPECT_EQ(got, bytes) << name << ": " << first_difference(bytes, got);
      }
    }
  }
  EXPECT_TRUE(!want.usage_follows || fs::exists(expected / ".stderr"))
      << "usage needs expected/.stderr";
  for (const auto& name : want.unchanged) {
    ASSERT_TRUE(fs::is_regular_file(c.dir / "in" / name)) << "unchanged " << name << ": not in in/";
    ASSERT_TRUE(dir.exists(name)) << name << " is gone";
    EXPECT_EQ(dir.read(name), e2e::read_file(c.dir / "in" / name)) << name << " changed";
  }
  for (const auto& name : want.absent) EXPECT_FALSE(dir.exists(name)) << name << " exists";
}

INSTANTIATE_TEST_SUITE_P(Recorded, E2ECase, testing::ValuesIn(all_cases()), case_name);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(E2ECase);

}  // namespace
