#pragma once
/// A JSON text handed to nlohmann's SAX parser in pieces, so that memory stays bounded
/// however long the text.

#include <cstddef>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "vsx_json.h"

namespace starimport {

using JsonSax = nlohmann::json_sax<nlohmann::json>;

/// Longest string or number of a JSON text taken, bytes: far above any value of a reply.
/// The parser holds a value whole, so a longer one fails the text.
inline constexpr std::size_t kMaxJsonValueBytes = std::size_t{1} << 16;

/// A JSON text read from a file (or from memory) and parsed as a stream of SAX events.
///
/// The parser keeps every byte it reads after the last string or number (its messages
/// quote them as "last read"), so a long run of brackets and blanks, [{},{},...], would
/// stay whole in its memory. The stream therefore ends a piece between two tokens once
/// it has handed on kPieceBytes, and starts the next piece with a few bytes that put a
/// fresh parser where the last one stood ("[null," in a list after a comma). Their events
/// are not handed on; the parser's messages are given the lines and columns of the text
/// and quote none of them. A string or a number longer than kMaxJsonValueBytes fails the
/// text.
class JsonStream {
 public:
  /// Reads `file` from where it stands now; `name` names it in a read error.
  JsonStream(std::FILE* file, std::string name);
  /// Reads `text`, which must outlive the stream.
  explicit JsonStream(std::string_view text);

  /// Back to the start of the text, for another reading; throws io::RunError "cannot
  /// read NAME: REASON" when the file cannot be wound back.
  void restart();
  /// Parses the text on from where the last call stopped, handing every event to
  /// `handler`. True when it stopped for pause_soon() with more to read; false at the end
  /// of the text, after a failure (failure() set), or when the handler stopped the parse.
  /// Throws io::RunError "cannot read NAME: REASON" on a read error.
  bool parse_on(JsonSax& handler);
  /// Makes parse_on() return after the token being read.
  void pause_soon() { cut_after_bytes_ = 0; }
  /// The line of the byte last read: in start_object(), the line of its '{'.
  long line() const;
  const std::optional<JsonFailure>& failure() const { return failure_; }

  /// Bytes handed to one parser before the stream looks for a place to end the piece.
  static constexpr std::size_t kPieceBytes = std::size_t{1} << 16;

 private:
  class Relay;
  class Iterator;
  /// What the last token outside a string was.
  enum class Last { none, open_array, open_object, colon, comma, key, value };

  bool piece_ended();
  char current() const { return prefix_at_ < prefix_.size() ? prefix_[prefix_at_] : data_[at_]; }
  void advance();
  bool fill();
  /// The bytes that put a fresh parser inside a container ('[' or '{') as `last` left it.
  static std::string_view resume_bytes(char container, Last last);
  void start_piece();
  /// The 1-based line of the byte at `offset`, one of the last bytes read.
  long line_before(long long offset) const;
  /// The parser's failure at its byte `parser_byte` with the message `what`, told in the
  /// lines, columns and bytes of the text.
  JsonFailure parse_failure(std::size_t parser_byte, std::string what) const;

  std::FILE* file_ = nullptr;
  std::string name_;
  long start_ = 0;  ///< where the text starts in the file
  std::string_view text_;
  std::vector<char> block_;
  std::string_view data_;  ///< the bytes at hand: the text, or the last block read
  std::size_t at_ = 0;     ///< the next byte in data_
  bool at_end_ = false;
  int read_error_ = 0;

  long long offset_ = 0;                ///< bytes of the text read
  long newlines_ = 0;                   ///< line ends among them
  long long newline_at_[2] = {-1, -1};  ///< offsets of the last two line ends, latest first

  // Where the parse stands, as far as a piece boundary needs it.
  std::string open_;  ///< the open containers, '[' or '{', outermost first
  Last last_ = Last::none;
  bool in_string_ = false;
  bool escaped_ = false;
  bool string_is_key_ = false;
  bool in_bare_ = false;  ///< in a number or a literal
  std::size_t value_bytes_ = 0;
  long value_line_ = 0;
  bool too_long_ = false;

  // The piece being parsed.
  std::string prefix_;  ///< the bytes that put the parser where the last piece ended
  std::size_t prefix_at_ = 0;
  int prefix_events_ = 0;
  std::size_t prefix_quoted_from_ = 0;  ///< where the parser's "last read" starts in it
  std::size_t piece_bytes_ = 0;
  std::size_t cut_after_bytes_ = kPieceBytes;
  bool cut_ = false;
  long long piece_offset_ = 0;
  long piece_line_ = 1;
  long long piece_column_ = 0;

  std::optional<JsonFailure> failure_;
};

}  // namespace starimport
