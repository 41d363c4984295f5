// The text encodings of profile files. A file that starts with a UTF-8 or a
// UTF-16 byte-order mark is held as Unicode text (kept here as UTF-8, a lone
// UTF-16 surrogate encoded like any other code unit) and converted at the ANSI
// entry points to and from code page 1252, one character per UTF-16 unit.
#pragma once

#include <string>
#include <string_view>

namespace orbex::ini {

enum class Encoding { Ansi, Utf8, Utf16Le, Utf16Be };

// The encoding the file's first bytes announce and the length of that mark.
Encoding DetectEncoding(std::string_view bytes, size_t& markLength);

// File bytes after the mark -> the held text. Each invalid UTF-8 sequence
// becomes U+FFFD; a sequence cut by the end of the file is one U+FFFD; an odd
// last byte of UTF-16 is dropped.
std::string DecodeFile(std::string_view bytes, Encoding encoding);
// The held text -> file bytes, with the mark.
std::string EncodeFile(std::string_view text, Encoding encoding);

// Code page 1252 <-> the held text. Characters the code page lacks become
// '?', one per UTF-16 unit.
std::string AnsiToText(std::string_view ansi);
std::string TextToAnsi(std::string_view text);

}  // namespace orbex::ini
