#pragma once
/// Text taken from the input or the command line as a message may quote it: never
/// cut at a NUL, never a terminal escape sequence.

#include <string>
#include <string_view>

namespace io {

/// The bytes as a message may quote them: every byte that is not printable ASCII as \xNN
/// (two lower-case hex digits), a backslash as \\ ; printable ASCII as it is.
std::string escape_for_message(std::string_view bytes);

}  // namespace io
