#pragma once

#include <string>
#include <string_view>

namespace Zorva {

/// The program's strings are 8-bit (Latin-1); the desktop speaks UTF-8.

/// Code points up to 255 become one character each; larger ones and malformed bytes
/// (stray continuation bytes, overlong forms, surrogates, cut-off sequences) are dropped.
std::string Latin1FromUtf8(std::string_view utf8);
std::string Utf8FromLatin1(std::string_view latin1);

} // namespace Zorva
