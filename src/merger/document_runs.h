#pragma once
// Working through a run of whole lines (each ended by CR LF, CR or LF, the last perhaps by nothing) at the
// speed of a copy, for the document formats and the merge that feeds them. The bytes a format writes as
// they are go out in stretches found 16 bytes at a time; only the few that it writes otherwise (line ends,
// controls, markup) are looked at one by one.

#include "merger/document_format.h"
#include "text/code_page.h"

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace merger::runs {

// True for a byte a format must look at: the C0 controls (line ends among them; the tab only when `Tab`)
// and the bytes `Extra`.
template <bool Tab, unsigned char... Extra> constexpr bool IsSpecial(unsigned char b) noexcept {
    return (b < 0x20 && (Tab || b != '\t')) || ((b == Extra) || ...);
}

// The line of `run` that begins at `at`: sets `end` to where its bytes end and returns where the next line
// begins (after its CR LF, CR or LF).
inline std::size_t LineAt(std::string_view run, std::size_t at, std::size_t& end) noexcept {
    end = std::min(run.find_first_of("\r\n", at), run.size());
    if (end == run.size())
        return end;
    return run[end] == '\r' && end + 1 < run.size() && run[end + 1] == '\n' ? end + 2 : end + 1;
}

// The bytes a format makes of a run, in a buffer that is reused from run to run and is not cleared when
// it grows (its bytes are written before they count).
class Sink {
public:
    // Room for `size` more bytes at the end; the bytes put there count once added(size) says so.
    char* room(std::size_t size) {
        if (capacity_ - used_ < size)
            grow(used_ + size);
        return data_.get() + used_;
    }
    void added(std::size_t size) noexcept { used_ += size; }
    void append(const char* bytes, std::size_t size) {
        std::memcpy(room(size), bytes, size);
        used_ += size;
    }
    void append(std::string_view bytes) { append(bytes.data(), bytes.size()); }
    void push(char ch) {
        *room(1) = ch;
        ++used_;
    }
    std::string_view view() const noexcept { return {data_.get(), used_}; }
    void clear() noexcept { used_ = 0; }

private:
    void grow(std::size_t need) {
        const std::size_t capacity = std::max({need, 2 * capacity_, std::size_t{64 * 1024}});
        auto data = std::make_unique_for_overwrite<char[]>(capacity);
        if (used_ != 0)
            std::memcpy(data.get(), data_.get(), used_);
        data_ = std::move(data);
        capacity_ = capacity;
    }

    std::unique_ptr<char[]> data_;
    std::size_t capacity_ = 0;
    std::size_t used_ = 0;
};

// Appends the UTF-8 form of a Windows-1252 byte above 0x7F.
inline void AppendWindows1252(Sink& out, unsigned char byte) {
    const char32_t c = vb::Windows1252CodePoint(byte); // below U+10000
    char* to = out.room(3);
    if (c < 0x800) {
        to[0] = static_cast<char>(0xC0 | (c >> 6));
        to[1] = static_cast<char>(0x80 | (c & 0x3F));
        out.added(2);
    } else {
        to[0] = static_cast<char>(0xE0 | (c >> 12));
        to[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        to[2] = static_cast<char>(0x80 | (c & 0x3F));
        out.added(3);
    }
}

#if defined(__SSE2__)
// Bit i set where p[i] (i in [0, 16)) is special, or above 0x7F when `high`.
template <bool Tab, unsigned char... Extra> std::uint64_t Special16(const char* p, bool high) noexcept {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    __m128i hit = _mm_cmpeq_epi8(_mm_subs_epu8(v, _mm_set1_epi8(0x1F)), _mm_setzero_si128()); // up to 0x1F
    if constexpr (!Tab)
        hit = _mm_andnot_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('\t')), hit);
    ((hit = _mm_or_si128(hit, _mm_cmpeq_epi8(v, _mm_set1_epi8(static_cast<char>(Extra))))), ...);
    const int mask = _mm_movemask_epi8(hit) | (high ? _mm_movemask_epi8(v) : 0);
    return static_cast<std::uint32_t>(mask);
}

