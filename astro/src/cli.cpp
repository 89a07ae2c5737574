#include "astro/cli.h"

#include "astro/console.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

namespace astro {

std::string_view toolset_version() { return EBT_VERSION; }

namespace {

/// Exit status of an answer to --help or --version: 0 when it reached standard
/// output, 1 with a message when it did not (a full disk, a closed pipe).
int finish_stdout(const ProgramInfo& info) {
  if (std::fflush(stdout) == 0 && std::ferror(stdout) == 0) return 0;
  const int error = errno;
  std::fprintf(stderr, "%.*s: cannot write to standard output: %s\n",
               static_cast<int>(info.name.size()), info.name.data(), std::strerror(error));
  return 1;
}

}  // namespace

std::optional<int> handle_arguments(int argc, char** argv, const ProgramInfo& info) {
  if (argc <= 1) return std::nullopt;
  const std::string_view arg = argv[1];
  const bool known = arg == "--help" || arg == "--version";
  if (argc == 2 && arg == "--help") {
    std::fwrite(info.usage.data(), 1, info.usage.size(), stdout);
    return finish_stdout(info);
  }
  if (argc == 2 && arg == "--version") {
    std::printf("%.*s (eclipsing binary tools) %.*s\n", static_cast<int>(info.name.size()),
                info.name.data(), static_cast<int>(toolset_version().size()),
                toolset_version().data());
    return finish_stdout(info);
  }
  // After --help or --version the argument at fault is the one that follows.
  std::fprintf(stderr, "%.*s: unknown argument '%s'\n", static_cast<int>(info.name.size()),
               info.name.data(), known ? argv[2] : argv[1]);
  std::fwrite(info.usage.data(), 1, info.usage.size(), stderr);
  return 2;
}

int run_program(int argc, char** argv, const ProgramInfo& info, int (*run)()) {
  if (auto status = handle_arguments(argc, argv, info)) return *status;
  try {
    const int status = run();
    check_console_output();
    return status;
  } catch (const std::exception& e) {
    // What the dialogue printed comes before the message that ends it.
    std::fflush(stdout);
    std::fprintf(stderr, "%.*s: %s\n", static_cast<int>(info.name.size()), info.name.data(),
                 e.what());
    return 1;
  }
}

}  // namespace astro
