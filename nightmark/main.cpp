#include "astro/cli.h"

int main(int argc, char** argv) {
  static constexpr astro::ProgramInfo kInfo{"nightmark", "usage: nightmark\n"};
  if (auto status = astro::handle_arguments(argc, argv, kInfo)) return *status;
  return 0;
}
