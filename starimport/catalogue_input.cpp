#include "catalogue_input.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include <fmt/format.h>

#include "formats/records.h"
#include "gcvs_reader.h"
#include "io/message_text.h"
#include "vsx_json.h"

namespace starimport {
namespace {

bool is_comment(std::string_view line) { return trim(line).starts_with('#'); }

/// Why a line cut by the reader gives no record.
std::string cut_line_reason() {
  return fmt::format("line longer than {} bytes", io::kMaxKeptLineBytes);
}

}  // namespace

std::string_view format_name(Format format) {
  switch (format) {
    case Format::gcvs:
      return "gcvs";
    case Format::table:
      return "table";
    case Format::kreiner:
      return "kreiner";
    case Format::tess:
      return "tess";
    case Format::gaia:
      return "gaia";
    case Format::vsx_json:
      break;
  }
  return "vsx-json";
}

std::optional<Format> format_of_name(std::string_view name) {
  for (Format f : {Format::gcvs, Format::table, Format::vsx_json, Format::kreiner, Format::tess,
                   Format::gaia}) {
    if (format_name(f) == name) return f;
  }
  return std::nullopt;
}

Format detect_format(std::string_view first_line) {
  const std::string_view text = trim(first_line);
  if (text.starts_with('{') || text.starts_with('[')) return Format::vsx_json;
  if (has_gcvs_separators(first_line)) return Format::gcvs;
  return Format::table;
}

CatalogueInput::CatalogueInput(const std::string& path, std::string shown,
                               std::optional<Format> format, const TableRequest& request)
    : shown_(std::move(shown)), reader_(path) {
  Line first;
  // Blank lines before the first record are passed over in every format.
  while (reader_.next(first.text)) {
    first.number = reader_.line_number();
    first.cut = reader_.line_was_cut();
    if (!formats::is_blank(first.text)) {
      pending_.push_back(std::move(first));
      break;
    }
  }
  format_ = format             ? *format
            : pending_.empty() ? Format::table
                               : detect_format(pending_.front().text);
  if (format_ != Format::vsx_json) {
    read_ahead(kKreinerLinesAhead);
    if (!format && kreiner_lines_ahead()) format_ = Format::kreiner;
  }
  if (format_ == Format::vsx_json) {
    read_json(path);
  } else if (format_ == Format::kreiner) {
    skip_kreiner_header();
  } else if (format_ != Format::gcvs) {
    read_table_header(request, !format);
  }
}

void CatalogueInput::read_ahead(std::size_t count) {
  Line line;
  for (std::size_t k = 0; k < count && reader_.next(line.text); ++k) {
    line.number = reader_.line_number();
    line.cut = reader_.line_was_cut();
    pending_.push_back(line);
  }
}

bool CatalogueInput::kreiner_lines_ahead() const {
  return std::any_of(pending_.begin(), pending_.end(), [](const Line& line) {
    return !line.cut && (is_kreiner_header_end(line.text) || is_kreiner_first_line(line.text));
  });
}

void CatalogueInput::skip_kreiner_header() {
  const auto end = std::find_if(pending_.begin(), pending_.end(), [](const Line& line) {
    return !line.cut && is_kreiner_header_end(line.text);
  });
  if (end == pending_.end()) return;
  pending_.erase(pending_.begin(), end + 1);
  if (!pending_.empty() && !pending_.front().text.empty() &&
      pending_.front().text.find_first_not_of('^') == std::string::npos) {
    pending_.pop_front();
  }
}

std::optional<std::pair<long, std::variant<KreinerRecord, std::string>>>
CatalogueInput::read_kreiner() {
  Line first;
  if (!next_line(first)) return std::nullopt;
  if (first.cut) return std::pair(first.number, cut_line_reason());
  if (!is_kreiner_first_line(first.text)) {
    return std::pair(first.number, read_kreiner_record(first.text, "", first.number));
  }
  Line second;
  if (!next_line(second)) {
    return std::pair(first.number, std::string("the record's second line is missing"));
  }
  if (second.cut || is_kreiner_first_line(second.text)) {
    // That line is read again as the start of the next record.
    pending_.push_front(std::move(second));
    return std::pair(first.number, std::string("the record's second line is missing"));
  }
  return std::pair(first.number, read_kreiner_record(first.text, second.text, first.number));
}

bool CatalogueInput::next_kreiner(InputItem& item) {
  if (kreiner_ahead_.empty()) {
    auto read = read_kreiner();
    if (!read) return false;
    kreiner_ahead_.push_back(std::move(*read));
  }
  auto [line, current] = std::move(kreiner_ahead_.front());
  kreiner_ahead_.pop_front();
  item.line = line;
  auto* record = std::get_if<KreinerRecord>(&current);
  if (record == nullptr) {
    item.record = std::move(std::get<std::string>(current));
    return true;
  }
  if (record->minima != KreinerMinima::all && kreiner_ahead_.empty()) {
    if (auto read = read_kreiner()) kreiner_ahead_.push_back(std::move(*read));
  }
  const KreinerRecord* beside =
      kreiner_ahead_.empty() ? nullptr : std::get_if<KreinerRecord>(&kreiner_ahead_.front().second);
  // A star's PRI and SEC records stand one after the other, in either order.
  const bool pair = beside != nullptr && record->minima != KreinerMinima::all &&
                    beside->minima != KreinerMinima::all && beside->minima != record->minima &&
                    same_kreiner_star(*record, *beside);
  if (pair) {
    const bool primary_first = record->minima == KreinerMinima::primary;
    const KreinerRecord& primary = primary_first ? *record : *beside;
    const KreinerRecord& secondary = primary_first ? *beside : *record;
    item.record = kreiner_source_record(primary, secondary);
    kreiner_ahead_.pop_front();
    return true;
  }
  if (record->minima == KreinerMinima::secondary) {
    item.record =
        "a SEC record without the PRI record of its star beside it: its M0 is a "
        "secondary minimum";
    return true;
  }
  item.record = kreiner_source_record(*record, std::nullopt);
  return true;
}

bool CatalogueInput::next_raw_line(Line& line) {
  if (!pending_.empty()) {
    line = std::move(pending_.front());
    pending_.pop_front();
    return true;
  }
  if (!reader_.next(line.text)) return false;
  line.number = reader_.line_number();
  line.cut = reader_.line_was_cut();
  return true;
}

bool CatalogueInput::next_line(Line& line) {
  while (next_raw_line(line)) {
    if (formats::is_blank(line.text)) continue;
    if (format_ == Format::table && is_comment(line.text)) continue;
    return true;
  }
  return false;
}

void CatalogueInput::read_table_header(const TableRequest& request, bool survey_from_header) {
  Line header;
  // An empty file has no records to give; it is no failure.
  if (!next_line(header)) return;
  const std::string at = fmt::format("{}:{}", io::escape_for_message(shown_), header.number);
  if (header.cut) throw io::RunError(at + ": header row " + cut_line_reason());
  delimiter_ = detect_delimiter(header.text);
  const std::optional<std::vector<std::string>> names = split_fields(header.text, delimiter_);
  if (!names) throw io::RunError(at + ": header row has an unclosed quote");
  if (survey_from_header) {
    if (const std::optional<Survey> survey = survey_of_header(*names)) {
      format_ = *survey == Survey::gaia ? Format::gaia : Format::tess;
    }
  }
  if (format_ == Format::tess || format_ == Format::gaia) {
    std::variant<SurveyColumns, std::string> map =
        map_survey_columns(format_ == Format::gaia ? Survey::gaia : Survey::tess, *names);
    if (auto* problem = std::get_if<std::string>(&map)) {
      throw io::RunError(io::escape_for_message(shown_) + ": " + *problem);
    }
    survey_columns_ = std::get<SurveyColumns>(map);
  } else {
    std::variant<ColumnMap, std::string> map =
        map_columns(*names, request.named, request.need_type);
    if (auto* problem = std::get_if<std::string>(&map)) {
      throw io::RunError(io::escape_for_message(shown_) + ": " + *problem);
    }
    columns_ = std::get<ColumnMap>(map);
  }
  // VizieR writes a row of units and a row of dashes under the header: a row of
  // dashes as the first or the second row below it ends the header.
  Line below[2];
  std::size_t got = 0;
  while (got < 2 && next_line(below[got])) ++got;
  std::size_t header_rows = 0;
  for (std::size_t k = 0; k < got; ++k) {
    const auto fields = split_fields(below[k].text, delimiter_);
    if (fields && is_dash_row(*fields)) {
      header_rows = k + 1;
      break;
    }
  }
  for (std::size_t k = got; k > header_rows; --k) pending_.push_front(std::move(below[k - 1]));
}

void CatalogueInput::read_json(const std::string& path) {
  pending_.clear();
  json_file_ = io::open_input_file(path);
  json_ = std::make_unique<VsxJsonReader>(json_file_.get(), io::escape_for_message(shown_));
  if (std::optional<JsonFailure> failure = json_->check()) throw_json_failure(*failure);
}

void CatalogueInput::throw_json_failure(const JsonFailure& failure) const {
  const std::string shown = io::escape_for_message(shown_);
  throw io::RunError(
      failure.line > 0
          ? fmt::format("{}:{}: {}", shown, failure.line, io::escape_for_message(failure.message))
          : fmt::format("{}: {}", shown, io::escape_for_message(failure.message)));
}

bool CatalogueInput::next(InputItem& item) {
  if (format_ == Format::vsx_json) {
    SourceRecord record;
    if (!json_->next(record)) {
      if (json_->failure()) throw_json_failure(*json_->failure());
      return false;
    }
    item.line = record.line;
    item.record = std::move(record);
    return true;
  }
  if (format_ == Format::kreiner) return next_kreiner(item);
  Line line;
  if (!next_line(line)) return false;
  item.line = line.number;
  if (line.cut) {
    item.record = cut_line_reason();
    return true;
  }
  if (format_ == Format::gcvs) {
    item.record = read_gcvs_record(line.text, line.number);
    return true;
  }
  item.record = read_row(line);
  return true;
}

std::variant<SourceRecord, std::string> CatalogueInput::read_row(const Line& first) {
  const std::string unclosed = "a quote is not closed, or text follows a closing quote";
  SplitRow row = split_row(first.text, delimiter_);
  if (unclosed_quote_line_ > 0 && std::count(first.text.begin(), first.text.end(), '"') % 2 != 0) {
    // After a quote that was never closed, the next line with an odd number of quotes
    // may hold the rest of that quoted field and the rest of its record: such a line
    // is no record of its own.
    const long opened = std::exchange(unclosed_quote_line_, 0);
    if (row.quote_in_plain_field) {
      return fmt::format(
          "a quote in a field that does not start with one (the end of the quoted field "
          "opened on line {}?)",
          opened);
    }
  }
  // A quoted field open at the end of the line goes on on the next lines.
  std::vector<Line> taken;
  std::string text = first.text;
  bool too_long = false;
  while (row.quotes == RowQuotes::open) {
    Line next;
    if (!next_raw_line(next)) break;
    taken.push_back(std::move(next));
    const Line& added = taken.back();
    too_long = added.cut || text.size() + 1 + added.text.size() > kMaxRowBytes;
    if (too_long) break;
    text += '\n';
    text += added.text;
    row = split_row(text, delimiter_);
  }
  if (row.quotes != RowQuotes::closed) {
    // The lines taken are read again as rows: a stray quote costs only its own line.
    for (auto line = taken.rbegin(); line != taken.rend(); ++line) {
      pending_.push_front(std::move(*line));
    }
    if (!taken.empty()) unclosed_quote_line_ = first.number;
    if (too_long) {
      return fmt::format("a quoted field is not closed within {} bytes", kMaxRowBytes);
    }
    return unclosed;
  }
  const bool survey = format_ == Format::tess || format_ == Format::gaia;
  if (!taken.empty() && survey) {
    for (const std::optional<std::size_t>& at : survey_columns_.index) {
      if (at && *at < row.fields.size() && row.fields[*at].find('\n') != std::string::npos) {
        return fmt::format("a field holds a line end (a quoted field over lines {}-{})",
                           first.number, taken.back().number);
      }
    }
  }
  if (survey) return read_survey_row(row.fields, survey_columns_, first.number);
  if (!taken.empty()) {
    // A line end may not stand in a star.dat line: the record is refused when one of the
    // fields it is read from holds one.
    for (std::size_t c = 0; c < kColumnCount; ++c) {
      const std::optional<std::size_t>& at = columns_.index[c];
      if (!at || *at >= row.fields.size() || row.fields[*at].find('\n') == std::string::npos) {
        continue;
      }
      const std::string_view field = column_field_name(static_cast<Column>(c));
      return fmt::format("the {} field holds a line end (a quoted field over lines {}-{})",
                         field.empty() ? "flag" : field, first.number, taken.back().number);
    }
  }
  return read_table_row(row.fields, columns_, first.number);
}

std::string CatalogueInput::how_read() const {
  std::string how(format_name(format_));
  if (format_ == Format::table || format_ == Format::tess || format_ == Format::gaia)
    how += " (" + std::string(delimiter_name(delimiter_)) + ")";
  return how;
}

std::string_view CatalogueInput::default_label() const {
  switch (format_) {
    case Format::gcvs:
      return "GCVS";
    case Format::vsx_json:
      return "VSX";
    case Format::kreiner:
      return "KREI";
    case Format::tess:
      return "TESS";
    case Format::gaia:
      return "GAIA";
    case Format::table:
      break;
  }
  return columns_.vsx_names ? "VSX" : "TABL";
}

std::optional<astro::EpochScale> CatalogueInput::time_scale() const {
  switch (format_) {
    case Format::tess:
    case Format::gaia:
      return astro::EpochScale::kBjd;
    case Format::table:
      if (!columns_.vsx_names) return std::nullopt;
      break;
    case Format::gcvs:
    case Format::vsx_json:
    case Format::kreiner:
      break;
  }
  return astro::EpochScale::kHjd;
}

}  // namespace starimport
