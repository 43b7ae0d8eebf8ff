#pragma once
// The entries of one kind of member, stored one after another in one block of bytes and handed out as
// views. Reading a project of 32767 members so costs two allocations per kind, not one string per entry.
// Views stay valid until the list is changed, moved from or destroyed.

#include <compare>
#include <cstddef>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace vb {

class EntryList {
public:
    // Walks the entries in order; each step gives the entry as a view into the list's bytes.
    class Iterator {
    public:
        using iterator_concept = std::random_access_iterator_tag;
        using iterator_category = std::input_iterator_tag; // the entries are made on reading, not stored
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        using reference = std::string_view;

        Iterator() = default;
        Iterator(const char* bytes, const std::size_t* at) noexcept : bytes_(bytes), at_(at) {}

        std::string_view operator*() const noexcept { return {bytes_ + at_[0], at_[1] - at_[0]}; }
        std::string_view operator[](difference_type n) const noexcept { return *(*this + n); }

        Iterator& operator++() noexcept { return ++at_, *this; }
        Iterator operator++(int) noexcept { return {bytes_, at_++}; }
        Iterator& operator--() noexcept { return --at_, *this; }
        Iterator operator--(int) noexcept { return {bytes_, at_--}; }
        Iterator& operator+=(difference_type n) noexcept { return at_ += n, *this; }
        Iterator& operator-=(difference_type n) noexcept { return at_ -= n, *this; }
        friend Iterator operator+(Iterator it, difference_type n) noexcept { return it += n; }
        friend Iterator operator+(difference_type n, Iterator it) noexcept { return it += n; }
        friend Iterator operator-(Iterator it, difference_type n) noexcept { return it -= n; }
        friend difference_type operator-(Iterator a, Iterator b) noexcept { return a.at_ - b.at_; }
        friend bool operator==(Iterator a, Iterator b) noexcept { return a.at_ == b.at_; }
        friend std::strong_ordering operator<=>(Iterator a, Iterator b) noexcept { return a.at_ <=> b.at_; }

    private:
        const char* bytes_ = nullptr;
        const std::size_t* at_ = nullptr; // the entry's start offset; its end is the next one
    };
    using value_type = std::string_view;
    using const_iterator = Iterator;

    EntryList() = default;
    // Lists written out, for callers that build a project's lists themselves.
    EntryList(std::initializer_list<std::string_view> entries);
    EntryList(const std::vector<std::string>& entries);

    std::size_t size() const noexcept { return offsets_.empty() ? 0 : offsets_.size() - 1; }
    bool empty() const noexcept { return size() == 0; }
    // Entry `index` (from 0); `index` must be below size().
    std::string_view operator[](std::size_t index) const noexcept { return begin()[std::ptrdiff_t(index)]; }
    // The last entry; the list must not be empty.
    std::string_view back() const noexcept { return (*this)[size() - 1]; }
    Iterator begin() const noexcept { return {bytes_.data(), offsets_.data()}; }
    Iterator end() const noexcept { return begin() + std::ptrdiff_t(size()); }

    // Room for `entries` more entries of `bytes` bytes in all: adding them then allocates nothing.
    void reserve(std::size_t entries, std::size_t bytes);
    // Adds `entry` (copied) after the last entry.
    void push_back(std::string_view entry) {
        if (offsets_.empty())
            offsets_.push_back(0);
        bytes_.append(entry);
        offsets_.push_back(bytes_.size());
    }
    // Keeps the first `count` entries, or adds empty ones until there are `count`.
    void resize(std::size_t count);

    // The same entries in the same order.
    bool operator==(const EntryList& other) const noexcept;
    friend bool operator==(const EntryList& list, const std::vector<std::string>& entries) noexcept;

private:
    template <class Entries> void appendAll(const Entries& entries) {
        std::size_t bytes = 0;
        for (const std::string_view entry : entries)
            bytes += entry.size();
        reserve(entries.size(), bytes);
        for (const std::string_view entry : entries)
            push_back(entry);
    }

    std::string bytes_;                // the entries one after another, nothing between or after them
    std::vector<std::size_t> offsets_; // entry i is bytes_[offsets_[i], offsets_[i + 1]); empty, or 0 first
};

// A run of entries of one list, such as entries 1 to a count. (A class of its own rather than
// std::ranges::subrange, which clang cannot build over this standard library's ranges.)
class EntryRange {
public:
    EntryRange(EntryList::Iterator first, EntryList::Iterator last) noexcept : first_(first), last_(last) {}
    EntryList::Iterator begin() const noexcept { return first_; }
    EntryList::Iterator end() const noexcept { return last_; }
    std::size_t size() const noexcept { return static_cast<std::size_t>(last_ - first_); }
    bool empty() const noexcept { return first_ == last_; }
    std::string_view operator[](std::size_t index) const noexcept { return first_[std::ptrdiff_t(index)]; }

private:
    EntryList::Iterator first_, last_;
};

// The entries as strings of their own, for a caller that keeps them apart from the list.
std::vector<std::string> StringsOf(EntryRange entries);

} // namespace vb
