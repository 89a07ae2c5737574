#pragma once
/// What a failed "%d" or "%f" scan left unread, for the message that quotes it.

#include <cstdio>
#include <string>

namespace eclfore {

/// Longest piece of unreadable text quoted in a message, characters.
inline constexpr std::size_t kQuotedWordChars = 32;

/// Reads the characters up to the next white space (at most kQuotedWordChars) from
/// `in`. Empty at the end of the input, or when the scan consumed the text already.
std::string read_unread_word(std::FILE* in);

}  // namespace eclfore
