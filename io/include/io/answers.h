#pragma once
/// The answers typed to the programs' questions: a whole number, a decimal number, five
/// whole numbers. Each is read as the C library's "%d" or "%f" reads it (leading white
/// space and line ends skipped, what follows the number left for the next question),
/// and an answer that cannot be read ends the run with a message in one style:
///
///   NAME: "TYPED" is not a whole number
///   NAME: "TYPED" is not a number
///   NAME: "TYPED" is beyond the range of whole numbers
///   NAME: the answer is not a number           (the scan took all that was typed)
///   NAME: the input ended before an answer
///
/// TYPED is the answer from where the scan began or stopped, at most kQuotedWordChars
/// characters, every byte that is not printable ASCII written as \xNN.

#include <array>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace io {

/// Reads one "%d" answer. Throws RunError "NAME: ..." (NAME = `answer_name`) when the
/// answer is not a whole number, lies beyond int's range, or the input has ended.
int read_whole_number(std::FILE* in, std::string_view answer_name);

/// As read_whole_number, but the end of the input gives nothing instead of a failure.
std::optional<int> read_whole_number_or_end(std::FILE* in, std::string_view answer_name);

/// Reads one "%f" answer, rounded straight to float; NaN and infinities are numbers.
/// Throws RunError "NAME: ..." when it is not a number or the input has ended.
float read_decimal_number(std::FILE* in, std::string_view answer_name);

/// Prints `question` (flushed, no line end), then read_whole_number.
int ask_whole_number(std::FILE* in, std::string_view question, std::string_view answer_name);

/// Prints `question` (flushed, no line end), then read_decimal_number.
float ask_decimal_number(std::FILE* in, std::string_view question, std::string_view answer_name);

/// Reads one answer of five "%d" numbers; `parts` names them for the message (such as
/// "year month day hour minute"), which ends in " (five whole numbers: PARTS)".
std::array<int, 5> read_five_whole_numbers(std::FILE* in, std::string_view answer_name,
                                           std::string_view parts);

}  // namespace io
