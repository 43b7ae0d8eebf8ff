#pragma once
// Counters and indexes are 16-bit signed numbers; adding past 32767 is an overflow (error 6). Lists are
// indexed from 1 to their count; the count is checked against the list before any entry is read.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace vb {

using Int16 = std::int16_t;

// a + b, or RuntimeError 6 when the sum leaves the 16-bit range.
Int16 Add16(Int16 a, Int16 b);

// RuntimeError 9 when `count` is negative or more than `size`: entries past the list do not exist.
void CheckEntryCount(std::size_t size, Int16 count);

// Entries 1 to `count` of `list` (entry k is element k - 1); RuntimeError 9 as CheckEntryCount.
template <class T> std::span<const T> FirstEntries(const std::vector<T>& list, Int16 count) {
    CheckEntryCount(list.size(), count);
    return {list.data(), static_cast<std::size_t>(count)};
}

} // namespace vb
