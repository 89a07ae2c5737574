// A program with options that take values, so that the command-line handling of
// run_program is tried end to end before the real programs have such options.
#include <cstdio>
#include <string>

#include "io/cli.h"
#include "io/console.h"

namespace {

constexpr io::OptionSpec kOptions[] = {
    {"sun-below", "DEG", "the Sun's depression, degrees"},
    {"output", "FILE", "the output file", 'o'},
};

/// Prints the options it was given; a --sun-below that is not a number is a usage fault.
int run(const io::Options& options) {
  if (const auto deg = options.value("sun-below")) {
    if (deg->find_first_not_of("0123456789.") != std::string::npos || deg->empty()) {
      throw io::UsageError("--sun-below: '" + *deg + "' is not a number of degrees");
    }
  }
  io::prompt("answer = ");
  for (const auto& [name, value] : options.given)
    std::printf("%s=%s\n", name.c_str(), value.c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  static constexpr io::ProgramInfo kInfo{"optdemo", "Prints the options it is given.\n", kOptions};
  return io::run_program(argc, argv, kInfo, run);
}
