// The answer reader of every dialogue: what it accepts, and what its messages quote.
#include "io/answers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "io/run_error.h"

namespace {

/// A FILE* over the given bytes (NULs included), closed at the end of the scope.
struct Input {
  explicit Input(const std::string& bytes) : file(std::tmpfile()) {
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::rewind(file);
  }
  ~Input() { std::fclose(file); }
  Input(const Input&) = delete;
  Input& operator=(const Input&) = delete;
  std::FILE* file;
};

/// The message of the RunError that `read` throws; empty when it throws none.
template <class Read>
std::string message_of(Read read) {
  try {
    read();
  } catch (const io::RunError& e) {
    return e.what();
  }
  return {};
}

TEST(Answers, AcceptWhatTheScansAccept) {
  Input in(" 2006\n\n10.5 -3e2 nan 7:30");
  EXPECT_EQ(io::read_whole_number(in.file, "year"), 2006);
  EXPECT_EQ(io::read_whole_number(in.file, "month"), 10);
  // What follows a whole number is the next answer.
  EXPECT_EQ(io::read_decimal_number(in.file, "x"), 0.5f);
  EXPECT_EQ(io::read_decimal_number(in.file, "x"), -300.0f);
  EXPECT_TRUE(std::isnan(io::read_decimal_number(in.file, "x")));
  EXPECT_EQ(io::read_whole_number(in.file, "hour"), 7);
  EXPECT_EQ(message_of([&] { io::read_whole_number(in.file, "minute"); }),
            "minute: \":30\" is not a whole number");
}

TEST(Answers, TheEndOfTheInputFailsOrEndsAsAsked) {
  Input empty(" \n\n");
  EXPECT_EQ(io::read_whole_number_or_end(empty.file, "day"), std::nullopt);
  Input again(" \n");
  EXPECT_EQ(message_of([&] { io::read_whole_number(again.file, "day"); }),
            "day: the input ended before an answer");
  Input decimal("");
  EXPECT_EQ(message_of([&] { io::read_decimal_number(decimal.file, "latitude"); }),
            "latitude: the input ended before an answer");
  // Text is a failure even where the end is not.
  Input text("x");
  EXPECT_EQ(message_of([&] { io::read_whole_number_or_end(text.file, "day"); }),
            "day: \"x\" is not a whole number");
}

TEST(Answers, QuoteTheWholeAnswerEscaped) {
  Input big("99999999999 -2147483649 +x");
  EXPECT_EQ(message_of([&] { io::read_whole_number(big.file, "year"); }),
            "year: \"99999999999\" is beyond the range of whole numbers");
  EXPECT_EQ(message_of([&] { io::read_whole_number(big.file, "year"); }),
            "year: \"-2147483649\" is beyond the range of whole numbers");
  EXPECT_EQ(message_of([&] { io::read_whole_number(big.file, "year"); }),
            "year: \"+x\" is not a whole number");
  // A NUL does not cut the message, an escape byte does not reach the terminal.
  Input bytes(std::string("a\0b\x1b[2J", 7) + " z");
  EXPECT_EQ(message_of([&] { io::read_decimal_number(bytes.file, "longitude"); }),
            "longitude: \"a\\x00b\\x1b[2J\" is not a number");
  // A quote is at most kQuotedWordChars characters long.
  Input longword(std::string(100, 'q'));
  EXPECT_EQ(message_of([&] { io::read_whole_number(longword.file, "day"); }),
            "day: \"" + std::string(32, 'q') + "\" is not a whole number");
}

TEST(Answers, FiveWholeNumbersNameTheirParts) {
  Input in("2006 3 7 4 30\n2006 3 7 5");
  EXPECT_EQ(io::read_five_whole_numbers(in.file, "start", "year month day hour minute"),
            (std::array<int, 5>{2006, 3, 7, 4, 30}));
  EXPECT_EQ(message_of([&] {
              io::read_five_whole_numbers(in.file, "stop", "year month day hour minute");
            }),
            "stop: the input ended before an answer (five whole numbers: year month day hour "
            "minute)");
}

}  // namespace
