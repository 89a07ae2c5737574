#include "io/cli.h"

#include <fcntl.h>
#include <getopt.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <iterator>
#include <string>

#include <fmt/format.h>

#include "io/atomic_output.h"
#include "io/console.h"
#include "io/message_text.h"

namespace io {

std::string_view toolset_version() { return EBT_VERSION; }

bool Options::has(std::string_view name) const {
  return std::any_of(given.begin(), given.end(), [&](const auto& g) { return g.first == name; });
}

std::optional<std::string> Options::value(std::string_view name) const {
  for (auto it = given.rbegin(); it != given.rend(); ++it) {
    if (it->first == name) return it->second;
  }
  return std::nullopt;
}

std::vector<std::string> Options::values(std::string_view name) const {
  std::vector<std::string> found;
  for (const auto& [option, value] : given) {
    if (option == name) found.push_back(value);
  }
  return found;
}

namespace {

constexpr std::string_view kHelpName = "help";
constexpr std::string_view kVersionName = "version";

/// getopt_long's code of the program's option number i: above every character code,
/// so that it never meets a short name.
constexpr int kLongCodeBase = 0x100;

/// The program's options followed by --help and --version.
std::vector<OptionSpec> all_options(const ProgramInfo& info) {
  std::vector<OptionSpec> specs(info.options.begin(), info.options.end());
  specs.push_back({kHelpName, "", "print this help and exit"});
  specs.push_back({kVersionName, "", "print the name and version and exit"});
  return specs;
}

/// The option table getopt_long reads, with the names it points to kept alive.
struct GetoptTable {
  std::vector<std::string> names;
  std::vector<option> long_options;
  std::string short_options;

