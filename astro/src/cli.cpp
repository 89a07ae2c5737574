#include "astro/cli.h"

#include <cstdio>
#include <string>

namespace astro {

std::string_view toolset_version() { return EBT_VERSION; }

std::optional<int> handle_arguments(int argc, char** argv, const ProgramInfo& info) {
  if (argc <= 1) return std::nullopt;
  const std::string_view arg = argv[1];
  if (argc == 2 && arg == "--help") {
    std::fwrite(info.usage.data(), 1, info.usage.size(), stdout);
    return 0;
  }
  if (argc == 2 && arg == "--version") {
    std::printf("%.*s (eclipsing binary tools) %.*s\n", static_cast<int>(info.name.size()),
                info.name.data(), static_cast<int>(toolset_version().size()),
                toolset_version().data());
    return 0;
  }
  std::fprintf(stderr, "%.*s: unknown argument '%s'\n", static_cast<int>(info.name.size()),
               info.name.data(), argv[1]);
  std::fwrite(info.usage.data(), 1, info.usage.size(), stderr);
  return 2;
}

}  // namespace astro
