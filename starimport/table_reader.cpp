#include "table_reader.h"

#include <algorithm>
#include <initializer_list>

#include <fmt/format.h>

#include "io/message_text.h"
#include "io/text.h"

namespace starimport {
namespace {

/// The header names a field is found by, in order of preference, compared in any
/// case: VSX's names in VizieR (B/vsx), the VSX web service's, the GCVS's, plain ones.
struct ColumnNames {
  Column column;
  std::string_view field;  ///< the --column name
  std::initializer_list<std::string_view> names;
};

const ColumnNames kColumnNames[kColumnCount] = {
    {Column::name, "name", {"Name", "VarName", "Designation", "Star"}},
    {Column::ra, "ra", {"RAJ2000", "RAdeg", "RA2000", "_RAJ2000", "RA", "RA_ICRS"}},
    {Column::dec,
     "dec",
     {"DEJ2000", "DEdeg", "Declination2000", "_DEJ2000", "Dec", "DE", "DE_ICRS"}},
    {Column::type, "type", {"Type", "VarType", "VariabilityType"}},
    {Column::max, "max", {"max", "magMax", "MaxMag"}},
    {Column::min, "min", {"min", "Min1", "magMin", "MinMag"}},
    {Column::min_flag, "min_flag", {"f_min", "f_Min1"}},
    {Column::epoch, "epoch", {"Epoch", "E0", "HJD0"}},
    {Column::period, "period", {"Period", "P"}},
    {Column::period_flag, "period_flag", {"l_Period"}},
    {Column::passband, "passband", {"n_max", "Passband", "Band"}},
    // No table is known to hold the duration in percent of the period: VizieR's B/vsx has
    // none, and tables stored from the VSX service hold their own units under
    // EclipseDuration. It is read only from a column named with --column.
    {Column::duration, "duration", {}},
    {Column::epoch_error, "epoch_error", {"e_Epoch", "e_E0", "e_HJD0"}},
    {Column::period_error, "period_error", {"e_Period", "e_P"}},
    {Column::max_limit, "", {"l_max"}},
    {Column::min_limit, "", {"l_min", "l_Min1"}},
    {Column::min_passband, "", {"n_min"}},
};

/// Header names that only VSX tables carry (the l_, n_, f_ flag columns are VizieR's
/// for many catalogues).
constexpr std::string_view kVsxOnlyNames[] = {"OID", "AUID", "VariabilityType", "MaxMag", "MinMag"};

/// VizieR's flag columns of VSX (B/vsx). A table exported without the object id is still
/// VSX's when it has VSX's own "Name" and "Type" (the GCVS in VizieR says VarName and
/// VarType) and at least kVizierVsxFlagsNeeded of these.
constexpr std::string_view kVizierVsxFlagNames[] = {"l_max",    "u_max",   "n_max", "f_min",
                                                    "l_min",    "u_min",   "n_min", "u_Epoch",
                                                    "l_Period", "u_Period"};
constexpr std::size_t kVizierVsxFlagsNeeded = 3;

char delimiter_char(Delimiter d) {
  switch (d) {
    case Delimiter::tab:
      return '\t';
    case Delimiter::pipe:
      return '|';
    case Delimiter::comma:
      return ',';
    case Delimiter::semicolon:
      return ';';
    case Delimiter::blanks:
      break;
  }
  return '\0';  // never met: blanks are found by is_blank_char
}

bool is_blank_char(char c) { return c == ' ' || c == '\t'; }

std::string field_text(const std::vector<std::string>& fields, const ColumnMap& columns, Column c) {
  const std::optional<std::size_t>& i = columns[c];
  return i && *i < fields.size() ? fields[*i] : std::string();
}

char first_of(const std::string& text, std::string_view marks) {
  const std::size_t at = text.find_first_of(marks);
  return at == std::string::npos ? '\0' : text[at];
}

}  // namespace

std::optional<std::size_t> find_header(const std::vector<std::string>& header,
                                       std::string_view name) {
  // An exact match first: a table may hold "Min" and "min" for different things.
  for (std::size_t i = 0; i < header.size(); ++i) {
    if (header[i] == name) return i;
  }
  for (std::size_t i = 0; i < header.size(); ++i) {
    if (io::same_ignoring_case(header[i], name)) return i;
  }
  return std::nullopt;
}

Delimiter detect_delimiter(std::string_view header) {
  if (header.find('\t') != std::string_view::npos) return Delimiter::tab;
  if (header.find('|') != std::string_view::npos) return Delimiter::pipe;
  if (header.find(',') != std::string_view::npos) return Delimiter::comma;
  if (header.find(';') != std::string_view::npos) return Delimiter::semicolon;
  return Delimiter::blanks;
}

std::string_view delimiter_name(Delimiter delimiter) {
  switch (delimiter) {
    case Delimiter::tab:
      return "tab-separated";
    case Delimiter::pipe:
      return "'|'-separated";
    case Delimiter::comma:
      return "comma-separated";
    case Delimiter::semicolon:
      return "semicolon-separated";
    case Delimiter::blanks:
      break;
  }
  return "blank-separated";
}

SplitRow split_row(std::string_view text, Delimiter delimiter) {
  const char sep = delimiter_char(delimiter);
  const bool by_blanks = delimiter == Delimiter::blanks;
  std::string_view rest = trim(text);
  if (delimiter == Delimiter::pipe && rest.size() >= 2 && rest.front() == '|' &&
      rest.back() == '|') {
    rest = rest.substr(1, rest.size() - 2);
  }
  SplitRow row;
  std::size_t i = 0;
  const auto skip_blanks = [&] {
    while (i < rest.size() && is_blank_char(rest[i]) && rest[i] != sep) ++i;
  };
  while (true) {
    skip_blanks();
    std::string field;
    if (i < rest.size() && rest[i] == '"') {
      ++i;
      while (true) {
        if (i == rest.size()) {
          row.quotes = RowQuotes::open;
          return row;
        }
        if (rest[i] == '"') {
          if (i + 1 < rest.size() && rest[i + 1] == '"') {
            field += '"';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        field += rest[i++];
      }
      skip_blanks();
      if (i < rest.size() && !(by_blanks || rest[i] == sep)) {
        row.quotes = RowQuotes::text_after_close;
        return row;
      }
    } else {
      const std::size_t start = i;
      while (i < rest.size() && (by_blanks ? !is_blank_char(rest[i]) : rest[i] != sep)) ++i;
      field = std::string(trim(rest.substr(start, i - start)));
      if (field.find('"') != std::string::npos) row.quote_in_plain_field = true;
    }
    row.fields.push_back(std::move(field));
    if (by_blanks) {
      skip_blanks();
      if (i >= rest.size()) break;
    } else {
      if (i >= rest.size()) break;
      ++i;  // the delimiter
    }
  }
  return row;
}

std::optional<std::vector<std::string>> split_fields(std::string_view line, Delimiter delimiter) {
  SplitRow row = split_row(line, delimiter);
  if (row.quotes != RowQuotes::closed) return std::nullopt;
  return std::move(row.fields);
}

bool is_dash_row(const std::vector<std::string>& fields) {
  bool dashes = false;
  for (const std::string& f : fields) {
    if (f.find_first_not_of('-') != std::string::npos) return false;
    dashes = dashes || !f.empty();
  }
  return dashes;
}

std::string_view column_field_name(Column column) {
  return kColumnNames[static_cast<std::size_t>(column)].field;
}

std::optional<Column> column_of_field_name(std::string_view field) {
  for (std::size_t i = 0; i < kNamedColumnCount; ++i) {
    if (kColumnNames[i].field == field) return kColumnNames[i].column;
  }
  return std::nullopt;
}

std::variant<ColumnMap, std::string> map_columns(
    const std::vector<std::string>& header,
    const std::vector<std::pair<Column, std::string>>& named, bool need_type) {
  ColumnMap map;
  map.header_fields = header.size();
  for (const auto& [column, name] : named) {
    const std::optional<std::size_t> i = find_header(header, name);
    if (!i) {
      const std::string shown = io::escape_for_message(name);
      std::string message = "no column '" + shown + "' (named by --column ";
      message += column_field_name(column);
      message += "=" + shown + ")";
      return message;
    }
    map.index[static_cast<std::size_t>(column)] = i;
  }
  for (const ColumnNames& names : kColumnNames) {
    auto& slot = map.index[static_cast<std::size_t>(names.column)];
    for (auto n = names.names.begin(); !slot && n != names.names.end(); ++n) {
      slot = find_header(header, *n);
    }
  }
  for (Column needed :
       {Column::name, Column::ra, Column::dec, Column::type, Column::epoch, Column::period}) {
    if (needed == Column::type && !need_type) continue;
    if (map[needed]) continue;
    const ColumnNames& names = kColumnNames[static_cast<std::size_t>(needed)];
    std::string looked;
    for (std::string_view n : names.names) looked += (looked.empty() ? "" : ", ") + std::string(n);
    return "no " + std::string(names.field) + " column (looked for " + looked +
           "; name it with --column " + std::string(names.field) + "=NAME)";
  }
  map.vsx_names = has_vsx_names(header);
  return map;
}

bool has_vsx_names(const std::vector<std::string>& header) {
  const auto has = [&](std::string_view n) { return find_header(header, n).has_value(); };
  if (std::any_of(std::begin(kVsxOnlyNames), std::end(kVsxOnlyNames), has)) return true;
  if (!has("Name") || !has("Type")) return false;
  const auto flags =
      std::count_if(std::begin(kVizierVsxFlagNames), std::end(kVizierVsxFlagNames), has);
  return static_cast<std::size_t>(flags) >= kVizierVsxFlagsNeeded;
}

std::variant<SourceRecord, std::string> read_table_row(const std::vector<std::string>& fields,
                                                       const ColumnMap& columns, long number) {
  if (fields.size() > columns.header_fields) {
    return fmt::format("row has {} fields, the header {}", fields.size(), columns.header_fields);
  }
  const auto text = [&](Column c) { return field_text(fields, columns, c); };
  SourceRecord r;
  r.line = number;
  r.name = text(Column::name);
  r.ra = text(Column::ra);
  r.dec = text(Column::dec);
  r.type = text(Column::type);
  r.epoch = text(Column::epoch);
  r.period = text(Column::period);
  r.period_limit = first_of(text(Column::period_flag), "<>(");
  r.duration = text(Column::duration);
  r.epoch_error = text(Column::epoch_error);
  r.period_error = text(Column::period_error);

  // A magnitude column may hold the marks and the passband itself ("(0.75) r");
  // VizieR gives them in columns of their own.
  r.max = parse_magnitude_text(text(Column::max));
  r.min = parse_magnitude_text(text(Column::min));
  if (const char mark = first_of(text(Column::max_limit), "<>")) r.max.limit = mark;
  if (const char mark = first_of(text(Column::min_limit), "<>")) r.min.limit = mark;
  if (text(Column::min_flag).find('(') != std::string::npos) r.min.amplitude = true;
  const std::string passband = text(Column::passband);
  const std::string min_passband = text(Column::min_passband);
  if (r.max.passband.empty()) r.max.passband = passband;
  if (r.min.passband.empty()) r.min.passband = min_passband.empty() ? passband : min_passband;
  return r;
}

}  // namespace starimport
