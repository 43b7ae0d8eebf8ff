#pragma once
// Control characters shown as their control pictures (U+2400 + the byte, U+2421 for DEL), so that text
// taken from a member or project file never breaks the record, document or terminal line that carries it.
// Text is UTF-8: a byte below 0x80 is always the ASCII character itself, so controls are found byte-wise
// and the bytes of other characters pass untouched.

#include <string>
#include <string_view>

namespace vb {

// `text` with every control character (0x00-0x1F and 0x7F) replaced by its control picture U+2400-U+241F
// or U+2421, and every C1 control character (U+0080-U+009F, which has no picture) by U+FFFD; every other
// byte stays as it is.
std::string ControlPictures(std::string_view text);

// `text` (UTF-8) as an XML 1.0 document can carry it, even as references: every C0 control but the tab
// as its control picture, U+FFFE and U+FFFF as U+FFFD; everything else, DEL and the C1 controls among it,
// stays. Appends to `out`; returns true when a character was replaced.
bool AppendCarriable(std::string& out, std::string_view text);

// True when AppendCarriable would replace a character of `text`.
bool NeedsReplacing(std::string_view text) noexcept;

} // namespace vb
