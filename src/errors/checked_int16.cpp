#include "checked_int16.h"

#include "runtime_error.h"

#include <limits>

namespace vb {

Int16 Add16(Int16 a, Int16 b) {
    const int sum = int{a} + int{b};
    if (sum > std::numeric_limits<Int16>::max() || sum < std::numeric_limits<Int16>::min())
        throw RuntimeError(err::Overflow);
    return static_cast<Int16>(sum);
}

void CheckEntryCount(std::size_t size, Int16 count) {
    if (count < 0 || static_cast<std::size_t>(count) > size)
        throw RuntimeError(err::SubscriptOutOfRange);
}

} // namespace vb