// Bit i set where block[i] == ch, for i in [0, 64).
inline std::uint64_t Equal64(const char* block, char ch) noexcept {
    const __m128i c = _mm_set1_epi8(ch);
    std::uint64_t mask = 0;
    for (int k = 0; k < 64; k += 16)
        mask |= static_cast<std::uint64_t>(static_cast<std::uint32_t>(_mm_movemask_epi8(
                    _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(block + k)), c))))
                << k;
    return mask;
}

// Copies 64 bytes, whatever of them the caller counts.
inline void Copy64(char* to, const char* from) noexcept {
    for (int k = 0; k < 64; k += 16)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + k),
                         _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + k)));
}

// Appends the `count` bytes at `from`, in one 64-byte copy where 64 bytes from there still lie before
// `end`, so that no read goes past the run.
inline void AppendBlockPart(Sink& out, const char* from, std::size_t count, const char* end) noexcept {
    if (end - from >= 64)
        Copy64(out.room(64), from);
    else
        std::memcpy(out.room(count), from, count);
    out.added(count);
}
#endif

// Writes the lines of `run` to `out`: for each line format.open(out), its bytes, format.close(out). A
// special byte inside a line goes to format.escape(out, run, at), which writes it and returns the number
// of bytes it took (at least 1); with Windows-1252 text every byte above 0x7F is converted here instead.
// Returns the number of lines.
template <bool Tab, unsigned char... Extra, class Format>
std::uint64_t WriteLines(Sink& out, std::string_view run, RunText text, Format& format) {
    const char* p = run.data();
    const std::size_t size = run.size();
    const bool convert = text == RunText::Windows1252;
    std::uint64_t lines = 0;
    if (size == 0)
        return lines;
    format.open(out);
    ++lines;
    bool open = true;
    // The special byte at `at`; returns the bytes it took.
    const auto special = [&](std::size_t at) __attribute__((always_inline))->std::size_t {
        const char ch = p[at];
        if (ch == '\r' || ch == '\n') {
            const std::size_t taken = ch == '\r' && at + 1 < size && p[at + 1] == '\n' ? 2 : 1;
            format.close(out);
            open = at + taken < size;
            if (open) {
                format.open(out);
                ++lines;
            }
            return taken;
        }
        if (convert && static_cast<unsigned char>(ch) >= 0x80) {
            AppendWindows1252(out, static_cast<unsigned char>(ch));
            return 1;
        }
        return format.escape(out, run, at);
    };
    std::size_t at = 0;
#if defined(__SSE2__)
    // Blocks of 64 bytes: the plain bytes between two special ones go out in 64-byte stores of which only
    // those before the special byte count, so the branches follow the number of special bytes, not where
    // they are.
    while (size - at >= 64) {
        const char* block = p + at;
        std::uint64_t mask = Special16<Tab, Extra...>(block, convert) |
                             Special16<Tab, Extra...>(block + 16, convert) << 16 |
                             Special16<Tab, Extra...>(block + 32, convert) << 32 |
                             Special16<Tab, Extra...>(block + 48, convert) << 48;
        // The LF of a CR LF is taken with its CR: its bit goes, so that a line costs one turn of the loop.
        mask &= ~(Equal64(block, '\r') << 1 & Equal64(block, '\n'));
        std::size_t from = 0; // the first byte of the block not written yet
        for (; mask != 0; mask &= mask - 1) {
            const auto i = static_cast<std::size_t>(__builtin_ctzll(mask));
            if (i < from)
                continue; // taken with the special byte before it
            AppendBlockPart(out, block + from, i - from, p + size);
            from = i + special(at + i);
        }
        if (from < 64) {
            AppendBlockPart(out, block + from, 64 - from, p + size);
            from = 64;
        }
        at += from;
    }
#endif
    while (at < size) {
        const auto b = static_cast<unsigned char>(p[at]);
        if (IsSpecial<Tab, Extra...>(b) || (convert && b >= 0x80)) {
            at += special(at);
        } else {
            out.push(static_cast<char>(b));
            ++at;
        }
    }
    if (open)
        format.close(out); // the file's last line, without an end
    return lines;
}

// Appends the decimal digits of `number`.
inline void AppendNumber(Sink& out, std::uint64_t number) {
    char* digits = out.room(24);
    out.added(static_cast<std::size_t>(std::to_chars(digits, digits + 24, number).ptr - digits));
}

