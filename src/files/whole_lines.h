#pragma once
// The lines of a run of whole lines, as LineReader::nextLines hands it out, one by one: the same lines,
// with the same ends (CR LF, CR alone, LF alone), as LineReader::next gives for those bytes.

#include "files/line_reader.h"

#include <cstddef>
#include <string_view>

namespace vb {

class WholeLines {
public:
    // `run` holds only whole lines; the last one may lack its end.
    explicit WholeLines(std::string_view run) noexcept : run_(run) {}

    // The next line without its end, a view into the run; false after the last one.
    bool next(std::string_view& line) noexcept {
        if (at_ >= run_.size())
            return false;
        const char* base = run_.data();
        const auto end = static_cast<std::size_t>(FindLineEnd(base + at_, base + run_.size()) - base);
        line = std::string_view(base + at_, end - at_);
        at_ = end + 1;
        if (at_ < run_.size() && base[end] == '\r' && base[at_] == '\n')
            ++at_;
        return true;
    }

private:
    std::string_view run_;
    std::size_t at_ = 0; // the start of the next line
};

} // namespace vb
