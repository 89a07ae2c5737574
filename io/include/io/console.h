#pragma once
/// The console: prompts and the answers typed to them, and text written on standard
/// output and standard error.
///
/// Answers are read like the C library's "%d" and "%f" scans: leading white space,
/// line ends included, is skipped, and what does not belong to the number stays
/// unread for the next question.

#include <cstdio>
#include <string>
#include <string_view>

namespace io {

enum class ScanStatus {
  kOk,         ///< a number was read
  kNotNumber,  ///< the next text is not a number (or an integer out of range)
  kEnd,        ///< the input ended before a number
};

/// Prints a prompt on standard output, without a line end, and flushes it.
void prompt(std::string_view text);

/// Writes text on standard output as it is: no line end added, no flush.
void print_text(std::string_view text);

/// Writes text on standard error as it is (a message, a warning). A failure to write
/// it is passed over: standard error is where it would be told.
void print_error_text(std::string_view text);

/// Reads a decimal integer as "%d" does; a value outside int's range is kNotNumber
/// rather than undefined.
ScanStatus scan_int(std::FILE* in, int& value);

/// As scan_int, and appends to `consumed` what the scan took from the input after the
/// leading white space (a lone sign, or all the digits of a number beyond int's range,
/// when it fails), so that a message can quote the whole answer.
ScanStatus scan_int(std::FILE* in, int& value, std::string& consumed);

/// Longest number scan_float hands to the C library, characters: a "%f" scan keeps the
/// whole run of digits in memory, so an endless one would exhaust it.
inline constexpr int kMaxNumberChars = 4096;

/// Reads a number with the C library's "%f" (rounded straight to float). A number longer
/// than kMaxNumberChars gets its value from its first kMaxNumberChars characters; the
/// digits that follow them are read and dropped.
ScanStatus scan_float(std::FILE* in, float& value);

/// Throws RunError "cannot read standard input: REASON" when the last read of `in`
/// failed (a folder given as standard input, say): a read error is never the end of
/// the input. Every scan calls it where it meets EOF.
void check_input_error(std::FILE* in);

/// Flushes standard output; throws RunError when anything printed on it was lost
/// (a full disk, say), so that a run whose dialogue went nowhere is not a success.
void check_console_output();

/// Longest piece of unreadable text quoted in a message, characters.
inline constexpr std::size_t kQuotedWordChars = 32;

/// What a failed scan left unread, for the message that quotes it: the characters
/// up to the next white space, at most kQuotedWordChars. Empty at the end of the
/// input, or when the scan consumed the text already.
std::string unread_word(std::FILE* in);

}  // namespace io
