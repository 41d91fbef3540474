// Shift-JIS (code page 932) texts: the lead-byte test, character-aware scans and bounded copies,
// and conversion to and from UTF-8 for the host.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

constexpr bool isSjisLeadByte(uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// Bytes of the character at p: 2 for a lead byte followed by a trail byte, else 1 (0 at NUL).
size_t sjisCharLength(const char* p);

// Longest prefix of text, at most maxBytes long, that ends on a character boundary.
size_t sjisFitLength(std::string_view text, size_t maxBytes);

// Copies src into dest (capacity destSize, NUL included), cut on a character boundary.
// Returns the bytes copied; dest is always terminated when destSize > 0.
size_t sjisCopy(char* dest, size_t destSize, std::string_view src);

// Offset of the last single-byte character c in text, never a trail byte; npos when absent.
size_t sjisFindLast(std::string_view text, char c);

// ASCII a-z upper-cased; the trail bytes of double-byte characters are left alone.
std::string sjisUpper(std::string_view text);

// Converts; a lone final lead byte is dropped and bytes with no meaning become '?'.
std::string sjisToUtf8(std::string_view sjis);

// Converts; false when a character has no Shift-JIS form (out then holds the part before it).
bool utf8ToSjis(std::string_view utf8, std::string& out);

}  // namespace platform
