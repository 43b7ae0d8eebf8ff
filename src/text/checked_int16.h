#pragma once
// Counters and indexes are 16-bit signed numbers; adding past 32767 is an overflow (error 6).

#include <cstdint>

namespace vb {

using Int16 = std::int16_t;

// a + b, or RuntimeError 6 when the sum leaves the 16-bit range.
Int16 Add16(Int16 a, Int16 b);

} // namespace vb
