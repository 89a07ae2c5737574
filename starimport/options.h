#pragma once
/// The importer's command-line settings, checked before any file is touched.

#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "catalogue_input.h"
#include "conversion.h"
#include "io/cli.h"

namespace starimport {

/// The main type codes kept when --types is not given: every eclipsing type.
inline constexpr const char* kDefaultTypes = kEclipsingTypes;

struct ImportSettings {
  std::optional<Format> format;      ///< nothing: decided per file
  ConversionSettings conversion;     ///< label empty: each format's own
  std::optional<std::string> label;  ///< --label
  TableRequest table;
  std::optional<std::string> output;  ///< -o FILE
  std::vector<std::string> inputs;    ///< "-" for standard input
  std::optional<std::string> update;  ///< --update FILE: the catalogue refreshed
  bool add = false;                   ///< --add
  std::optional<double> today_jd;     ///< --today, Julian Date of 0 h UT
};

/// The options starimport takes (besides --help and --version).
std::span<const io::OptionSpec> import_options();

/// Reads and checks the options; throws io::UsageError naming the one at fault.
ImportSettings import_settings(const io::Options& options);

}  // namespace starimport
