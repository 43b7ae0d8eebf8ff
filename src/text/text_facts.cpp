#include "text_facts.h"

#include "code_page.h"

#include <algorithm>

namespace vb {

namespace {

// The length of the UTF-8 sequence a lead byte starts, or 0 for a byte that starts none.
std::size_t SequenceLength(unsigned char lead) noexcept {
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

} // namespace

void TextFactsScan::noteEnd(LineEnds end) {
    if (facts_.lineEnds == LineEnds::None)
        facts_.lineEnds = end;
    else if (facts_.lineEnds != end)
        facts_.lineEnds = LineEnds::Mixed;
}

void TextFactsScan::feed(std::string_view piece) {
    facts_.bytes += piece.size();
    for (const char ch : piece) {
        if (pendingCr_) {
            pendingCr_ = false;
            if (ch == '\n') {
                noteEnd(LineEnds::CrLf);
                continue;
            }
            noteEnd(LineEnds::Cr);
        }
        if (ch == '\r')
            pendingCr_ = true;
        else if (ch == '\n')
            noteEnd(LineEnds::Lf);
    }

    // UTF-8: whole sequences are checked with the strict decoder; a cut one waits for the next piece.
    if (invalid_)
        return;
    std::string joined;
    std::string_view bytes = piece;
    if (!carry_.empty()) {
        joined = carry_ + std::string(piece);
        bytes = joined;
        carry_.clear();
    }
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        high_ = true;
        const std::size_t length = SequenceLength(lead);
        if (length != 0 && i + length > bytes.size()) {
            carry_.assign(bytes.substr(i));
            return;
        }
        char32_t c = 0;
        if (!DecodeUtf8(bytes, i, c)) {
            invalid_ = true;
            return;
        }
    }
}

TextFacts TextFactsScan::facts() const {
    TextFacts facts = facts_;
    if (pendingCr_)
        facts.lineEnds = facts.lineEnds == LineEnds::None || facts.lineEnds == LineEnds::Cr ? LineEnds::Cr
                                                                                            : LineEnds::Mixed;
    facts.text = !high_ ? TextKind::Ascii : invalid_ || !carry_.empty() ? TextKind::EightBit : TextKind::Utf8;
    return facts;
}

std::string_view NameOf(LineEnds ends) {
    switch (ends) {
    case LineEnds::CrLf:
        return "CR LF";
    case LineEnds::Lf:
        return "LF";
    case LineEnds::Cr:
        return "CR";
    case LineEnds::Mixed:
        return "gemischt";
    case LineEnds::None:
        break;
    }
    return "keine";
}

std::string_view NameOf(TextKind kind) {
    switch (kind) {
    case TextKind::Ascii:
        return "ASCII";
    case TextKind::Utf8:
        return "UTF-8";
    case TextKind::EightBit:
        break;
    }
    return "8-Bit";
}

std::string_view TextNameOf(const TextFacts& facts) {
    switch (facts.encoding) {
    case Encoding::Utf16Le:
        return "UTF-16LE";
    case Encoding::Utf16Be:
        return "UTF-16BE";
    case Encoding::Utf8WithMark:
        if (facts.text != TextKind::EightBit)
            return NameOf(TextKind::Utf8);
        break;
    case Encoding::Plain:
        break;
    }
    return NameOf(facts.text);
}

TextKind TextKindOf(std::string_view bytes) noexcept {
    // One pass without an early exit, so that the common all-ASCII line costs a few vector instructions.
    unsigned char seen = 0;
    for (const char c : bytes)
        seen |= static_cast<unsigned char>(c);
    if ((seen & 0x80) == 0)
        return TextKind::Ascii;
    return IsUtf8(bytes) ? TextKind::Utf8 : TextKind::EightBit;
}

} // namespace vb
