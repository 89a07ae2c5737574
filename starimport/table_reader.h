#pragma once
/// Delimited tables with a header row: TSV (VizieR's ASU-TSV too), CSV with quotes,
/// '|'-separated and blank-separated text (astropy's ECSV), the columns found by name.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "source_record.h"

namespace starimport {

/// What separates the fields of a row.
enum class Delimiter { tab, pipe, comma, semicolon, blanks };

/// The delimiter of a table, decided from its header row: a tab, else '|', else ',',
/// else ';', else runs of blanks.
Delimiter detect_delimiter(std::string_view header);

/// Words for the message that says how a table was read, e.g. "tab-separated".
std::string_view delimiter_name(Delimiter delimiter);

/// How the quotes of a row stand once it is split.
enum class RowQuotes {
  closed,            ///< every quoted field closed: the fields are whole
  open,              ///< a quoted field runs to the end of the text (it may go on on the next line)
  text_after_close,  ///< text follows a closing quote
};

/// A row cut into its fields.
struct SplitRow {
  std::vector<std::string> fields;  ///< whole only when `quotes` is closed
  RowQuotes quotes = RowQuotes::closed;
  bool quote_in_plain_field = false;  ///< a field that does not start with a quote holds one
};

/// The fields of a row, blanks around them dropped. A field may be quoted with '"'
/// ("" inside stands for one quote), also to hold the delimiter or, in a row that
/// spans lines (RFC 4180), a line end. A '|' row written between a leading and a
/// trailing '|' has neither taken for an empty field.
SplitRow split_row(std::string_view text, Delimiter delimiter);

/// The fields of split_row; nothing when a quote is not closed, or text follows a
/// closing quote.
std::optional<std::vector<std::string>> split_fields(std::string_view line, Delimiter delimiter);

/// True for a row of dashes under a header (every field dashes or empty, one at least
/// dashes), as VizieR writes one.
bool is_dash_row(const std::vector<std::string>& fields);

/// Where the header has the column `name`: the same name first, else in any case.
std::optional<std::size_t> find_header(const std::vector<std::string>& header,
                                       std::string_view name);

/// The fields a table's columns give. The first fourteen can be named with --column.
enum class Column {
  name,
  ra,
  dec,
  type,
  max,
  min,
  min_flag,
  epoch,
  period,
  period_flag,
  passband,
  duration,
  epoch_error,
  period_error,
  max_limit,
  min_limit,
  min_passband,
};
inline constexpr std::size_t kColumnCount = 17;
/// How many of the fields --column may name (the first ones of Column).
inline constexpr std::size_t kNamedColumnCount = 14;

/// The --column name of a field ("min_flag"), and the field of a --column name.
std::string_view column_field_name(Column column);
std::optional<Column> column_of_field_name(std::string_view field);

/// Where each field stands in a row (an index into the fields), when the table has it.
struct ColumnMap {
  std::array<std::optional<std::size_t>, kColumnCount> index;
  std::size_t header_fields = 0;
  bool vsx_names = false;  ///< has_vsx_names of the header
  const std::optional<std::size_t>& operator[](Column c) const {
    return index[static_cast<std::size_t>(c)];
  }
};

/// True when a header is VSX's: it has a name only VSX uses (OID, AUID, VariabilityType,
/// MaxMag, MinMag), or VSX's Name and Type with VizieR's flag columns of VSX (l_max, n_max,
/// f_min, u_Epoch, l_Period, ...: three of them at least). Such a table's epochs are HJD.
bool has_vsx_names(const std::vector<std::string>& header);

/// Finds the columns in the header's fields: a --column mapping (FIELD, NAME) first, then
/// the names VSX, the GCVS and plain tables use, any case. Fails with a message naming
/// the missing column when a needed one is not there: name, ra, dec, epoch and period,
/// and type unless `need_type` is false (every type kept).
std::variant<ColumnMap, std::string> map_columns(
    const std::vector<std::string>& header,
    const std::vector<std::pair<Column, std::string>>& named, bool need_type);

/// The record of a data row, or why the row cannot be read.
std::variant<SourceRecord, std::string> read_table_row(const std::vector<std::string>& fields,
                                                       const ColumnMap& columns, long number);

}  // namespace starimport
