#include "vsx_json.h"

#include <algorithm>
#include <array>
#include <deque>
#include <utility>

#include <fmt/format.h>

#include "io/text.h"
#include "json_stream.h"

namespace starimport {
namespace {

/// The nodes that may hold the stars: the root, the value of its VSXObjects member, of
/// its VSXObject member, and of the VSXObject member of the VSXObjects value (the first
/// member of each name, in any case).
enum class StarsAt { root, objects, object, objects_object };
constexpr std::size_t kStarsAtCount = 4;

enum class Kind { object, array, other };

/// What a reading learns of a node that may hold the stars.
struct Candidate {
  bool present = false;
  Kind kind = Kind::other;
  long line = 0;              ///< where an object starts
  bool has_name = false;      ///< an object with a Name member
  bool items_objects = true;  ///< a list whose items are all objects
};

/// The members a record is read from, in the order of `RecordTexts`.
constexpr std::array<std::string_view, 9> kFieldKeys = {
    "Name",  "RA2000", "Declination2000", "VariabilityType", "Period",
    "Epoch", "MaxMag", "MinMag",          "EclipseDuration"};
using RecordTexts = std::array<std::string, kFieldKeys.size()>;

/// Bytes of waiting records after which the stream pauses, and their count: enough to
/// make each pause worth its parser, few enough to keep memory small.
constexpr std::size_t kWaitingBytes = std::size_t{1} << 18;
constexpr std::size_t kWaitingRecords = 64;

/// Follows a reply through its events: the first reading learns where the stars are (the
/// candidates), the second hands out their records.
class ReplyHandler : public JsonSax {
 public:
  /// `stars`: where the records are, for the second reading; nothing for the first.
  ReplyHandler(JsonStream& stream, std::optional<StarsAt> stars) : stream_(stream), stars_(stars) {}

  bool null() override { return scalar(nullptr); }
  bool boolean(bool) override { return scalar(nullptr); }
  bool number_integer(number_integer_t value) override {
    const std::string text = fmt::to_string(value);
    return scalar(&text);
  }
  bool number_unsigned(number_unsigned_t value) override {
    const std::string text = fmt::to_string(value);
    return scalar(&text);
  }
  bool number_float(number_float_t, const string_t& text) override { return scalar(&text); }
  bool string(string_t& value) override { return scalar(&value); }
  bool binary(binary_t&) override { return false; }
  bool start_object(std::size_t) override { return open(Kind::object); }
  bool start_array(std::size_t) override { return open(Kind::array); }
  bool end_object() override { return close(); }
  bool end_array() override { return close(); }
  bool key(string_t& name) override;
  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override {
    return false;  // the stream's relay tells the failure
  }

  std::array<Candidate, kStarsAtCount> candidates;
  std::deque<SourceRecord> records;
  bool too_deep = false;

 private:
  struct Frame {
    Kind kind = Kind::other;
    std::optional<StarsAt> at;         ///< the candidate this container is
    std::optional<StarsAt> member;     ///< the candidate the value of the current member is
    bool saw_objects = false;          ///< a VSXObjects member came
    bool saw_object = false;           ///< a VSXObject member came
    bool record = false;               ///< its members are a record's
    std::optional<std::size_t> field;  ///< the record field of the current member
    unsigned fields_seen = 0;          ///< a bit for each field whose member came
    long line = 0;
    RecordTexts texts;
  };

  /// Notes a value that starts (a container, or a scalar) in the frame around it.
  std::optional<StarsAt> begin_value(Kind kind);
  bool scalar(const std::string* text);
  bool open(Kind kind);
  bool close();
  void take_record(Frame& f);

