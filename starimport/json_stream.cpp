#include "json_stream.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iterator>

#include <fmt/format.h>

#include "io/run_error.h"

namespace starimport {

/// The stream's bytes as the parser's input: a copy stands for the same stream, and
/// any iterator equals the end one once the piece has ended.
class JsonStream::Iterator {
 public:
  using iterator_category = std::input_iterator_tag;
  using value_type = char;
  using difference_type = std::ptrdiff_t;
  using pointer = const char*;
  using reference = char;

  Iterator() = default;
  explicit Iterator(JsonStream* stream) : stream_(stream) {}
  char operator*() const { return stream_->current(); }
  Iterator& operator++() {
    stream_->advance();
    return *this;
  }
  Iterator operator++(int) {
    Iterator before = *this;
    stream_->advance();
    return before;
  }
  bool operator==(const Iterator& other) const { return ended() == other.ended(); }

 private:
  bool ended() const { return stream_ == nullptr || stream_->piece_ended(); }
  JsonStream* stream_ = nullptr;
};

/// Hands the parser's events on, less those of the bytes that start a piece, and turns
/// its errors into the stream's failure (the end of a piece is none).
class JsonStream::Relay : public JsonSax {
 public:
  Relay(JsonStream& stream, JsonSax& handler)
      : stream_(stream), handler_(handler), skip_(stream.prefix_events_) {}

  bool null() override { return skip() || handler_.null(); }
  bool boolean(bool value) override { return skip() || handler_.boolean(value); }
  bool number_integer(number_integer_t value) override {
    return skip() || handler_.number_integer(value);
  }
  bool number_unsigned(number_unsigned_t value) override {
    return skip() || handler_.number_unsigned(value);
  }
  bool number_float(number_float_t value, const string_t& text) override {
    return skip() || handler_.number_float(value, text);
  }
  bool string(string_t& value) override { return skip() || handler_.string(value); }
  bool binary(binary_t& value) override { return skip() || handler_.binary(value); }
  bool start_object(std::size_t size) override { return skip() || handler_.start_object(size); }
  bool key(string_t& value) override { return skip() || handler_.key(value); }
  bool end_object() override { return skip() || handler_.end_object(); }
  bool start_array(std::size_t size) override { return skip() || handler_.start_array(size); }
  bool end_array() override { return skip() || handler_.end_array(); }
  bool parse_error(std::size_t byte, const std::string&,
                   const nlohmann::detail::exception& e) override {
    if (stream_.cut_ || stream_.read_error_ != 0) return false;
    if (stream_.too_long_) {
      stream_.failure_ = JsonFailure{
          stream_.value_line_,
          fmt::format("JSON string or number longer than {} bytes", kMaxJsonValueBytes)};
    } else {
      stream_.failure_ = stream_.parse_failure(byte, e.what());
    }
    return false;
  }

 private:
  bool skip() {
    if (skip_ == 0) return false;
    --skip_;
    return true;
  }

