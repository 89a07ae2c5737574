#pragma once
/// Replies of the VSX web service in JSON: {"VSXObject": {...}}, {"VSXObjects":
/// {"VSXObject": [...]}}, their empty forms, or a bare object or list of objects.

#include <cstddef>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "source_record.h"

namespace starimport {

/// Why a JSON text gives no records: the message and the 1-based line at fault.
struct JsonFailure {
  long line = 0;
  std::string message;
};

/// Most levels of nesting taken; a reply has three.
inline constexpr int kMaxJsonDepth = 32;

/// The records of a VSX reply, read as a stream: memory does not grow with the text.
/// The text is read twice: check() reads it through, so that a text that is no reply
/// fails before any record is handed out; next() then reads the records one by one.
///
/// The records come in the order of the text, each with the line where its object
/// starts. Values are read as the text gives them (numbers keep their digits). Keys in
/// any case: Name, RA2000, Declination2000, VariabilityType, Period, Epoch, MaxMag,
/// MinMag ("2.0 V", "(0.20) V", "<13.14 V").
class VsxJsonReader {
 public:
  /// Reads `file` from where it stands now (after a byte-order mark, say); the caller
  /// keeps it open while the reader lives. `name` names the file in a read error
  /// (io::RunError "cannot read NAME: REASON").
  VsxJsonReader(std::FILE* file, std::string name);
  /// Reads `text`, which must outlive the reader.
  explicit VsxJsonReader(std::string_view text);
  ~VsxJsonReader();
  VsxJsonReader(const VsxJsonReader&) = delete;
  VsxJsonReader& operator=(const VsxJsonReader&) = delete;

  /// Reads the whole text: nothing when it is a VSX reply, else why not. Called once,
  /// before next().
  std::optional<JsonFailure> check();
  /// The next record, or false at the end. A text that no longer reads as it did in
  /// check() (the file changed) ends the records with failure() set.
  bool next(SourceRecord& record);
  const std::optional<JsonFailure>& failure() const;

 private:
  struct Reading;
  std::unique_ptr<Reading> reading_;
};

/// All the records of a VSX reply (see VsxJsonReader), or why the text gives none.
std::variant<std::vector<SourceRecord>, JsonFailure> read_vsx_json(std::string_view text);

}  // namespace starimport