  JsonStream& stream_;
  std::optional<StarsAt> stars_;
  std::vector<Frame> frames_;
  std::size_t waiting_bytes_ = 0;
};

std::optional<StarsAt> ReplyHandler::begin_value(Kind kind) {
  std::optional<StarsAt> at;
  if (frames_.empty()) {
    at = StarsAt::root;
  } else if (Frame& parent = frames_.back(); parent.kind == Kind::object) {
    at = std::exchange(parent.member, std::nullopt);
  } else if (parent.at && kind != Kind::object) {
    candidates[static_cast<std::size_t>(*parent.at)].items_objects = false;
  }
  if (at) {
    Candidate& c = candidates[static_cast<std::size_t>(*at)];
    c.present = true;
    c.kind = kind;
    c.line = stream_.line();
  }
  return at;
}

bool ReplyHandler::scalar(const std::string* text) {
  begin_value(Kind::other);
  if (!frames_.empty() && frames_.back().record && frames_.back().field && text != nullptr) {
    frames_.back().texts[*frames_.back().field] = *text;
  }
  return true;
}

bool ReplyHandler::key(string_t& name) {
  Frame& f = frames_.back();
  f.member.reset();
  f.field.reset();
  if (f.at == StarsAt::root && !f.saw_objects && io::same_ignoring_case(name, "VSXObjects")) {
    f.saw_objects = true;
    f.member = StarsAt::objects;
  } else if ((f.at == StarsAt::root || f.at == StarsAt::objects) && !f.saw_object &&
             io::same_ignoring_case(name, "VSXObject")) {
    f.saw_object = true;
    f.member = f.at == StarsAt::root ? StarsAt::object : StarsAt::objects_object;
  }
  if (f.at && io::same_ignoring_case(name, "Name")) {
    candidates[static_cast<std::size_t>(*f.at)].has_name = true;
  }
  if (f.record) {
    // The first member of a name gives the field, whatever its value.
    for (std::size_t i = 0; i < kFieldKeys.size(); ++i) {
      if ((f.fields_seen & (1u << i)) == 0 && io::same_ignoring_case(name, kFieldKeys[i])) {
        f.fields_seen |= 1u << i;
        f.field = i;
        break;
      }
    }
  }
  return true;
}

bool ReplyHandler::open(Kind kind) {
  const bool in_stars_list =
      !frames_.empty() && frames_.back().kind == Kind::array && frames_.back().at == stars_;
  const std::optional<StarsAt> at = begin_value(kind);
  if (frames_.size() >= static_cast<std::size_t>(kMaxJsonDepth)) {
    too_deep = true;
    return false;
  }
  Frame& f = frames_.emplace_back();
  f.kind = kind;
  f.at = at;
  f.record = stars_ && kind == Kind::object && (at == stars_ || in_stars_list);
  f.line = stream_.line();
  return true;
}

bool ReplyHandler::close() {
  Frame& f = frames_.back();
  if (f.record) take_record(f);
  frames_.pop_back();
  return true;
}

void ReplyHandler::take_record(Frame& f) {
  SourceRecord r;
  r.line = f.line;
  r.name = std::move(f.texts[0]);
  r.ra = std::move(f.texts[1]);
  r.dec = std::move(f.texts[2]);
  r.type = std::move(f.texts[3]);
  r.period = std::move(f.texts[4]);
  r.epoch = std::move(f.texts[5]);
  r.max = parse_magnitude_text(f.texts[6]);
  r.min = parse_magnitude_text(f.texts[7]);
  r.duration = std::move(f.texts[8]);
  for (const std::string& text : f.texts) waiting_bytes_ += text.size();
  records.push_back(std::move(r));
  if (records.size() >= kWaitingRecords || waiting_bytes_ >= kWaitingBytes) {
    waiting_bytes_ = 0;
    stream_.pause_soon();
  }
}

/// Where the stars of a reply are, from what the first reading learnt: the value under
/// VSXObjects / VSXObject, or the root. Fails for a text that is no reply.
std::variant<StarsAt, JsonFailure> stars_of(const std::array<Candidate, kStarsAtCount>& c) {
  const auto of = [&](StarsAt at) -> const Candidate& { return c[static_cast<std::size_t>(at)]; };
  StarsAt at = StarsAt::root;
  if (of(at).kind == Kind::object && of(StarsAt::objects).present) at = StarsAt::objects;
  if (of(at).kind == Kind::object) {
    const StarsAt inner = at == StarsAt::root ? StarsAt::object : StarsAt::objects_object;
    if (of(inner).present) at = inner;
  }
  const Candidate& stars = of(at);
  if (stars.kind == Kind::object) {
    if (!stars.has_name) return JsonFailure{stars.line, "not a VSX reply (no VSXObject, no Name)"};
  } else if (stars.kind == Kind::array) {
    if (!stars.items_objects) {
      return JsonFailure{0, "not a VSX reply (a list item is not an object)"};
    }
  } else {
    return JsonFailure{0, "not a VSX reply (neither an object nor a list)"};
  }
  return at;
}

}  // namespace

struct VsxJsonReader::Reading {
  explicit Reading(JsonStream s) : stream(std::move(s)) {}
  JsonStream stream;
  std::optional<ReplyHandler> handler;
  bool more = true;
  std::optional<JsonFailure> failure;

  /// The failure of a reading that stopped: too deep, or what the stream found.
  std::optional<JsonFailure> stopped() const {
    if (handler->too_deep) {
      return JsonFailure{0, fmt::format("JSON nested deeper than {} levels", kMaxJsonDepth)};
    }
    return stream.failure();
  }
};

VsxJsonReader::VsxJsonReader(std::FILE* file, std::string name)
    : reading_(std::make_unique<Reading>(JsonStream(file, std::move(name)))) {}

VsxJsonReader::VsxJsonReader(std::string_view text)
    : reading_(std::make_unique<Reading>(JsonStream(text))) {}

VsxJsonReader::~VsxJsonReader() = default;

std::optional<JsonFailure> VsxJsonReader::check() {
  Reading& r = *reading_;
  r.handler.emplace(r.stream, std::nullopt);
  while (r.stream.parse_on(*r.handler)) {
  }
  if (std::optional<JsonFailure> failure = r.stopped()) return failure;
  std::variant<StarsAt, JsonFailure> stars = stars_of(r.handler->candidates);
  if (auto* failure = std::get_if<JsonFailure>(&stars)) return *failure;
  r.stream.restart();
  r.handler.emplace(r.stream, std::get<StarsAt>(stars));
  return std::nullopt;
}

bool VsxJsonReader::next(SourceRecord& record) {
  Reading& r = *reading_;
  while (r.handler->records.empty()) {
    if (!r.more) return false;
    r.more = r.stream.parse_on(*r.handler);
    if (!r.more) {
      r.failure = r.stopped();
      if (r.failure) return false;
    }
  }
  record = std::move(r.handler->records.front());
  r.handler->records.pop_front();
  return true;
}

const std::optional<JsonFailure>& VsxJsonReader::failure() const { return reading_->failure; }

std::variant<std::vector<SourceRecord>, JsonFailure> read_vsx_json(std::string_view text) {
  VsxJsonReader reader(text);
  if (std::optional<JsonFailure> failure = reader.check()) return *failure;
  std::vector<SourceRecord> records;
  SourceRecord record;
  while (reader.next(record)) records.push_back(std::move(record));
  if (reader.failure()) return *reader.failure();
  return records;
}

}  // namespace starimport
