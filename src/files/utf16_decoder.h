#pragma once
// Turns UTF-16 text (little- or big-endian, the byte order mark already taken off) into UTF-8, in pieces
// of any size: a code unit or a surrogate pair cut between two pieces waits for the next one. A surrogate
// without its partner and an odd byte at the end become U+FFFD, so every output is valid UTF-8.

#include <string>
#include <string_view>

namespace vb {

class Utf16Decoder {
public:
    explicit Utf16Decoder(bool bigEndian) noexcept : bigEndian_(bigEndian) {}

    // Appends the UTF-8 of `bytes` to `out`.
    void decode(std::string_view bytes, std::string& out);
    // Appends what a cut unit or a waiting high surrogate left at the end of the text.
    void finish(std::string& out);

private:
    void unit(char16_t u, std::string& out);

    bool bigEndian_;
    bool haveByte_ = false;
    unsigned char byte_ = 0;
    char16_t high_ = 0; // a high surrogate waiting for its low one, or 0
};

} // namespace vb
