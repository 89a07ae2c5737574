#pragma once
/// Typed answers for the unit tests of a dialogue: a stream over a text, read as the
/// programs read standard input.

#include <cstdio>
#include <string>

namespace support {

/// A FILE* over the given text, closed at the end of the scope.
struct TypedInput {
  explicit TypedInput(const std::string& text) : file(std::tmpfile()) {
    std::fputs(text.c_str(), file);
    std::rewind(file);
  }
  ~TypedInput() { std::fclose(file); }
  TypedInput(const TypedInput&) = delete;
  TypedInput& operator=(const TypedInput&) = delete;
  std::FILE* file;
};

}  // namespace support
