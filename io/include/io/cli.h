#pragma once
/// The command line every program of the toolset understands: its own options, read
/// with the C library's getopt_long, plus --help and --version.

#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace io {

/// One command-line option: --name, --name=VALUE or --name VALUE (and -x for a short name).
struct OptionSpec {
  std::string_view name;      ///< long name without the dashes, e.g. "sun-below"
  std::string_view argument;  ///< the value's name in the help ("DEG"); empty: takes no value
  std::string_view help;      ///< one help line
  char short_name = 0;        ///< e.g. 'o' for -o FILE; 0: none
  bool repeatable = false;    ///< may be given more than once (all values are kept)
};

/// The options and operands a run was started with (parsed with getopt_long).
struct Options {
  /// Every option given, in command-line order: (long name, value; "" when none).
  std::vector<std::pair<std::string, std::string>> given;
  /// The arguments that are not options (only for a program that takes operands).
  std::vector<std::string> operands;
  bool has(std::string_view name) const;
  /// The value of the last occurrence of `name`, or nothing when not given.
  std::optional<std::string> value(std::string_view name) const;
  /// Every value of `name`, in order.
  std::vector<std::string> values(std::string_view name) const;
};

/// A bad value of an option, found by the program: run_program prints
/// "PROGRAM: what" and the usage on standard error and ends with status 2.
struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

/// What a program says about itself for --help and --version, and the options it takes.
struct ProgramInfo {
  std::string_view name;  ///< e.g. "eclfore"
  /// The --help text between the usage line and the list of options, ending with a line
  /// end (the usage line itself is made from the options: none can be left out of it).
  std::string_view about;
  std::span<const OptionSpec> options = {};  ///< besides --help and --version
  /// The operands as the usage line shows them, e.g. "[FILE]..."; empty: the program
  /// takes none.
  std::string_view operands = {};
};

/// The toolset version, e.g. "1.0.0".
std::string_view toolset_version();

/// What the command line asks for.
struct ParsedCommandLine {
  enum class Action { kRun, kHelp, kVersion } action = Action::kRun;
  Options options;
};

/// Reads the arguments against info.options plus --help and --version. --help and
/// --version stand alone. Throws UsageError naming the argument at fault: an unknown
/// option, a missing or unwanted value, an option given twice that is not repeatable,
/// an operand (or "--") where the program takes none.
ParsedCommandLine parse_command_line(int argc, char** argv, const ProgramInfo& info);

/// The usage line: "usage: NAME", every option of info.options in brackets
/// ("[--name=ARG]", "[-x ARG]" for one with a short name, "..." after a repeatable one),
/// then the operands; wrapped before kHelpWidth, the lines after the first indented under
/// the first option.
std::string usage_line(const ProgramInfo& info);

/// Width of the --help text that the usage line keeps within, characters.
inline constexpr std::size_t kHelpWidth = 80;

/// The --help text: the usage line, a blank line, info.about, then one line per option
/// with its help line.
std::string help_text(const ProgramInfo& info);

/// The whole of a program's main. Parses the arguments against info.options (plus --help,
/// --version); an unknown option, a missing value, an operand where none is taken: message
/// "PROGRAM: ..." and usage on stderr, status 2, before `run` is called. Then calls `run`;
/// a UsageError it throws -> status 2 as above; any other exception -> "PROGRAM: message",
/// status 1, and so does console output that was lost. A program validates its option
/// values at the top of `run`, before any prompt and before any file is touched.
int run_program(int argc, char** argv, const ProgramInfo& info, int (*run)(const Options&));

}  // namespace io
