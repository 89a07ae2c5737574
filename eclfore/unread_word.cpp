#include "unread_word.h"

#include <cctype>

namespace eclfore {

std::string read_unread_word(std::FILE* in) {
  std::string word;
  int c = std::getc(in);
  while (c != EOF && !std::isspace(c) && word.size() < kQuotedWordChars) {
    word.push_back(static_cast<char>(c));
    c = std::getc(in);
  }
  return word;
}

}  // namespace eclfore
