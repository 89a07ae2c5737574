// Reading the command line against a program's option table.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "io/cli.h"

namespace {

using io::ParsedCommandLine;

constexpr io::OptionSpec kOptions[] = {
    {"sun-below", "DEG", "the Sun's depression for the night, degrees"},
    {"chart", "", "also draw the chart"},
    {"output", "FILE", "write to FILE", 'o'},
    {"site", "NAME", "a site, repeatable", 0, true},
};
constexpr io::ProgramInfo kInfo{"demo", "Does what the options say.\n", kOptions};
constexpr io::ProgramInfo kWithOperands{"demo", "Does what the options say.\n", kOptions,
                                        "FILE..."};

ParsedCommandLine parse(std::vector<std::string> args, const io::ProgramInfo& info = kInfo) {
  args.insert(args.begin(), "demo");
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  return io::parse_command_line(static_cast<int>(args.size()), argv.data(), info);
}

std::string usage_error(std::vector<std::string> args, const io::ProgramInfo& info = kInfo) {
  try {
    parse(std::move(args), info);
  } catch (const io::UsageError& e) {
    return e.what();
  }
  return "(accepted)";
}

TEST(CommandLine, ValuesInEveryWrittenForm) {
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"--sun-below=12", "--output", "x.dat"},
           {"--sun-below", "12", "-o", "x.dat"},
           {"--sun-below", "12", "-ox.dat"},
           {"--sun=12", "--out=x.dat"}}) {  // unambiguous prefixes, as getopt_long allows
    SCOPED_TRACE(testing::PrintToString(args));
    const ParsedCommandLine parsed = parse(args);
    EXPECT_EQ(parsed.action, ParsedCommandLine::Action::kRun);
    EXPECT_EQ(parsed.options.value("sun-below"), "12");
    EXPECT_EQ(parsed.options.value("output"), "x.dat");
    EXPECT_FALSE(parsed.options.has("chart"));
    EXPECT_EQ(parsed.options.value("chart"), std::nullopt);
  }
  // A value may begin with a dash or be empty.
  EXPECT_EQ(parse({"--sun-below", "-6"}).options.value("sun-below"), "-6");
  EXPECT_EQ(parse({"--output="}).options.value("output"), "");
}

TEST(CommandLine, RepeatableOptionsKeepEveryValueInOrder) {
  const auto parsed = parse({"--site", "a", "--chart", "--site=b"});
  EXPECT_EQ(parsed.options.values("site"), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(parsed.options.value("site"), "b");
  EXPECT_TRUE(parsed.options.has("chart"));
  EXPECT_EQ(parsed.options.value("chart"), "");
  ASSERT_EQ(parsed.options.given.size(), 3u);
  EXPECT_EQ(parsed.options.given[1].first, "chart");
}

TEST(CommandLine, FaultsNameTheArgument) {
  EXPECT_EQ(usage_error({"--bogus=1"}), "unknown option '--bogus'");
  EXPECT_EQ(usage_error({"-x"}), "unknown option '-x'");
  EXPECT_EQ(usage_error({"--sun-below"}), "option '--sun-below' needs a value (DEG)");
  EXPECT_EQ(usage_error({"-o"}), "option '--output' needs a value (FILE)");
  EXPECT_EQ(usage_error({"--chart=yes"}), "option '--chart' takes no value");
  EXPECT_EQ(usage_error({"--chart", "--chart"}), "option '--chart' given more than once");
  EXPECT_EQ(usage_error({"star.dat"}), "unexpected argument 'star.dat'");
  EXPECT_EQ(usage_error({"--"}), "unexpected argument '--'");
  EXPECT_EQ(usage_error({"\x1b[2J"}), "unexpected argument '\\x1b[2J'");
  EXPECT_EQ(usage_error({"--help", "--chart"}), "option '--help' takes no other arguments");
  EXPECT_EQ(usage_error({"--s"}), "unknown option '--s'") << "ambiguous: sun-below or site";
}

TEST(CommandLine, OperandsWhereTheProgramTakesThem) {
  const auto parsed = parse({"a.txt", "--chart", "b.txt", "--", "--c.txt"}, kWithOperands);
  EXPECT_EQ(parsed.options.operands, (std::vector<std::string>{"a.txt", "b.txt", "--c.txt"}));
  EXPECT_TRUE(parsed.options.has("chart"));
  // "--" as an option's value is a value, not the end of the options.
  EXPECT_EQ(parse({"--output", "--"}).options.value("output"), "--");
}

TEST(CommandLine, HelpAndVersionStandAlone) {
  EXPECT_EQ(parse({"--help"}).action, ParsedCommandLine::Action::kHelp);
  EXPECT_EQ(parse({"--version"}).action, ParsedCommandLine::Action::kVersion);
  EXPECT_EQ(parse({}).action, ParsedCommandLine::Action::kRun);
}

TEST(CommandLine, HelpListsEveryOptionAfterTheUsage) {
  EXPECT_EQ(io::help_text(kInfo),
            "usage: demo [--sun-below=DEG] [--chart] [-o FILE] [--site=NAME]...\n"
            "\n"
            "Does what the options say.\n"
            "\n"
            "Options:\n"
            "      --sun-below=DEG  the Sun's depression for the night, degrees\n"
            "      --chart          also draw the chart\n"
            "  -o, --output=FILE    write to FILE\n"
            "      --site=NAME      a site, repeatable\n"
            "      --help           print this help and exit\n"
            "      --version        print the name and version and exit\n");
}

TEST(CommandLine, TheUsageLineWrapsUnderItsFirstOptionWithTheOperandsLast) {
  static constexpr io::OptionSpec kLong[] = {{"first-option-of-many", "VALUE", ""},
                                             {"second-option-of-many", "VALUE", ""},
                                             {"third-option-of-many", "VALUE", ""},
                                             {"fourth", "", ""}};
  constexpr io::ProgramInfo kLongInfo{"demo", "", kLong, "[FILE]..."};
  EXPECT_EQ(io::usage_line(kLongInfo),
            "usage: demo [--first-option-of-many=VALUE] [--second-option-of-many=VALUE]\n"
            "            [--third-option-of-many=VALUE] [--fourth] [FILE]...\n");
  // An item longer than the width stands alone on its line, never after a break alone.
  static constexpr io::OptionSpec kHuge[] = {
      {"an-option-whose-name-alone-runs-past-the-width-of-the-help-text", "X", ""}};
  constexpr io::ProgramInfo kHugeInfo{"demo", "", kHuge};
  EXPECT_EQ(io::usage_line(kHugeInfo),
            "usage: demo [--an-option-whose-name-alone-runs-past-the-width-of-the-help-text=X]\n");
}

}  // namespace
