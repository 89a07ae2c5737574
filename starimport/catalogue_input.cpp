#include "catalogue_input.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "astro/records.h"
#include "gcvs_reader.h"
#include "vsx_json.h"

namespace starimport {
namespace {

/// The UTF-8 byte-order mark editors on Windows put before the first line.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool is_comment(std::string_view line) { return trim(line).starts_with('#'); }

/// The whole of a file as bytes, at most kMaxJsonBytes; CRs and what follows a
/// Ctrl-Z are not taken off (JSON allows CR, and has no Ctrl-Z).
std::string read_whole(const std::string& path, const std::string& shown) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    throw astro::RunError(shown + ": cannot open: " + std::strerror(errno));
  }
  std::string text;
  char block[1 << 16];
  std::size_t got = 0;
  while ((got = std::fread(block, 1, sizeof block, file)) > 0) {
    if (text.size() + got > kMaxJsonBytes) {
      std::fclose(file);
      throw astro::RunError(shown + ": JSON text larger than " +
                            std::to_string(kMaxJsonBytes >> 20) + " MiB");
    }
    text.append(block, got);
  }
  const bool failed = std::ferror(file) != 0;
  const int error = errno;
  std::fclose(file);
  if (failed) throw astro::RunError(shown + ": cannot read: " + std::strerror(error));
  if (text.starts_with(kByteOrderMark)) text.erase(0, kByteOrderMark.size());
  return text;
}

}  // namespace

std::string_view format_name(Format format) {
  switch (format) {
    case Format::gcvs: return "gcvs";
    case Format::table: return "table";
    case Format::vsx_json: break;
  }
  return "vsx-json";
}

std::optional<Format> format_of_name(std::string_view name) {
  for (Format f : {Format::gcvs, Format::table, Format::vsx_json}) {
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
  std::pair<long, std::string> first;
  // Blank lines before the first record are passed over in every format.
  while (reader_.next(first.second)) {
    first.first = reader_.line_number();
    if (first.first == 1 && first.second.starts_with(kByteOrderMark)) {
      first.second.erase(0, kByteOrderMark.size());
    }
    if (!astro::is_blank(first.second)) {
      pending_.push_back(std::move(first));
      break;
    }
  }
  format_ = format ? *format
                   : pending_.empty() ? Format::table : detect_format(pending_.front().second);
  if (format_ == Format::vsx_json) {
    read_json(path);
  } else if (format_ == Format::table) {
    read_table_header(request);
  }
}

bool CatalogueInput::next_line(std::pair<long, std::string>& line) {
  while (true) {
    if (!pending_.empty()) {
      line = std::move(pending_.front());
      pending_.pop_front();
    } else if (reader_.next(line.second)) {
      line.first = reader_.line_number();
    } else {
      return false;
    }
    if (astro::is_blank(line.second)) continue;
    if (format_ == Format::table && is_comment(line.second)) continue;
    return true;
  }
}

void CatalogueInput::read_table_header(const TableRequest& request) {
  std::pair<long, std::string> header;
  // An empty file has no records to give; it is no failure.
  if (!next_line(header)) return;
  delimiter_ = detect_delimiter(header.second);
  const std::optional<std::vector<std::string>> names = split_fields(header.second, delimiter_);
  if (!names) {
    throw astro::RunError(shown_ + ":" + std::to_string(header.first) +
                          ": header row has an unclosed quote");
  }
  std::variant<ColumnMap, std::string> map = map_columns(*names, request.named, request.need_type);
  if (auto* problem = std::get_if<std::string>(&map)) {
    throw astro::RunError(shown_ + ": " + *problem);
  }
  columns_ = std::get<ColumnMap>(map);
  // VizieR writes a row of units and a row of dashes under the header: a row of
  // dashes as the first or the second row below it ends the header.
  std::pair<long, std::string> below[2];
  std::size_t got = 0;
  while (got < 2 && next_line(below[got])) ++got;
  std::size_t header_rows = 0;
  for (std::size_t k = 0; k < got; ++k) {
    const auto fields = split_fields(below[k].second, delimiter_);
    if (fields && is_dash_row(*fields)) {
      header_rows = k + 1;
      break;
    }
  }
  for (std::size_t k = got; k > header_rows; --k) pending_.push_front(std::move(below[k - 1]));
}

void CatalogueInput::read_json(const std::string& path) {
  pending_.clear();
  const std::string text = read_whole(path, shown_);
  std::variant<std::vector<SourceRecord>, JsonFailure> read = read_vsx_json(text);
  if (auto* failure = std::get_if<JsonFailure>(&read)) {
    throw astro::RunError(shown_ + (failure->line > 0 ? ":" + std::to_string(failure->line) : "") +
                          ": " + failure->message);
  }
  json_records_ = std::move(std::get<std::vector<SourceRecord>>(read));
}

bool CatalogueInput::next(InputItem& item) {
  if (format_ == Format::vsx_json) {
    if (next_json_ == json_records_.size()) return false;
    item.line = json_records_[next_json_].line;
    item.record = std::move(json_records_[next_json_++]);
    return true;
  }
  std::pair<long, std::string> line;
  if (!next_line(line)) return false;
  item.line = line.first;
  if (format_ == Format::gcvs) {
    item.record = read_gcvs_record(line.second, line.first);
    return true;
  }
  const std::optional<std::vector<std::string>> fields = split_fields(line.second, delimiter_);
  if (!fields) {
    item.record = std::string("a quote is not closed, or text follows a closing quote");
  } else {
    item.record = read_table_row(*fields, columns_, line.first);
  }
  return true;
}

std::string CatalogueInput::how_read() const {
  std::string how(format_name(format_));
  if (format_ == Format::table) how += " (" + std::string(delimiter_name(delimiter_)) + ")";
  return how;
}

std::string_view CatalogueInput::default_label() const {
  switch (format_) {
    case Format::gcvs: return "GCVS";
    case Format::vsx_json: return "VSX";
    case Format::table: break;
  }
  return columns_.vsx_names ? "VSX" : "TABL";
}

}  // namespace starimport
