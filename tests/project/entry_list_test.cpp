#include "project/entry_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using vb::EntryList;
using Strings = std::vector<std::string>;

TEST(EntryList, HoldsEachEntryAsWrittenEmptyOnesAndNulBytesIncluded) {
    const std::string withNul("Ha\0pt.frm", 9);
    const EntryList list{"Main.frm", "", withNul, "Sub\\Zweit.frm"};
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0], "Main.frm");
    EXPECT_EQ(list[1], "");
    EXPECT_EQ(list[2], withNul);
    EXPECT_EQ(list.back(), "Sub\\Zweit.frm");
    EXPECT_EQ(Strings(list.begin(), list.end()), (Strings{"Main.frm", "", withNul, "Sub\\Zweit.frm"}));
    EXPECT_EQ(list, (Strings{"Main.frm", "", withNul, "Sub\\Zweit.frm"}));
    EXPECT_EQ(EntryList(Strings{"Main.frm", "", withNul, "Sub\\Zweit.frm"}), list);
}

TEST(EntryList, EqualOnlyForTheSameEntriesNotJustTheSameBytes) {
    EXPECT_NE((EntryList{"ab", "c"}), (EntryList{"a", "bc"}));
    EXPECT_NE((EntryList{"a.frm"}), (EntryList{"a.frm", ""}));
    EXPECT_NE((EntryList{"a.frm", ""}), (Strings{"a.frm"}));
    EXPECT_NE((EntryList{"a.frm"}), (Strings{"b.frm"}));
    // However a list came to be empty, it equals every other empty list.
    EntryList resized{"a.frm"};
    resized.resize(0);
    EntryList moved{"b.frm"};
    const EntryList taken = std::move(moved);
    for (const EntryList* empty : {&resized, &moved})
        EXPECT_EQ(*empty, EntryList{});
    EXPECT_EQ(EntryList{}, Strings{});
    EXPECT_EQ(taken, Strings{"b.frm"});
}

TEST(EntryList, ResizeKeepsTheFirstEntriesOrAddsEmptyOnesAndAddingGoesOnAfterIt) {
    EntryList list;
    list.reserve(3, 10);
    list.push_back("a.frm");
    list.resize(3);
    EXPECT_EQ(list, (Strings{"a.frm", "", ""}));
    list.push_back("b.frm");
    EXPECT_EQ(list, (Strings{"a.frm", "", "", "b.frm"}));
    list.resize(1);
    list.push_back("c.frm");
    EXPECT_EQ(list, (Strings{"a.frm", "c.frm"})) << "nothing of a cut entry is left behind";
    EXPECT_EQ(vb::StringsOf({list.begin() + 1, list.end()}), Strings{"c.frm"});
}

} // namespace
