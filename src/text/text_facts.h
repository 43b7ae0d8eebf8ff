#pragma once
// What a text file is made of: its line ends and whether its bytes are ASCII, UTF-8 or another 8-bit code
// page. Read in one streaming pass, so a file of any size costs a buffer, not its size.

#include <cstdint>
#include <string>
#include <string_view>

namespace vb {

enum class LineEnds { None, CrLf, Lf, Cr, Mixed };
// In the order of what they allow: a file is as general as the most general of its lines.
enum class TextKind { Ascii, Utf8, EightBit };

// How the file's bytes carry its text: as they are, after a UTF-8 byte order mark, or as UTF-16 (the
// other facts are then those of its UTF-8).
enum class Encoding { Plain, Utf8WithMark, Utf16Le, Utf16Be };

struct TextFacts {
    LineEnds lineEnds = LineEnds::None;
    TextKind text = TextKind::Ascii;
    Encoding encoding = Encoding::Plain;
    std::uint64_t bytes = 0;
};

// Feeds the bytes of one file in pieces of any size; a CR LF pair or a UTF-8 sequence may fall across
// two pieces.
class TextFactsScan {
public:
    void feed(std::string_view piece);
    // The facts of everything fed; a file that ends inside a UTF-8 sequence is 8-bit.
    TextFacts facts() const;

private:
    void noteEnd(LineEnds end);

    TextFacts facts_;
    bool pendingCr_ = false;
    bool invalid_ = false;
    bool high_ = false;
    std::string carry_; // the start of a UTF-8 sequence the last piece cut
};

// The text's own words: "CR LF", "LF", "CR", "gemischt", "keine"; "ASCII", "UTF-8", "8-Bit".
std::string_view NameOf(LineEnds ends);
std::string_view NameOf(TextKind kind);
// The name of the file's text: "UTF-16LE" or "UTF-16BE" for UTF-16, "UTF-8" for valid text after a UTF-8
// mark, else NameOf(facts.text).
std::string_view TextNameOf(const TextFacts& facts);

// UTF-8 when the bytes are valid UTF-8 and hold a byte above 0x7F, else ASCII or 8-bit.
TextKind TextKindOf(std::string_view bytes) noexcept;

// The kind of text that holds both: lines read one by one add up to the kind of the whole file, since no
// UTF-8 sequence holds a line end.
constexpr TextKind Together(TextKind a, TextKind b) noexcept {
    return a < b ? b : a;
}

} // namespace vb