  JsonStream& stream_;
  JsonSax& handler_;
  int skip_;
};

JsonStream::JsonStream(std::FILE* file, std::string name)
    : file_(file), name_(std::move(name)), start_(std::ftell(file)), block_(kPieceBytes) {}

JsonStream::JsonStream(std::string_view text) : text_(text), data_(text) {}

void JsonStream::restart() {
  if (file_ != nullptr) {
    if (std::fseek(file_, start_, SEEK_SET) != 0) {
      throw io::RunError("cannot read " + name_ + ": " + std::strerror(errno));
    }
    data_ = {};
  } else {
    data_ = text_;
  }
  at_ = 0;
  at_end_ = false;
  offset_ = 0;
  newlines_ = 0;
  newline_at_[0] = newline_at_[1] = -1;
  open_.clear();
  last_ = Last::none;
  in_string_ = escaped_ = in_bare_ = too_long_ = cut_ = false;
  failure_.reset();
}

bool JsonStream::parse_on(JsonSax& handler) {
  start_piece();
  Relay relay(*this, handler);
  // Whether the parser took the text as whole is not needed: a piece that ended (also in
  // the blanks after a whole text) is read on, a failure is in failure_, and a handler
  // that stopped the parse knows why.
  static_cast<void>(nlohmann::json::sax_parse(Iterator(this), Iterator(), &relay,
                                              nlohmann::json::input_format_t::json, true));
  if (read_error_ != 0) {
    throw io::RunError("cannot read " + name_ + ": " + std::strerror(read_error_));
  }
  return cut_ && !failure_;
}

long JsonStream::line() const {
  return 1 + newlines_ - (offset_ > 0 && newline_at_[0] == offset_ - 1 ? 1 : 0);
}

bool JsonStream::piece_ended() {
  if (prefix_at_ < prefix_.size()) return false;
  if (cut_ || too_long_) return true;
  if (at_ == data_.size() && !fill()) return true;
  // A piece ends between two tokens, where the bytes of start_piece() can stand for
  // what came before.
  if (piece_bytes_ >= cut_after_bytes_ && !in_string_ && !in_bare_ &&
      open_.size() <= static_cast<std::size_t>(kMaxJsonDepth)) {
    cut_ = true;
    return true;
  }
  return false;
}

bool JsonStream::fill() {
  if (at_end_ || file_ == nullptr) return false;
  const std::size_t got = std::fread(block_.data(), 1, block_.size(), file_);
  if (got == 0) {
    if (std::ferror(file_) != 0) read_error_ = errno != 0 ? errno : EIO;
    at_end_ = true;
    return false;
  }
  data_ = std::string_view(block_.data(), got);
  at_ = 0;
  return true;
}

void JsonStream::advance() {
  if (prefix_at_ < prefix_.size()) {
    ++prefix_at_;
    return;
  }
  const char c = data_[at_++];
  ++offset_;
  ++piece_bytes_;
  if (c == '\n') {
    ++newlines_;
    newline_at_[1] = newline_at_[0];
    newline_at_[0] = offset_ - 1;
  }
  if (in_string_) {
    too_long_ = ++value_bytes_ > kMaxJsonValueBytes;
    if (escaped_) {
      escaped_ = false;
    } else if (c == '\\') {
      escaped_ = true;
    } else if (c == '"') {
      in_string_ = false;
      last_ = string_is_key_ ? Last::key : Last::value;
    }
    return;
  }
  const bool bare = !(c == '"' || c == '[' || c == '{' || c == ']' || c == '}' || c == ':' ||
                      c == ',' || c == ' ' || c == '\t' || c == '\n' || c == '\r');
  if (bare) {
    if (!in_bare_) {
      value_bytes_ = 0;
      value_line_ = line();
    }
    in_bare_ = true;
    too_long_ = ++value_bytes_ > kMaxJsonValueBytes;
    last_ = Last::value;
    return;
  }
  in_bare_ = false;
  switch (c) {
    case '"':
      in_string_ = true;
      string_is_key_ = last_ == Last::open_object || (last_ == Last::comma && open_.ends_with('{'));
      value_bytes_ = 1;
      value_line_ = line();
      break;
    case '[':
      open_ += c;
      last_ = Last::open_array;
      break;
    case '{':
      open_ += c;
      last_ = Last::open_object;
      break;
    case ']':
    case '}':
      if (!open_.empty()) open_.pop_back();
      last_ = Last::value;
      break;
    case ':':
      last_ = Last::colon;
      break;
    case ',':
      last_ = Last::comma;
      break;
    default:  // a blank
      break;
  }
}

std::string_view JsonStream::resume_bytes(char container, Last last) {
  if (container == '[') {
    if (last == Last::comma) return "[null,";
    return last == Last::value ? "[null" : "[";
  }
  switch (last) {
    case Last::comma:
      return "{\"\":null,";
    case Last::value:
      return "{\"\":null";
    case Last::colon:
      return "{\"\":";
    case Last::key:
      return "{\"\"";
    default:
      return "{";
  }
}

void JsonStream::start_piece() {
  prefix_.clear();
  prefix_at_ = 0;
  if (cut_) {
    // Each open container as a value of the one around it; the innermost as the last
    // token left it.
    for (std::size_t i = 0; i + 1 < open_.size(); ++i) prefix_ += open_[i] == '[' ? "[" : "{\"\":";
    if (!open_.empty()) {
      prefix_ += resume_bytes(open_.back(), last_);
    } else {
      // Blanks before the text (a blank, so that no byte-order mark is looked for), or
      // after it.
      prefix_ = last_ == Last::none ? " " : "null";
    }
  }
  // Its events: one for each '[', '{', "" and null.
  const auto count = [&](std::string_view what) {
    int n = 0;
    for (std::size_t at = prefix_.find(what); at != std::string::npos;
         at = prefix_.find(what, at + what.size())) {
      ++n;
    }
    return n;
  };
  prefix_events_ = count("[") + count("{") + count("\"\"") + count("null");
  const std::size_t string_at = prefix_.rfind("\"\"");
  prefix_quoted_from_ = string_at == std::string::npos ? 0 : string_at;
  piece_bytes_ = 0;
  cut_after_bytes_ = kPieceBytes;
  cut_ = false;
  piece_offset_ = offset_;
  piece_line_ = 1 + newlines_;
  piece_column_ = offset_ - (newline_at_[0] + 1);
}

long JsonStream::line_before(long long offset) const {
  long line = 1 + newlines_;
  for (const long long at : newline_at_) {
    if (at >= offset) --line;
  }
  return line;
}

JsonFailure JsonStream::parse_failure(std::size_t parser_byte, std::string what) const {
  const auto in_text = [&](long long parser_offset) {
    return piece_offset_ + std::max(0LL, parser_offset - static_cast<long long>(prefix_.size()));
  };
  // The parser counts a byte read at the end of the text too.
  const long long last_read = static_cast<long long>(parser_byte) - 1;
  const long line = line_before(in_text(std::max(0LL, last_read)));

  // "... parse error at line L, column C: ...", L and C counted from the piece's start.
  const std::string at_line = "at line ";
  const std::string column = ", column ";
  const std::size_t line_at = what.find(at_line);
  const std::size_t column_at =
      line_at == std::string::npos ? std::string::npos : what.find(column, line_at);
  const std::size_t end =
      column_at == std::string::npos ? std::string::npos : what.find(':', column_at);
  if (end != std::string::npos) {
    const long piece_line = std::stol(what.substr(line_at + at_line.size()));
    const long long piece_column = std::stoll(what.substr(column_at + column.size()));
    const long text_line = piece_line_ + piece_line - 1;
    const long long text_column =
        piece_line == 1 ? piece_column_ + piece_column - static_cast<long long>(prefix_.size())
                        : piece_column;
    what.replace(line_at, end - line_at,
                 fmt::format("{}{}{}{}", at_line, text_line, column, text_column));
  }
  // The parser's "last read" quotes the bytes after its last string or number: when that
  // was in the prefix, the prefix's bytes are not the text's. (The text's own bytes start
  // with a string or a number, and so could look like the prefix's only after a "" of
  // its own.)
  const std::string last_read_mark = "last read: '";
  const std::string quoted = prefix_.substr(prefix_quoted_from_);
  const std::size_t quote_at = what.rfind(last_read_mark);
  if (!quoted.empty() && quote_at != std::string::npos &&
      what.compare(quote_at + last_read_mark.size(), quoted.size(), quoted) == 0) {
    what.erase(quote_at + last_read_mark.size(), quoted.size());
  }
  return JsonFailure{line, "not valid JSON (" + what + ")"};
}

}  // namespace starimport
