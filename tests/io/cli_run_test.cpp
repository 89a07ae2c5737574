// The command-line arguments every program understands: --help and --version answer
// on standard output and exit 0 without touching a file; anything else prints the
// usage on standard error and exits 2 without reading or writing a file.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "e2e.h"
#include "io/cli.h"

namespace {

namespace fs = std::filesystem;

struct Program {
  std::string name;
  std::string path;
};

void PrintTo(const Program& program, std::ostream* os) { *os << program.name; }

const std::vector<Program> kPrograms = {
    {"eclfore", ECLFORE_BIN},
    {"datesel", DATESEL_BIN},
    {"nightmark", NIGHTMARK_BIN},
    {"phaselist", PHASELIST_BIN},
};

// Every file any of the programs reads, so that a program which ignored its
// arguments and ran its dialogue would find its input and leave an output behind.
const std::map<std::string, std::string> kInputs = {
    {"star.dat",
     "EX Demo              2453000.1234    1.2345678 21 30 00  +20 15       EA  9.8 10.9"
     "      2 C012\n"},
    {"condition.dat", "8.0 12.5 0.5 90 -30\n99\n"},
    {"data.dat",
     "EX Demo             C012 p 2006  3  6 29.58 2453801.3579 EA 28.0  2453000.1234"
     "    1.2345678 21 30  0  20 15  9.8 10.9\n"},
    {"data.sot",
     "EX Demo             C012 p 2006  3  6 29.58 2453801.3579 EA 28.0  2453000.1234"
     "    1.2345678 21 30  0  20 15  9.8 10.9\n"},
    {"obsday2.dat",
     "=== 2006/ 3/ 6 ===\n"
     "Name                cat.   Time  typ  High   RA       RD      Mag      Period"
     "       E0            Forecast\n"
     "EX Demo             C012 p 29.58  EA   28   21 30    20 15   9.8 10.9     1.2345678"
     "  2453000.1234 2453801.3579\n"},
    {"recent_obs.txt", "EX Demo\n"},
};

// Answers that would carry every program's dialogue to its end.
const char kAnswers[] = "2006\n3\n20\n3\n0\n6\n99\n20\n0\n0\n2006 3 7 4 30\n2006 3 7 5 45\n";

// The files of the folder with their bytes, leaving out the run's own stdin,
// stdout and stderr files.
std::map<std::string, std::string> folder_contents(const e2e::TempDir& dir) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::directory_iterator(dir.path())) {
    const std::string name = entry.path().filename().string();
    if (name.rfind(".e2e-", 0) == 0) continue;
    files[name] = e2e::read_file(entry.path());
  }
  return files;
}

class ProgramArguments : public ::testing::TestWithParam<Program> {
 protected:
  void SetUp() override {
    for (const auto& [name, content] : kInputs) dir_.write(name, content);
  }

  e2e::RunResult run(const std::vector<std::string>& args) {
    return e2e::run(GetParam().path, dir_.path(), kAnswers, args);
  }

  // The folder holds exactly the input files, unchanged.
  void expect_folder_untouched() const { EXPECT_EQ(folder_contents(dir_), kInputs); }

  e2e::TempDir dir_;
};

std::string help_text(const Program& program) {
  e2e::TempDir dir;
  return e2e::run(program.path, dir.path(), "", {"--help"}).out;
}

TEST_P(ProgramArguments, HelpPrintsTheUsageOnStandardOutput) {
  const std::string& name = GetParam().name;
  const auto result = run({"--help"});
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(result.err, "");
  EXPECT_NE(result.out.find(name), std::string::npos) << result.out;
  // The usage tells where the manual is.
  EXPECT_TRUE(result.out.find("man " + name) != std::string::npos ||
              result.out.find(name + "(1)") != std::string::npos)
      << result.out;
  ASSERT_FALSE(result.out.empty());
  EXPECT_EQ(result.out.back(), '\n');
  expect_folder_untouched();
}

TEST_P(ProgramArguments, VersionPrintsTheNameAndTheToolsetVersion) {
  const auto result = run({"--version"});
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.out, GetParam().name + " (eclipsing binary tools) " EBT_VERSION "\n");
  expect_folder_untouched();
}

TEST_P(ProgramArguments, AnyOtherArgumentPrintsTheUsageOnStandardErrorAndExits2) {
  const std::string usage = help_text(GetParam());
  ASSERT_FALSE(usage.empty());
  const std::vector<std::vector<std::string>> cases = {
      {"--bogus"},
      {"-h"},
      {"-v"},
      {"help"},
      {""},
      {"-"},
      {"--"},
      {"--help=yes"},
      {"--HELP"},
      {"--help", "extra"},
      {"--version", "--help"},
      {"star.dat"},
  };
  for (const auto& args : cases) {
    SCOPED_TRACE(testing::PrintToString(args));
    const auto result = run(args);
    EXPECT_EQ(result.exit_code, 2);
    EXPECT_FALSE(result.timed_out);
    EXPECT_EQ(result.out, "") << "the dialogue must not start";
    EXPECT_NE(result.err.find(usage), std::string::npos) << result.err;
    EXPECT_GT(result.err.size(), usage.size()) << "a line naming the argument at fault";
    expect_folder_untouched();
  }
}

