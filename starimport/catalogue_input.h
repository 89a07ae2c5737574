#pragma once
/// One catalogue file given to the importer: its format decided, its header read,
/// its records handed out one at a time.

#include <cstddef>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "astro/ephemeris.h"
#include "io/text_files.h"
#include "kreiner_reader.h"
#include "source_record.h"
#include "survey_tables.h"
#include "table_reader.h"
#include "vsx_json.h"

namespace starimport {

enum class Format { gcvs, table, vsx_json, kreiner, tess, gaia };

/// The --format name of a format ("vsx-json"), and the format of a name.
std::string_view format_name(Format format);
std::optional<Format> format_of_name(std::string_view name);

/// The format a file's first line that is not blank shows: '{' or '[' first is VSX
/// JSON, the '|' separators of the GCVS 5.1 table are the GCVS, anything else a table.
/// (Kreiner's files are told by the lines after it, and the surveys' tables by their
/// header row.)
Format detect_format(std::string_view first_line);

/// Lines read ahead of the records to find a Kreiner file: its header (16 lines in the
/// 2014 edition) and a record fit in them.
inline constexpr std::size_t kKreinerLinesAhead = 40;

/// Most bytes of a table row that spans lines (a quoted field holding line ends), line
/// ends counted: as many as a LineReader keeps of one line, so that a quote that is
/// never closed cannot take the rest of the file into memory.
inline constexpr std::size_t kMaxRowBytes = io::kMaxKeptLineBytes;

/// A record of the input, or why the lines at `line` give none.
struct InputItem {
  long line = 0;
  std::variant<SourceRecord, std::string> record;
};

/// How the columns of a table are to be found.
struct TableRequest {
  std::vector<std::pair<Column, std::string>> named;  ///< from --column, in order
  bool need_type = true;                              ///< false when every type is kept
};

class CatalogueInput {
 public:
  /// Opens `path` (named `shown` in messages, escaped there), decides the format (or takes
  /// `format`) and reads what comes before the records: a table's header and the
  /// lines under it; a JSON text is read through once to check it. Throws io::RunError
  /// naming the file when it cannot be read, a table lacks a needed column or a JSON
  /// text is not a VSX reply.
  CatalogueInput(const std::string& path, std::string shown, std::optional<Format> format,
                 const TableRequest& request);

  /// The next record, or false at the end of the input. A file without a line that
  /// is not blank (or, for a table, a comment) gives none.
  bool next(InputItem& item);

  Format format() const { return format_; }
  /// The name warnings give the file (not escaped).
  const std::string& shown() const { return shown_; }
  /// "gcvs", "table (tab-separated)", "vsx-json": how the file is read, for the user.
  std::string how_read() const;
  /// The catalogue label of its lines: GCVS, VSX (also for tables with VSX's column
  /// names), KREI, TESS, GAIA, TABL for other tables.
  std::string_view default_label() const;
  /// The time scale of the source's epochs: HJD for the GCVS, VSX and Kreiner's, BJD
  /// for the surveys', not known for other tables.
  std::optional<astro::EpochScale> time_scale() const;

 private:
  /// A line read ahead: its number, its text, whether it was cut (too long).
  struct Line {
    long number = 0;
    std::string text;
    bool cut = false;
  };

  /// The next line as it is (a line read ahead first).
  bool next_raw_line(Line& line);
  /// The next line that is not blank and, in a table, not a '#' comment.
  bool next_line(Line& line);
  /// The record of a table row starting with `first`, with the lines that follow while
  /// a quoted field is open (RFC 4180), or why it gives none.
  std::variant<SourceRecord, std::string> read_row(const Line& first);
  /// Reads `count` more lines ahead (blank ones too).
  void read_ahead(std::size_t count);
  /// True when a line read ahead is the end of a Kreiner header or a record's first line.
  bool kreiner_lines_ahead() const;
  /// Drops the lines up to the end of a Kreiner header (and the line of '^' under it)
  /// when it is among the lines read ahead.
  void skip_kreiner_header();
  /// The next record of a Kreiner file (its two lines), or why the lines give none.
  std::optional<std::pair<long, std::variant<KreinerRecord, std::string>>> read_kreiner();
  /// The next star of a Kreiner file: a record with the SEC record of the same star
  /// that stands next to it, when its own is PRI.
  bool next_kreiner(InputItem& item);
  /// `survey_from_header`: a table's header may make it the survey's whose names it has.
  void read_table_header(const TableRequest& request, bool survey_from_header);
  void read_json(const std::string& path);
  /// Throws io::RunError "FILE:LINE: message" for a JSON text that gives no records.
  [[noreturn]] void throw_json_failure(const JsonFailure& failure) const;

  std::string shown_;
  io::LineReader reader_;
  Format format_ = Format::table;
  std::deque<Line> pending_;
  Delimiter delimiter_ = Delimiter::tab;
  ColumnMap columns_;
  SurveyColumns survey_columns_;
  std::deque<std::pair<long, std::variant<KreinerRecord, std::string>>> kreiner_ahead_;
  /// The line of a quote that was never closed, its row refused and the lines after it
  /// read again as rows; 0 once a line with an odd number of quotes has come since.
  long unclosed_quote_line_ = 0;
  io::InputStream json_file_;
  std::unique_ptr<VsxJsonReader> json_;
};

}  // namespace starimport
