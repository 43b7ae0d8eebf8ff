#include "text/crlf_copy.h"

#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vb {

namespace {

// The first CR without an LF after it or LF without a CR before it in [p, end), or end; `start` is where
// the run begins. A run never ends in the first half of a CR LF (the reader keeps such a CR back for the
// next run), so a CR as a run's last byte stands alone, and so does an LF as its first.
const char* FindLoneLineEnd(const char* start, const char* p, const char* end) {
    if (p < end && *p == '\n' && (p == start || p[-1] != '\r'))
        return p;
#if defined(__SSE2__)
    // Sixteen positions at a time: a CR at p + i and an LF at p + i + 1 go together, so every place where
    // exactly one of them holds is a lone CR (at p + i) or a lone LF (at p + i + 1).
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    while (end - p > 16) {
        const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1));
        const int lone = _mm_movemask_epi8(_mm_xor_si128(_mm_cmpeq_epi8(here, cr), _mm_cmpeq_epi8(next, lf)));
        if (lone != 0) {
            const int i = __builtin_ctz(static_cast<unsigned>(lone));
            return p[i] == '\r' ? p + i : p + i + 1;
        }
        p += 16;
    }
#endif
    for (; p < end; ++p) {
        if (*p == '\r') {
            if (p + 1 == end || p[1] != '\n')
                return p;
            ++p; // the LF of this CR LF
        } else if (*p == '\n' && (p == start || p[-1] != '\r')) {
            return p;
        }
    }
    return end;
}

} // namespace

void CopyRestWithCrLf(LineReader& in, LineWriter& out) {
    std::string_view run;
    bool lineOpen = false; // the bytes written so far end inside a line
    while (in.nextBytes(run)) {
        const char* start = run.data();
        const char* end = start + run.size();
        const char* from = start;
        for (const char* lone = FindLoneLineEnd(start, start, end); lone != end;
             lone = FindLoneLineEnd(start, lone + 1, end)) {
            out.write({from, static_cast<std::size_t>(lone - from)});
            out.write("\r\n");
            from = lone + 1;
        }
        out.write({from, static_cast<std::size_t>(end - from)});
        lineOpen = end[-1] != '\n' && end[-1] != '\r';
    }
    if (lineOpen)
        out.write("\r\n");
}

} // namespace vb