// Appends the number as LineNumberPrefix shows it: right-aligned in six places, then " | ".
inline void AppendNumberPrefix(Sink& out, std::uint64_t number) {
    char digits[24];
    const auto length =
        static_cast<std::size_t>(std::to_chars(digits, digits + sizeof digits, number).ptr - digits);
    char* to = out.room(32);
    const std::size_t pad = length < 6 ? 6 - length : 0;
    std::memset(to, ' ', pad);
    std::memcpy(to + pad, digits, length);
    std::memcpy(to + pad + length, " | ", 3);
    out.added(pad + length + 3);
}

// What a run of lines holds that the document must know before it writes them: any byte above 0x7F, a
// backtick, a control other than the tab and the line ends, the byte 0xEF (the start of U+FFFE or U+FFFF
// in UTF-8).
struct RunBytes {
    bool high = false;
    bool backtick = false;
    bool control = false;
    bool ef = false;
};

inline RunBytes BytesOfRun(std::string_view run) noexcept {
    const char* p = run.data();
    const std::size_t size = run.size();
    std::size_t at = 0;
    RunBytes seen;
#if defined(__SSE2__)
    const __m128i limit = _mm_set1_epi8(0x1F);
    const __m128i zero = _mm_setzero_si128();
    __m128i high = zero, backtick = zero, control = zero, ef = zero;
    for (; at + 16 <= size; at += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + at));
        high = _mm_or_si128(high, v);
        backtick = _mm_or_si128(backtick, _mm_cmpeq_epi8(v, _mm_set1_epi8('`')));
        const __m128i allowed = _mm_or_si128(
            _mm_cmpeq_epi8(v, _mm_set1_epi8('\t')),
            _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('\r')), _mm_cmpeq_epi8(v, _mm_set1_epi8('\n'))));
        control =
            _mm_or_si128(control, _mm_andnot_si128(allowed, _mm_cmpeq_epi8(_mm_subs_epu8(v, limit), zero)));
        ef = _mm_or_si128(ef, _mm_cmpeq_epi8(v, _mm_set1_epi8(static_cast<char>(0xEF))));
    }
    seen.high = _mm_movemask_epi8(high) != 0;
    seen.backtick = _mm_movemask_epi8(backtick) != 0;
    seen.control = _mm_movemask_epi8(control) != 0;
    seen.ef = _mm_movemask_epi8(ef) != 0;
#endif
    for (; at < size; ++at) {
        const auto b = static_cast<unsigned char>(p[at]);
        seen.high = seen.high || b >= 0x80;
        seen.backtick = seen.backtick || b == '`';
        seen.control = seen.control || (b < 0x20 && b != '\t' && b != '\r' && b != '\n');
        seen.ef = seen.ef || b == 0xEF;
    }
    return seen;
}

// True when the UTF-8 bytes of U+FFFE or U+FFFF (EF BF BE, EF BF BF) begin at text[at].
inline bool NonCharacterAt(std::string_view text, std::size_t at) noexcept {
    return at + 2 < text.size() && text[at] == '\xEF' && text[at + 1] == '\xBF' &&
           (text[at + 2] == '\xBE' || text[at + 2] == '\xBF');
}

// True when `text` holds U+FFFE or U+FFFF as UTF-8.
inline bool HoldsNonCharacter(std::string_view text) noexcept {
    for (std::size_t at = text.find('\xEF'); at != std::string_view::npos; at = text.find('\xEF', at + 1))
        if (NonCharacterAt(text, at))
            return true;
    return false;
}

// Writes a byte a document in XML or Markdown cannot carry as it is: a C0 control as its control picture
// (U+2400 + the byte), U+FFFE and U+FFFF as U+FFFD, any other byte as it is. Returns the bytes taken.
inline std::size_t AppendCarriedAt(Sink& out, std::string_view text, std::size_t at) {
    const auto b = static_cast<unsigned char>(text[at]);
    if (b < 0x20 && b != '\t') {
        const char picture[] = {'\xE2', '\x90', static_cast<char>(0x80 + b)};
        out.append(picture, sizeof picture);
        return 1;
    }
    if (NonCharacterAt(text, at)) {
        out.append("\xEF\xBF\xBD", 3);
        return 3;
    }
    out.push(static_cast<char>(b));
    return 1;
}

} // namespace merger::runs
