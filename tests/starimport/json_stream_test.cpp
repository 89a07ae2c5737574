// VSX replies longer than a piece of the JSON stream: the records, and the failures that
// one parse of the whole text gives, wherever the pieces end.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "json_stream.h"
#include "vsx_json.h"

namespace starimport {
namespace {

/// A reply of `count` stars, one a line from line 2 on, with lists and literals among
/// their members: a few pieces long for a few thousand stars.
std::string long_reply(int count) {
  std::string text = "{\"VSXObjects\": {\"VSXObject\": [\n";
  for (int i = 0; i < count; ++i) {
    text += (i > 0 ? ",\n" : "") + std::string("  {\"Name\": \"S") + std::to_string(i) +
            "\", \"Flags\": [{}, [], null, true], \"Period\": " + std::to_string(i) + ".5}";
  }
  return text + "\n]}}\n";
}

std::vector<SourceRecord> records_of(const std::string& text) {
  auto read = read_vsx_json(text);
  if (const auto* failure = std::get_if<JsonFailure>(&read)) {
    ADD_FAILURE() << failure->message;
    return {};
  }
  return std::get<std::vector<SourceRecord>>(read);
}

/// What the reader said of a text before it streamed: nlohmann's message for the whole
/// text, at the line of the last byte the parser read.
JsonFailure whole_text_failure(const std::string& text) {
  try {
    [[maybe_unused]] const nlohmann::json parsed = nlohmann::json::parse(text);
  } catch (const nlohmann::json::parse_error& e) {
    const std::size_t last = std::min(e.byte > 0 ? e.byte - 1 : 0, text.size());
    return JsonFailure{1 + std::count(text.begin(), text.begin() + static_cast<long>(last), '\n'),
                       std::string("not valid JSON (") + e.what() + ")"};
  }
  return JsonFailure{0, "(valid)"};
}

TEST(JsonStream, RecordsOfAReplyLongerThanAPiece) {
  const int count = 6000;
  const std::string text = long_reply(count);
  ASSERT_GT(text.size(), 4 * JsonStream::kPieceBytes);
  const std::vector<SourceRecord> records = records_of(text);
  ASSERT_EQ(records.size(), static_cast<std::size_t>(count));
  for (int i = 0; i < count; i += 997) {
    EXPECT_EQ(records[i].name, "S" + std::to_string(i));
    EXPECT_EQ(records[i].period, std::to_string(i) + ".5");
    EXPECT_EQ(records[i].line, i + 2);
  }

  // Runs of blanks longer than a piece before, inside and after the text, and a list of
  // nothing but brackets: the parser never holds them whole, and reads them as before.
  const std::string blanks(3 * JsonStream::kPieceBytes, ' ');
  std::string empties = "[";
  for (int i = 0; i < 100000; ++i) empties += i > 0 ? ",{}" : "{}";
  const std::vector<SourceRecord> spaced = records_of(blanks + "[{\"Name\":\"A\"}," + blanks +
                                                      "{\"Name\":\"B\"" + blanks + "}]" + blanks);
  ASSERT_EQ(spaced.size(), 2u);
  EXPECT_EQ(spaced[1].name, "B");
  EXPECT_EQ(records_of("{\"VSXObject\":" + blanks + "{\"Name\":" + blanks + "\"A\"}}").at(0).name,
            "A");
  EXPECT_EQ(records_of(empties + "]").size(), 100000u);
}

TEST(JsonStream, FailuresAsOneParseOfTheWholeTextGivesThem) {
  const std::string good = long_reply(1200);
  // Each fault at every third byte of a stretch that a piece ends in.
  const std::vector<std::pair<std::string, bool>> faults = {
      {"", true},  // the text cut there
      {",]", false}, {"\x01", false}, {"\\q", false}, {"1.", false},
      {"}", false},  {":", false},    {"tru", false}, {"-", false}};
  const std::size_t from = JsonStream::kPieceBytes - 60;
  int compared = 0;
  for (std::size_t at = from; at < from + 120; at += 3) {
    for (const auto& [fault, cut] : faults) {
      const std::string text = good.substr(0, at) + fault + (cut ? "" : good.substr(at));
      const JsonFailure whole = whole_text_failure(text);
      if (whole.line == 0) continue;
      const auto read = read_vsx_json(text);
      ASSERT_TRUE(std::holds_alternative<JsonFailure>(read)) << at << " " << fault;
      const JsonFailure& got = std::get<JsonFailure>(read);
      EXPECT_EQ(got.line, whole.line) << at << " " << fault;
      // The bytes the parser quotes after its last string or number may start after the
      // end of a piece: then they are the end of what the whole text's parse quotes.
      const std::string mark = "last read: '";
      const std::size_t quoted = whole.message.find(mark);
      if (quoted == std::string::npos || got.message == whole.message) {
        EXPECT_EQ(got.message, whole.message) << at << " " << fault;
      } else {
        const std::string head = whole.message.substr(0, quoted + mark.size());
        ASSERT_TRUE(got.message.starts_with(head)) << got.message;
        EXPECT_TRUE(whole.message.ends_with(got.message.substr(head.size()))) << got.message;
      }
      ++compared;
    }
  }
  EXPECT_GT(compared, 250);
}

TEST(JsonStream, ValuesLongerThanTheParserMayHold) {
  const std::string name(kMaxJsonValueBytes + 10, 'x');
  const auto failure = [](const std::string& text) {
    const auto read = read_vsx_json(text);
    return std::holds_alternative<JsonFailure>(read) ? std::get<JsonFailure>(read)
                                                     : JsonFailure{-1, "(records)"};
  };
  const JsonFailure long_name = failure("{\"VSXObject\":\n{\"Name\":\n\"" + name + "\"}}");
  EXPECT_EQ(long_name.line, 3);
  EXPECT_EQ(long_name.message, "JSON string or number longer than 65536 bytes");
  EXPECT_EQ(failure("[\n\n" + std::string(kMaxJsonValueBytes + 1, '7') + "]").line, 3);
  // A long value just under the bound is read.
  const std::string under(kMaxJsonValueBytes - 10, 'y');
  EXPECT_EQ(records_of("{\"VSXObject\":{\"Name\":\"A\",\"Remarks\":\"" + under + "\"}}").size(),
            1u);
}

TEST(JsonStream, TheStarsAreFoundWhereverTheirMembersStand) {
  struct Reply {
    std::string text;
    std::string name, epoch, period;  ///< of its one record
  };
  for (const Reply& reply : std::vector<Reply>{
           // The list under VSXObject is the stars even after a Name of the root; the
           // first member of each name counts, whatever its value, in any case.
           {"{\"Name\":\"root\",\"vsxobject\":[{\"NAME\":\"A\",\"Name\":\"A2\",\"epoch\":null,"
            "\"Epoch\":\"1\",\"Period\":0.5}],\"VSXObject\":[{\"Name\":\"B\"}]}",
            "A", "", "0.5"},
           // VSXObjects before VSXObject, wherever they stand; a nested object is no star.
           {"{\"VSXObject\":{\"Name\":\"A\"},\"VSXObjects\":{\"Other\":[],\"VSXObject\":"
            "{\"Name\":\"B\",\"More\":{\"Name\":\"x\"},\"Epoch\":2450000.5,\"Period\":3}}}",
            "B", "2450000.5", "3"}}) {
    const std::vector<SourceRecord> got = records_of(reply.text);
    ASSERT_EQ(got.size(), 1u) << reply.text;
    EXPECT_EQ(got[0].name, reply.name);
    EXPECT_EQ(got[0].epoch, reply.epoch);
    EXPECT_EQ(got[0].period, reply.period);
  }
}

}  // namespace
}  // namespace starimport
