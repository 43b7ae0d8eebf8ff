#include "files/crlf_copy.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vb {

namespace {

// Input bytes converted per piece: the output of a piece (at most twice as long, and kOvershoot bytes of
// a last store beyond it) fits into the room the writer gives.
constexpr std::size_t kOvershoot = 64;
constexpr std::size_t kPiece = LineWriter::kMaxRoom / 2 - kOvershoot;

// True when the byte at p ends a line alone and is rewritten as CR LF. A run never ends in the first half
// of a CR LF (the reader keeps such a CR back for the next run), so a CR as a run's last byte stands
// alone, and so does an LF as its first.
bool LoneAt(const char* start, const char* p, const char* end) {
    if (*p == '\r')
        return p + 1 == end || p[1] != '\n';
    return *p == '\n' && (p == start || p[-1] != '\r');
}

#if defined(__SSE2__)
__m128i Load(const char* at) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
}

// Bit i set where exactly one of "CR at p + i" and "LF at p + i + 1" holds, for i in [0, 16): a lone CR
// at p + i or a lone LF at p + i + 1.
std::uint64_t LoneEnds16(const char* p) {
    const __m128i cr = _mm_cmpeq_epi8(Load(p), _mm_set1_epi8('\r'));
    const __m128i lf = _mm_cmpeq_epi8(Load(p + 1), _mm_set1_epi8('\n'));
    return static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_xor_si128(cr, lf)));
}

// Copies 64 bytes, whatever of them the caller keeps.
void Copy64(char* out, const char* from) {
    for (int k = 0; k < 64; k += 16)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + k), Load(from + k));
}
#endif

// Converts [p, stop) of the run [start, end) into `out`, looking at most at `end`; returns the end of the
// bytes written.
char* ConvertPiece(const char* start, const char* p, const char* stop, const char* end, char* out) {
#if defined(__SSE2__)
    // Blocks of 64 positions: the lone ends among the CRs at p .. p + 63 and the LFs at p + 1 .. p + 64
    // (an LF at p itself is looked at on its own, the first time only, as later it was the last LF of
    // the block before). The bytes between lone ends go out in 64-byte stores, of which only the bytes
    // up to the lone end count, each lone end as CR LF; so the branches depend on the number of line ends
    // a block holds, not on where they are. A store reads up to 64 bytes past the block's last lone end,
    // so the loop stops 130 bytes before `stop`.
    while (stop - p >= 130) {
        if (*p == '\n' && LoneAt(start, p, end)) {
            *out++ = '\r';
            *out++ = '\n';
            ++p;
            continue;
        }
        std::uint64_t lone =
            LoneEnds16(p) | LoneEnds16(p + 16) << 16 | LoneEnds16(p + 32) << 32 | LoneEnds16(p + 48) << 48;
        std::ptrdiff_t from = 0; // the first byte of the block not written yet
        for (; lone != 0; lone &= lone - 1) {
            const int i = __builtin_ctzll(lone);
            const std::ptrdiff_t at = i + (p[i] != '\r'); // the lone CR, or the lone LF after it
            Copy64(out, p + from);
            out += at - from;
            out[0] = '\r';
            out[1] = '\n';
            out += 2;
            from = at + 1;
        }
        if (from <= 64) {
            Copy64(out, p + from);
            out += 64 - from;
            p += 64;
        } else {
            p += from; // a lone LF just after the block was written with it
        }
    }
#endif
    for (; p < stop; ++p) {
        if (LoneAt(start, p, end)) {
            *out++ = '\r';
            *out++ = '\n';
        } else {
            *out++ = *p;
        }
    }
    return out;
}

} // namespace

void CopyRestWithCrLf(LineReader& in, LineWriter& out) {
    std::string_view run;
    bool lineOpen = false; // the bytes written so far end inside a line
    while (in.nextBytes(run)) {
        const char* start = run.data();
        const char* end = start + run.size();
        for (const char* p = start; p < end;) {
            const char* stop = p + std::min<std::size_t>(kPiece, static_cast<std::size_t>(end - p));
            // A piece that stops between the CR and LF of a pair: the pair stays whole in the next piece,
            // since the CR is looked at with the LF after it and the LF with the CR before it.
            char* room = out.room(2 * static_cast<std::size_t>(stop - p) + kOvershoot);
            out.commit(static_cast<std::size_t>(ConvertPiece(start, p, stop, end, room) - room));
            p = stop;
        }
        lineOpen = end[-1] != '\n' && end[-1] != '\r';
    }
    if (lineOpen)
        out.write("\r\n");
}

} // namespace vb