// Standard output on a full disk: the answer never reached the user, so the run
// must not end with status 0.
TEST_P(ProgramArguments, HelpAndVersionOnAFullDiskFail) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  for (const char* option : {"--help", "--version"}) {
    SCOPED_TRACE(option);
    const fs::path err = dir_.path() / ".e2e-full-stderr";
    const std::string command =
        "'" + GetParam().path + "' " + option + " </dev/null >/dev/full 2>'" + err.string() + "'";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_NE(e2e::read_file(err), "") << "a message on standard error";
  }
}

INSTANTIATE_TEST_SUITE_P(AllPrograms, ProgramArguments, ::testing::ValuesIn(kPrograms),
                         [](const auto& param_info) { return param_info.param.name; });

}  // namespace

namespace {

// The first line of standard error names the program and the argument at fault;
// the help follows; nothing is printed or prompted on standard output.
void expect_usage_fault(const e2e::RunResult& result, const std::string& first_line) {
  EXPECT_EQ(result.exit_code, 2);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err.substr(0, result.err.find('\n') + 1), first_line);
  EXPECT_NE(result.err.find("\nOptions:\n"), std::string::npos) << result.err;
}

TEST_P(ProgramArguments, UsageFaultsNameTheArgumentBeforeAnyPrompt) {
  const std::string& name = GetParam().name;
  expect_usage_fault(run({"--bogus=3"}), name + ": unknown option '--bogus'\n");
  expect_usage_fault(run({"--help=yes"}), name + ": option '--help' takes no value\n");
  expect_usage_fault(run({"-h"}), name + ": unknown option '-h'\n");
  expect_usage_fault(run({"star.dat"}), name + ": unexpected argument 'star.dat'\n");
  expect_folder_untouched();
}

TEST_P(ProgramArguments, HelpListsTheOptionsAfterTheUsage) {
  const std::string out = run({"--help"}).out;
  const auto options = out.find("\nOptions:\n");
  ASSERT_NE(options, std::string::npos) << out;
  EXPECT_LT(out.find("usage: " + GetParam().name), options);
  EXPECT_NE(out.find("      --help  ", options), std::string::npos) << out;
  EXPECT_NE(out.find("      --version  ", options), std::string::npos) << out;
}

// The usage line (the lines before the first blank one) names every option the help
// lists, so that no option can be left out of it.
TEST(UsageLine, EveryProgramNamesEachOfItsOptions) {
  e2e::TempDir dir;
  for (const char* program :
       {ECLFORE_BIN, DATESEL_BIN, NIGHTMARK_BIN, PHASELIST_BIN, STARIMPORT_BIN}) {
    const std::string out = e2e::run(program, dir.path(), "", {"--help"}).out;
    const std::string usage = out.substr(0, out.find("\n\n"));
    const auto options = out.find("\nOptions:\n");
    ASSERT_NE(options, std::string::npos) << out;
    std::size_t named = 0;
    for (std::size_t at = out.find("\n  ", options); at != std::string::npos;
         at = out.find("\n  ", at + 1)) {
      const std::size_t dashes = out.find("--", at);
      const std::string name = out.substr(dashes, out.find_first_of("= ", dashes) - dashes);
      if (name == "--help" || name == "--version") continue;
      ++named;
      const bool short_form = out.compare(at + 3, 1, "-") == 0;
      const std::string in_usage = short_form ? "[" + out.substr(at + 3, 2) + " " : "[" + name;
      EXPECT_NE(usage.find(in_usage), std::string::npos) << program << ": " << name << "\n"
                                                         << usage;
    }
    EXPECT_EQ(named > 0, usage.find('[') != std::string::npos) << program << "\n" << usage;
    std::istringstream lines(usage);
    for (std::string line; std::getline(lines, line);) {
      EXPECT_LE(line.size(), io::kHelpWidth) << program << ": " << line;
    }
  }
}

// Options with values, on a small program built on the same main.
TEST(OptionValues, EveryFormReachesTheProgramAndFaultsEndWithStatus2) {
  e2e::TempDir dir;
  const auto ok = e2e::run(OPTIONS_DEMO_BIN, dir.path(), "", {"--sun-below=12", "-o", "x"});
  EXPECT_EQ(ok.exit_code, 0) << ok.err;
  EXPECT_EQ(ok.out, "answer = sun-below=12\noutput=x\n");
  const auto spaced = e2e::run(OPTIONS_DEMO_BIN, dir.path(), "", {"--sun-below", "12"});
  EXPECT_EQ(spaced.out, "answer = sun-below=12\n");

  expect_usage_fault(e2e::run(OPTIONS_DEMO_BIN, dir.path(), "", {"--sun-below"}),
                     "optdemo: option '--sun-below' needs a value (DEG)\n");
  expect_usage_fault(e2e::run(OPTIONS_DEMO_BIN, dir.path(), "", {"--output"}),
                     "optdemo: option '--output' needs a value (FILE)\n");
  // A bad value found by the program itself, before its first prompt.
  expect_usage_fault(e2e::run(OPTIONS_DEMO_BIN, dir.path(), "", {"--sun-below=dusk"}),
                     "optdemo: --sun-below: 'dusk' is not a number of degrees\n");
  const auto help = e2e::run(OPTIONS_DEMO_BIN, dir.path(), "", {"--help"});
  EXPECT_NE(help.out.find("  -o, --output=FILE    the output file\n"), std::string::npos)
      << help.out;
}

}  // namespace
