#include "options.h"

#include <algorithm>

#include "catalogue_update.h"
#include "io/message_text.h"
#include "io/text.h"

namespace starimport {
namespace {

constexpr io::OptionSpec kOptions[] = {
    {"output", "FILE", "write the lines to FILE (replaced) instead of standard output", 'o'},
    {"format", "FORMAT",
     "gcvs, table, vsx-json, kreiner, tess, gaia or auto (default: decided from the content)"},
    {"column", "FIELD=NAME",
     "the table column NAME holds FIELD (name, ra, dec, type, max, min, min_flag, epoch, "
     "period, period_flag, passband, duration, epoch_error, period_error)",
     0, true},
    {"flag", "DIGIT", "select flag of every line, column 88 (default blank)"},
    {"label", "TEXT",
     "catalogue label, columns 90-93 (default GCVS, VSX, KREI, TESS, GAIA or TABL)"},
    {"types", "LIST", "main type codes kept, e.g. EA,EW, or all (default E,EA,EB,EW,EC,ED,ESD)"},
    {"passband", "BAND", "passband of the magnitudes preferred (default V)"},
    {"update", "FILE", "refresh the elements of the stars of FILE (a star.dat) in place"},
    {"add", "", "with --update: append the input's stars that FILE lacks"},
    {"today", "DATE",
     "with --update: the day (YYYY-MM-DD) after which the next minima are compared (default "
     "today, UTC)"},
};

/// Most characters of the catalogue label (columns 90-93).
constexpr std::size_t kLabelChars = 4;

[[noreturn]] void bad(std::string_view option, std::string_view value, std::string_view why) {
  throw io::UsageError("--" + std::string(option) + ": '" + io::escape_for_message(value) + "' " +
                       std::string(why));
}

std::vector<std::string> type_list(const std::string& list) {
  if (list == "all") return {};
  std::vector<std::string> types;
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = list.find(',', start);
    std::string code = list.substr(start, comma == std::string::npos ? comma : comma - start);
    if (code.empty() || !io::all_printable_ascii(code) || code.find(' ') != std::string::npos) {
      bad("types", list, "is not a comma-separated list of type codes (or all)");
    }
    types.push_back(std::move(code));
    if (comma == std::string::npos) return types;
    start = comma + 1;
  }
}

/// --update and the options that go with it.
void refresh_settings(const io::Options& options, ImportSettings& s) {
  s.update = options.value("update");
  s.add = options.has("add");
  if (s.update) {
    if (s.update->empty()) bad("update", *s.update, "is not a file name");
    if (s.output) throw io::UsageError("--update writes its FILE itself: -o is not taken with it");
  } else {
    for (const char* option : {"add", "today"}) {
      if (options.has(option)) {
        throw io::UsageError("--" + std::string(option) + " is taken only with --update");
      }
    }
  }
  if (const auto today = options.value("today")) {
    s.today_jd = jd_of_date_text(*today);
    if (!s.today_jd) bad("today", *today, "is not a date YYYY-MM-DD (from 1583 on)");
  }
}

}  // namespace

std::span<const io::OptionSpec> import_options() { return kOptions; }

ImportSettings import_settings(const io::Options& options) {
  ImportSettings s;
  if (const auto format = options.value("format"); format && *format != "auto") {
    s.format = format_of_name(*format);
    if (!s.format)
      bad("format", *format, "is not gcvs, table, vsx-json, kreiner, tess, gaia or auto");
  }
  for (const std::string& mapping : options.values("column")) {
    const std::size_t equals = mapping.find('=');
    const std::optional<Column> column = equals == std::string::npos
                                             ? std::nullopt
                                             : column_of_field_name(mapping.substr(0, equals));
    if (!column || equals + 1 == mapping.size()) {
      bad("column", mapping, "is not FIELD=NAME with a FIELD of the list in --help");
    }
    s.table.named.emplace_back(*column, mapping.substr(equals + 1));
  }
  if (const auto flag = options.value("flag")) {
    if (flag->size() != 1 || (*flag)[0] < '0' || (*flag)[0] > '9')
      bad("flag", *flag, "is not one digit");
    s.conversion.select_flag = (*flag)[0];
  }
  if (const auto label = options.value("label")) {
    if (label->size() > kLabelChars || !io::all_printable_ascii(*label)) {
      bad("label", *label, "is not at most 4 printable characters");
    }
    s.label = *label;
  }
  s.conversion.types = type_list(options.value("types").value_or(kDefaultTypes));
  s.table.need_type = !s.conversion.types.empty();
  if (const auto band = options.value("passband")) {
    if (band->empty() || !io::all_printable_ascii(*band) || band->find(' ') != std::string::npos) {
      bad("passband", *band, "is not a passband name");
    }
    s.conversion.passband = *band;
  }
  if (const auto output = options.value("output")) {
    if (output->empty()) bad("output", *output, "is not a file name");
    s.output = *output;
  }
  refresh_settings(options, s);
  s.inputs = options.operands;
  if (s.inputs.empty()) s.inputs.emplace_back("-");
  if (std::count(s.inputs.begin(), s.inputs.end(), "-") > 1) {
    throw io::UsageError("standard input ('-') named more than once");
  }
  return s;
}

}  // namespace starimport
