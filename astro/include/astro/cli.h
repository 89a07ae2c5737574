#pragma once
/// The command-line arguments every program of the toolset understands.

#include <optional>
#include <string_view>

namespace astro {

/// What a program says about itself for --help and --version.
struct ProgramInfo {
  std::string_view name;   ///< e.g. "eclfore"
  std::string_view usage;  ///< the --help text, ending with a line end
};

/// The toolset version, e.g. "1.0.0".
std::string_view toolset_version();

/// Handles the arguments: none gives nothing (the run goes on); --help prints the
/// usage on standard output (exit 0); --version prints name and version (exit 0);
/// anything else prints the usage on standard error (exit 2). When the answer to
/// --help or --version cannot be written (a full disk), a message and exit 1.
/// Returns the exit status when the run is to end here.
std::optional<int> handle_arguments(int argc, char** argv, const ProgramInfo& info);

/// The whole of a program's main: handles the arguments, then runs the entry routine
/// `run`. A failure it throws ends the run with "NAME: message" on standard error and
/// status 1, and so does console output that was lost. Returns the exit status.
int run_program(int argc, char** argv, const ProgramInfo& info, int (*run)());

}  // namespace astro
