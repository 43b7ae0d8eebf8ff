#pragma once
// How an inventory reads the members of one project: the code page that shows names of files that are not
// UTF-8, and what happens to a member file that does not open.

#include "errors/runtime_error.h"
#include "text/shown_text.h"

#include <functional>

namespace inventory {

struct MemberReading {
    vb::CodePage codePage;
    // False: a member file that does not open ends the project's reading with its RuntimeError. True: the
    // reading goes on past it, and `missing` hears of it.
    bool keepGoing = false;
    std::function<void(const vb::RuntimeError&)> missing;

    // Throws `error`, or passes it to `missing` when the reading goes on.
    void memberMissing(const vb::RuntimeError& error) const {
        if (!keepGoing)
            throw error;
        if (missing)
            missing(error);
    }
};

} // namespace inventory
