#include "day_answer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "io/run_error.h"

namespace datesel {
namespace {

struct CloseFile {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

/// A read stream over `text` (kept alive by the caller).
std::unique_ptr<std::FILE, CloseFile> stream(std::string& text) {
  return std::unique_ptr<std::FILE, CloseFile>(fmemopen(text.data(), text.size(), "r"));
}

TEST(ReadDay, ReadsOneRequestAfterAnother) {
  std::string typed = "  6\n\n-1 0\r\n31 100 99 7";
  auto in = stream(typed);
  ASSERT_TRUE(in);
  std::vector<std::optional<int>> got;
  for (int k = 0; k < 6; ++k) got.push_back(read_day(in.get()));
  EXPECT_EQ(got, (std::vector<std::optional<int>>{6, -1, 0, 31, 100, std::nullopt}));
}

TEST(ReadDay, NamesAnAnswerThatIsNoInteger) {
  for (std::string typed : {"six\n", "  x7 8\n", "99999999999\n"}) {
    auto in = stream(typed);
    ASSERT_TRUE(in);
    try {
      read_day(in.get());
      ADD_FAILURE() << "accepted \"" << typed << "\"";
    } catch (const io::RunError& e) {
      const std::string message = e.what();
      EXPECT_NE(message.find("day"), std::string::npos) << message;
      if (typed == "six\n") {
        EXPECT_NE(message.find("\"six\""), std::string::npos) << message;
      }
      if (typed == "  x7 8\n") {
        EXPECT_NE(message.find("\"x7\""), std::string::npos) << message;
      }
    }
  }
}

}  // namespace
}  // namespace datesel
