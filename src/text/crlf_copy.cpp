#include "text/crlf_copy.h"

#include <algorithm>
#include <cstddef>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vb {

namespace {

// Input bytes converted per piece: the output of a piece (at most twice as long, and 16 bytes of a last
// store beyond it) fits into the room the writer gives.
constexpr std::size_t kPiece = LineWriter::kMaxRoom / 2 - 16;

// True when the byte at p ends a line alone and is rewritten as CR LF. A run never ends in the first half
// of a CR LF (the reader keeps such a CR back for the next run), so a CR as a run's last byte stands
// alone, and so does an LF as its first.
bool LoneAt(const char* start, const char* p, const char* end) {
    if (*p == '\r')
        return p + 1 == end || p[1] != '\n';
    return *p == '\n' && (p == start || p[-1] != '\r');
}

// Converts [p, stop) of the run [start, end) into `out`, looking at most at `end`; returns the end of the
// bytes written.
char* ConvertPiece(const char* start, const char* p, const char* stop, const char* end, char* out) {
#if defined(__SSE2__)
    // Sixteen positions at a time: a CR at p + i and an LF at p + i + 1 go together, so a place where
    // exactly one of them holds is a lone CR (at p + i) or a lone LF (at p + i + 1). The bytes between
    // lone ends go out in 16-byte stores, each lone end as CR LF; an LF at p itself is looked at on its
    // own. The loop stops 32 bytes before `stop`, as a store may start up to 16 bytes into the window.
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    const auto load = [](const char* at) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at)); };
    while (stop - p >= 32) {
        if (*p == '\n' && LoneAt(start, p, end)) {
            *out++ = '\r';
            *out++ = '\n';
            ++p;
            continue;
        }
        const __m128i here = load(p);
        auto lone = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_xor_si128(_mm_cmpeq_epi8(here, cr), _mm_cmpeq_epi8(load(p + 1), lf))));
        std::ptrdiff_t from = 0; // the first byte of the window not written yet
        for (; lone != 0; lone &= lone - 1) {
            const int i = __builtin_ctz(lone);
            const std::ptrdiff_t at = p[i] == '\r' ? i : i + 1;
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out), load(p + from));
            out += at - from;
            *out++ = '\r';
            *out++ = '\n';
            from = at + 1;
        }
        if (from <= 16) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out), load(p + from));
            out += 16 - from;
            p += 16;
        } else {
            p += from; // a lone LF just after the window was written with it
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
            char* room = out.room(2 * static_cast<std::size_t>(stop - p) + 16);
            out.commit(static_cast<std::size_t>(ConvertPiece(start, p, stop, end, room) - room));
            p = stop;
        }
        lineOpen = end[-1] != '\n' && end[-1] != '\r';
    }
    if (lineOpen)
        out.write("\r\n");
}

} // namespace vb
