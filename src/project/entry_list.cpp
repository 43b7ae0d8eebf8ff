#include "project/entry_list.h"

#include <algorithm>

namespace vb {

EntryList::EntryList(std::initializer_list<std::string_view> entries) {
    appendAll(entries);
}

EntryList::EntryList(const std::vector<std::string>& entries) {
    appendAll(entries);
}

void EntryList::reserve(std::size_t entries, std::size_t bytes) {
    offsets_.reserve(std::max<std::size_t>(offsets_.size(), 1) + entries);
    bytes_.reserve(bytes_.size() + bytes);
}

void EntryList::resize(std::size_t count) {
    if (count <= size()) {
        if (count == 0) {
            offsets_.clear();
            bytes_.clear();
            return;
        }
        offsets_.resize(count + 1);
        bytes_.resize(offsets_.back());
        return;
    }
    if (offsets_.empty())
        offsets_.push_back(0);
    offsets_.resize(count + 1, bytes_.size());
}

bool EntryList::operator==(const EntryList& other) const noexcept {
    // With nothing between the entries, the same bytes and the same offsets are the same entries.
    return size() == other.size() && (empty() || (offsets_ == other.offsets_ && bytes_ == other.bytes_));
}

bool operator==(const EntryList& list, const std::vector<std::string>& entries) noexcept {
    return list.size() == entries.size() && std::equal(list.begin(), list.end(), entries.begin());
}

std::vector<std::string> StringsOf(EntryRange entries) {
    return {entries.begin(), entries.end()};
}

} // namespace vb
