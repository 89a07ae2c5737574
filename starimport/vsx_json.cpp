#include "vsx_json.h"

#include <algorithm>
#include <memory>
#include <optional>

#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include "io/text.h"

namespace starimport {
namespace {

/// A JSON value as the text writes it: numbers are kept as their text, so that no
/// digit passes through binary floating point.
struct JsonMember;

struct JsonNode {
  enum class Kind { null, boolean, number, string, array, object } kind = Kind::null;
  std::string text;  ///< a string's value or a number's text
  std::vector<JsonMember> members;
  std::vector<JsonNode> items;
  long line = 0;  ///< where an object starts
};

struct JsonMember {
  std::string key;
  JsonNode value;
};

/// The lines of every '{' outside strings, in order: the n-th object the parser opens
/// starts on the n-th of these lines.
std::vector<long> object_lines(std::string_view text) {
  std::vector<long> lines;
  long line = 1;
  bool in_string = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\n') ++line;
    if (in_string) {
      if (c == '\\') {
        ++i;
      } else if (c == '"') {
        in_string = false;
      }
    } else if (c == '"') {
      in_string = true;
    } else if (c == '{') {
      lines.push_back(line);
    }
  }
  return lines;
}

long line_of_byte(std::string_view text, std::size_t byte) {
  byte = std::min(byte, text.size());
  return 1 +
         static_cast<long>(std::count(text.begin(), text.begin() + static_cast<long>(byte), '\n'));
}

/// Builds the JsonNode tree; nesting deeper than kMaxJsonDepth stops the parse.
class TreeBuilder : public nlohmann::json_sax<nlohmann::json> {
 public:
  explicit TreeBuilder(std::vector<long> lines) : lines_(std::move(lines)) {}

  bool null() override { return put(JsonNode{}); }
  bool boolean(bool value) override {
    JsonNode n;
    n.kind = JsonNode::Kind::boolean;
    n.text = value ? "true" : "false";
    return put(std::move(n));
  }
  bool number_integer(number_integer_t value) override { return number(fmt::to_string(value)); }
  bool number_unsigned(number_unsigned_t value) override { return number(fmt::to_string(value)); }
  bool number_float(number_float_t, const string_t& text) override { return number(text); }
  bool string(string_t& value) override {
    JsonNode n;
    n.kind = JsonNode::Kind::string;
    n.text = std::move(value);
    return put(std::move(n));
  }
  bool binary(binary_t&) override { return false; }
  bool start_object(std::size_t) override {
    JsonNode n;
    n.kind = JsonNode::Kind::object;
    n.line = objects_ < lines_.size() ? lines_[objects_] : 0;
    ++objects_;
    return open(std::move(n));
  }
  bool key(string_t& value) override {
    stack_.back().members.push_back(JsonMember{std::move(value), JsonNode{}});
    return true;
  }
  bool end_object() override { return close(); }
  bool start_array(std::size_t) override {
    JsonNode n;
    n.kind = JsonNode::Kind::array;
    return open(std::move(n));
  }
  bool end_array() override { return close(); }
  bool parse_error(std::size_t byte, const std::string&,
                   const nlohmann::detail::exception& e) override {
    error_byte_ = byte;
    error_ = e.what();
    return false;
  }

  std::optional<JsonNode> root;
  std::size_t error_byte_ = 0;
  std::string error_;
  bool too_deep = false;

 private:
  bool number(std::string text) {
    JsonNode n;
    n.kind = JsonNode::Kind::number;
    n.text = std::move(text);
    return put(std::move(n));
  }
  bool open(JsonNode n) {
    if (stack_.size() >= static_cast<std::size_t>(kMaxJsonDepth)) {
      too_deep = true;
      return false;
    }
    stack_.push_back(std::move(n));
    return true;
  }
  bool close() {
    JsonNode n = std::move(stack_.back());
    stack_.pop_back();
    return put(std::move(n));
  }
  bool put(JsonNode n) {
    if (stack_.empty()) {
      root = std::move(n);
    } else if (stack_.back().kind == JsonNode::Kind::array) {
      stack_.back().items.push_back(std::move(n));
    } else {
      stack_.back().members.back().value = std::move(n);
    }
    return true;
  }

  std::vector<long> lines_;
  std::size_t objects_ = 0;
  std::vector<JsonNode> stack_;
};

const JsonNode* member(const JsonNode& object, std::string_view key) {
  for (const auto& [k, value] : object.members) {
    if (io::same_ignoring_case(k, key)) return &value;
  }
  return nullptr;
}

std::string text_of(const JsonNode& object, std::string_view key) {
  const JsonNode* value = member(object, key);
  if (value == nullptr) return {};
  if (value->kind == JsonNode::Kind::string || value->kind == JsonNode::Kind::number) {
    return value->text;
  }
  return {};
}

SourceRecord record_of(const JsonNode& object) {
  SourceRecord r;
  r.line = object.line;
  r.name = text_of(object, "Name");
  r.ra = text_of(object, "RA2000");
  r.dec = text_of(object, "Declination2000");
  r.type = text_of(object, "VariabilityType");
  r.period = text_of(object, "Period");
  r.epoch = text_of(object, "Epoch");
  r.max = parse_magnitude_text(text_of(object, "MaxMag"));
  r.min = parse_magnitude_text(text_of(object, "MinMag"));
  return r;
}

/// The star objects of a reply: the value under VSXObjects / VSXObject, or the root.
const JsonNode* stars_of(const JsonNode& root) {
  const JsonNode* node = &root;
  if (node->kind == JsonNode::Kind::object) {
    if (const JsonNode* list = member(*node, "VSXObjects")) node = list;
  }
  if (node->kind == JsonNode::Kind::object) {
    if (const JsonNode* star = member(*node, "VSXObject")) node = star;
  }
  return node;
}

}  // namespace

std::variant<std::vector<SourceRecord>, JsonFailure> read_vsx_json(std::string_view text) {
  TreeBuilder builder(object_lines(text));
  nlohmann::json::sax_parse(text.begin(), text.end(), &builder);
  if (builder.too_deep) {
    return JsonFailure{0, fmt::format("JSON nested deeper than {} levels", kMaxJsonDepth)};
  }
  if (!builder.error_.empty() || !builder.root) {
    return JsonFailure{line_of_byte(text, builder.error_byte_ > 0 ? builder.error_byte_ - 1 : 0),
                       "not valid JSON (" + builder.error_ + ")"};
  }
  const JsonNode* stars = stars_of(*builder.root);
  std::vector<SourceRecord> records;
  if (stars->kind == JsonNode::Kind::object) {
    if (member(*stars, "Name") == nullptr) {
      return JsonFailure{stars->line, "not a VSX reply (no VSXObject, no Name)"};
    }
    records.push_back(record_of(*stars));
  } else if (stars->kind == JsonNode::Kind::array) {
    for (const JsonNode& item : stars->items) {
      if (item.kind != JsonNode::Kind::object) {
        return JsonFailure{0, "not a VSX reply (a list item is not an object)"};
      }
      records.push_back(record_of(item));
    }
  } else {
    return JsonFailure{0, "not a VSX reply (neither an object nor a list)"};
  }
  return records;
}

}  // namespace starimport
