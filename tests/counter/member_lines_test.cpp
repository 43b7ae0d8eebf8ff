#include "counter/member_lines.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

namespace {

using counter::LineCounter;
using counter::LineTally;

LineTally Tally(bool description, const std::vector<std::string_view>& lines) {
    LineCounter counter(description);
    for (const std::string_view line : lines)
        counter.add(line);
    return counter.tally();
}

TEST(MemberLines, FormHeadDescriptionAttributesAndCode) {
    // VERSION is neither description nor code; the description ends before the first attribute line.
    const LineTally form =
        Tally(true, {"VERSION 5.00", "Begin VB.Form f", "   Begin VB.Label l", "   End", "End",
                     "Attribute VB_Name = \"f\"", "Attribute VB_Exposed = False", "Option Explicit", "",
                     " \t ", "' Kommentar", "  REM Kommentar", "Rem", "Remark = 1", "Private Sub Form_Load()",
                     "Attribute x", "End Sub"});
    EXPECT_EQ(form, (LineTally{17, 4, 3, 9, 2, 3}));
}

TEST(MemberLines, MembersWithoutAttributeLines) {
    // No object description: every line is code. A description without attributes: no code at all.
    EXPECT_EQ(Tally(false, {"Sub A()", "", "'x", "End Sub"}), (LineTally{4, 0, 0, 4, 1, 1}));
    EXPECT_EQ(Tally(true, {"VERSION 5.00", "Begin VB.Form f", "End", "Sub A()"}),
              (LineTally{4, 3, 0, 0, 0, 0}));
    // A form file with neither "Begin" nor "Attribute" has no description, so its lines are code.
    EXPECT_EQ(Tally(true, {"Sub A()", "End Sub"}), (LineTally{2, 0, 0, 2, 0, 0}));
    // "Begin" in a module, "BEGIN" of a class head, and "begin" are no object description.
    EXPECT_EQ(Tally(false, {"BEGIN", "Begin x", "END", "Attribute VB_Name = \"K\"", "Dim a"}),
              (LineTally{5, 0, 1, 1, 0, 0}));
    EXPECT_EQ(Tally(true, {"begin VB.Form f", "Attribute VB_Name = \"f\""}), (LineTally{2, 0, 1, 0, 0, 0}));
    EXPECT_EQ(Tally(false, {}), LineTally{});
}

} // namespace
