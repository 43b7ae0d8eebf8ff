#pragma once
// Windows-1252 and UTF-8: the two ways the bytes of project and member files are read as text. One table,
// one strict UTF-8 decoder, used by the member lookup, the windows' display and the command line alike.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vb {

// The code point of a Windows-1252 byte. The five bytes Windows-1252 leaves undefined (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) map to the C1 controls of the same number, so every byte has one and the mapping is a
// lossless round trip.
char32_t Windows1252CodePoint(unsigned char byte) noexcept;

// The byte whose Windows1252CodePoint is `c`, or nullopt for a code point Windows-1252 cannot write.
std::optional<unsigned char> Windows1252Byte(char32_t c) noexcept;

// Windows-1252 bytes as UTF-8.
std::string Utf8FromWindows1252(std::string_view bytes);
// The same, appended to `out`; ASCII goes through in blocks.
void AppendUtf8FromWindows1252(std::string& out, std::string_view bytes);

// Decodes the UTF-8 sequence at bytes[i]; on success stores its code point, advances i past it and returns
// true. An invalid sequence (a stray continuation byte, a missing one, an overlong form, a surrogate, a
// code point past U+10FFFF, a truncated end) returns false and leaves i as it was.
bool DecodeUtf8(std::string_view bytes, std::size_t& i, char32_t& c) noexcept;

// True when the bytes are valid UTF-8 throughout (by DecodeUtf8's rules).
bool IsUtf8(std::string_view bytes) noexcept;

// Appends the UTF-8 form of a code point (at most U+10FFFF).
void AppendUtf8(std::string& out, char32_t c);

} // namespace vb