  explicit GetoptTable(const std::vector<OptionSpec>& specs) {
    names.reserve(specs.size());
    // A leading ':' makes a missing value ':' rather than '?'; unknown options stay '?'.
    short_options.push_back(':');
    for (std::size_t i = 0; i < specs.size(); ++i) {
      names.emplace_back(specs[i].name);
      const bool takes_value = !specs[i].argument.empty();
      long_options.push_back({names.back().c_str(), takes_value ? required_argument : no_argument,
                              nullptr, kLongCodeBase + static_cast<int>(i)});
      if (specs[i].short_name != 0) {
        short_options += specs[i].short_name;
        if (takes_value) short_options += ':';
      }
    }
    long_options.push_back({nullptr, 0, nullptr, 0});
  }
};

/// Index in `specs` of the option getopt_long returned as `code`, or -1.
int spec_index(const std::vector<OptionSpec>& specs, int code) {
  if (code >= kLongCodeBase && code < kLongCodeBase + static_cast<int>(specs.size())) {
    return code - kLongCodeBase;
  }
  for (std::size_t i = 0; i < specs.size(); ++i) {
    if (code != 0 && specs[i].short_name == code) return static_cast<int>(i);
  }
  return -1;
}

std::string quoted(std::string_view argument) { return "'" + escape_for_message(argument) + "'"; }

/// The option as the user wrote it, without a value after '='.
std::string written_option(const char* argument) {
  const std::string_view text = argument;
  return quoted(text.substr(0, text.find('=')));
}

}  // namespace

std::string usage_line(const ProgramInfo& info) {
  std::vector<std::string> items;
  for (const OptionSpec& option : info.options) {
    std::string item =
        option.short_name != 0
            ? fmt::format("[-{}{}]", option.short_name,
                          option.argument.empty() ? "" : fmt::format(" {}", option.argument))
            : fmt::format("[--{}{}]", option.name,
                          option.argument.empty() ? "" : fmt::format("={}", option.argument));
    if (option.repeatable) item += "...";
    items.push_back(std::move(item));
  }
  if (!info.operands.empty()) items.emplace_back(info.operands);
  std::string usage = fmt::format("usage: {}", info.name);
  const std::size_t indent = usage.size();
  std::size_t column = usage.size();
  for (const std::string& item : items) {
    // A new line before an item that would run past the width, never before the first.
    if (column > indent && column + 1 + item.size() > kHelpWidth) {
      usage += fmt::format("\n{:{}}", "", indent);
      column = indent;
    }
    usage += fmt::format(" {}", item);
    column += 1 + item.size();
  }
  return usage + "\n";
}

std::string help_text(const ProgramInfo& info) {
  const std::vector<OptionSpec> options = all_options(info);
  std::vector<std::string> left;
  std::size_t width = 0;
  for (const OptionSpec& option : options) {
    std::string text = option.short_name != 0
                           ? fmt::format("  -{}, --{}", option.short_name, option.name)
                           : fmt::format("      --{}", option.name);
    if (!option.argument.empty()) text += fmt::format("={}", option.argument);
    width = std::max(width, text.size());
    left.push_back(std::move(text));
  }
  std::string help = fmt::format("{}\n{}\nOptions:\n", usage_line(info), info.about);
  // The help lines in a column two blanks after the longest option.
  for (std::size_t i = 0; i < options.size(); ++i) {
    fmt::format_to(std::back_inserter(help), "{:<{}}{}\n", left[i], width + 2, options[i].help);
  }
  return help;
}

ParsedCommandLine parse_command_line(int argc, char** argv, const ProgramInfo& info) {
  const std::vector<OptionSpec> specs = all_options(info);
  const GetoptTable table(specs);
  ParsedCommandLine parsed;
  if (argc < 2) return parsed;
  // getopt_long keeps its place in globals: 0 starts every parse afresh.
  optind = 0;
  opterr = 0;
  const char* last_value = nullptr;
  bool stand_alone_seen = false;
  while (true) {
    const int code =
        getopt_long(argc, argv, table.short_options.c_str(), table.long_options.data(), nullptr);
    if (code == -1) break;
    const char* at_fault = argv[std::clamp(optind - 1, 1, argc - 1)];
    if (code == '?' || code == ':') {
      const int known = spec_index(specs, optopt);
      if (known < 0) throw UsageError("unknown option " + written_option(at_fault));
      const std::string name =
          "'--" + std::string(specs[static_cast<std::size_t>(known)].name) + "'";
      if (code == ':') {
        throw UsageError("option " + name + " needs a value (" +
                         std::string(specs[static_cast<std::size_t>(known)].argument) + ")");
      }
      throw UsageError("option " + name + " takes no value");
    }
    const OptionSpec& spec = specs[static_cast<std::size_t>(spec_index(specs, code))];
    const std::string name(spec.name);
    if (!spec.repeatable && parsed.options.has(name)) {
      throw UsageError("option '--" + name + "' given more than once");
    }
    last_value = optarg;
    parsed.options.given.emplace_back(name, optarg != nullptr ? optarg : "");
    if (spec.name == kHelpName || spec.name == kVersionName) {
      stand_alone_seen = true;
      parsed.action = spec.name == kHelpName ? ParsedCommandLine::Action::kHelp
                                             : ParsedCommandLine::Action::kVersion;
    }
  }
  // An explicit end of the options ("--") is an operand too where none is taken.
  const bool ended_by_dashes = optind > 1 && optind <= argc &&
                               std::strcmp(argv[optind - 1], "--") == 0 &&
                               argv[optind - 1] != last_value;
  for (int i = optind; i < argc; ++i) parsed.options.operands.emplace_back(argv[i]);
  if (info.operands.empty()) {
    if (!parsed.options.operands.empty()) {
      throw UsageError("unexpected argument " + quoted(parsed.options.operands.front()));
    }
    if (ended_by_dashes) throw UsageError("unexpected argument '--'");
  }
  if (stand_alone_seen && argc != 2) {
    throw UsageError("option '--" + parsed.options.given.front().first +
                     "' takes no other arguments");
  }
  return parsed;
}

namespace {

void print_message(const ProgramInfo& info, const char* what) {
  print_error_text(fmt::format("{}: {}\n", info.name, what));
}

/// Exit status of an answer to --help or --version: 0 when it reached standard
/// output, 1 with a message when it did not (a full disk, a closed pipe).
int finish_stdout(const ProgramInfo& info) {
  if (std::fflush(stdout) == 0 && std::ferror(stdout) == 0) return 0;
  const std::string message =
      fmt::format("cannot write to standard output: {}", std::strerror(errno));
  print_message(info, message.c_str());
  return 1;
}

/// Opens each of the descriptors 0, 1 and 2 that is closed on /dev/null, so that no file
/// the run opens takes its number: a data file read as the answers, a warning written
/// into an output. A closed standard input then reads as the end of the input.
void open_closed_standard_descriptors() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    // The lowest free number is the one just found closed.
    ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
  }
}

/// A command line or an option value at fault: the message, the help, status 2.
int usage_failure(const ProgramInfo& info, const UsageError& error) {
  std::fflush(stdout);
  print_message(info, error.what());
  const std::string help = help_text(info);
  std::fwrite(help.data(), 1, help.size(), stderr);
  return 2;
}

}  // namespace

int run_program(int argc, char** argv, const ProgramInfo& info, int (*run)(const Options&)) {
  open_closed_standard_descriptors();
  install_output_cleanup(info.name);
  ParsedCommandLine parsed;
  try {
    parsed = parse_command_line(argc, argv, info);
  } catch (const UsageError& e) {
    return usage_failure(info, e);
  }
  if (parsed.action == ParsedCommandLine::Action::kHelp) {
    const std::string help = help_text(info);
    std::fwrite(help.data(), 1, help.size(), stdout);
    return finish_stdout(info);
  }
  if (parsed.action == ParsedCommandLine::Action::kVersion) {
    print_text(fmt::format("{} (eclipsing binary tools) {}\n", info.name, toolset_version()));
    return finish_stdout(info);
  }
  try {
    const int status = run(parsed.options);
    check_console_output();
    return status;
  } catch (const UsageError& e) {
    return usage_failure(info, e);
  } catch (const std::exception& e) {
    // What the dialogue printed comes before the message that ends it.
    std::fflush(stdout);
    print_message(info, e.what());
    return 1;
  }
}

}  // namespace io
