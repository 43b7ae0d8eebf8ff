#include "member_texts.h"
#include "memory_file.h"
#include "merger/head_rules.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <string>

namespace {

using merger::HeadRule;

// The body that `rule` gives for a member file holding `bytes`.
std::string Body(HeadRule rule, bool optionSet, std::string_view bytes) {
    const vbtest::MemoryFile member(bytes);
    const vbtest::MemoryFile output;
    vb::LineReader in(member.fd(), "member");
    {
        vb::LineWriter out(output.fd(), "out");
        merger::CopyMemberBody(rule, optionSet, in, out);
        out.flush();
    }
    return output.contents();
}

const std::string kForm = std::string("VERSION 5.00\r\n"
                                      "Object = \"{831FDD16-0C5C}#2.0#0\"; \"MSCOMCTL.OCX\"\r\n"
                                      "Begin VB.Form frmHaupt \r\n"
                                      "   Caption = \"Haupt\"\r\n"
                                      "   Attribute indented does not end the description\r\n"
                                      "End\r\n") +
                          std::string(vbtest::kFrmHauptAttributes) + "Option Explicit\r\n";

TEST(HeadRules, ObjectDescriptionWithOptionFromBeginToFourLinesAfterAttribute) {
    EXPECT_EQ(Body(HeadRule::ObjectDescription, true, kForm),
              std::string("Begin VB.Form frmHaupt \r\n"
                          "   Caption = \"Haupt\"\r\n"
                          "   Attribute indented does not end the description\r\n"
                          "End\r\n") +
                  std::string(vbtest::kFrmHauptAttributes) + "Option Explicit\r\n");
    // Lines before the first "Begin" are dropped; indented or lower-case ones do not start it.
    EXPECT_EQ(Body(HeadRule::ObjectDescription, true,
                   "VERSION 5.00\r\n  Begin X\r\n\tBegin Y\r\nbegin Z\r\nBegi\r\nBeginProperty Font\r\n"
                   "Attribut\r\nAttribute A\r\n1\r\n2\r\n3\r\n4\r\ncode\r\n"),
              "BeginProperty Font\r\nAttribut\r\nAttribute A\r\n1\r\n2\r\n3\r\n4\r\ncode\r\n");
}

TEST(HeadRules, ObjectDescriptionWithoutOptionDropsThroughFourLinesAfterAttribute) {
    EXPECT_EQ(Body(HeadRule::ObjectDescription, false, kForm), "Option Explicit\r\n");
    // The first "Attribute" counts wherever it stands; an indented one does not.
    EXPECT_EQ(Body(HeadRule::ObjectDescription, false,
                   "  Attribute no\r\nAttributeX\r\n1\r\n2\r\n3\r\n4\r\nAttribute kept\r\nrest\r\n"),
              "Attribute kept\r\nrest\r\n");
}

TEST(HeadRules, ModuleFirstLineOnlyWithOption) {
    constexpr std::string_view kModule = "Attribute VB_Name = \"Start\"\r\nOption Explicit\r\nSub Main()\r\n";
    EXPECT_EQ(Body(HeadRule::Module, true, kModule), kModule);
    EXPECT_EQ(Body(HeadRule::Module, false, kModule), "Option Explicit\r\nSub Main()\r\n");
}

TEST(HeadRules, ClassModuleDropsFirstLineAndWithoutOptionStartsAtTheTenth) {
    constexpr std::string_view kClass = "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10\r\n11\r\n";
    EXPECT_EQ(Body(HeadRule::ClassModule, true, kClass),
              "2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10\r\n11\r\n");
    EXPECT_EQ(Body(HeadRule::ClassModule, false, kClass), "10\r\n11\r\n");
}

TEST(HeadRules, FileEndingInsideItsHeadGivesWhatWasWrittenUntilThen) {
    const auto od = HeadRule::ObjectDescription;
    EXPECT_EQ(Body(od, true, ""), "");
    EXPECT_EQ(Body(od, true, "VERSION 5.00\r\n  Begin\r\n"), "");
    EXPECT_EQ(Body(od, true, "x\r\nBegin A\r\n  B"), "Begin A\r\n  B\r\n");
    EXPECT_EQ(Body(od, true, "Begin A\r\nAttribute 1\r\n2\r\n3"), "Begin A\r\nAttribute 1\r\n2\r\n3\r\n");
    EXPECT_EQ(Body(od, true, "Begin\r\nAttribute\r\n1\r\n2\r\n3\r\n4\r\n"),
              "Begin\r\nAttribute\r\n1\r\n2\r\n3\r\n4\r\n");
    EXPECT_EQ(Body(od, false, "Begin A\r\nEnd\r\n"), "");
    EXPECT_EQ(Body(od, false, "Attribute 1\r\n2\r\n3\r\n"), "");
    EXPECT_EQ(Body(od, false, "Attribute 1\r\n2\r\n3\r\n4\r\n5\r\n"), "");
    EXPECT_EQ(Body(HeadRule::Module, true, ""), "");
    EXPECT_EQ(Body(HeadRule::Module, false, ""), "");
    EXPECT_EQ(Body(HeadRule::Module, false, "only\r\n"), "");
    EXPECT_EQ(Body(HeadRule::ClassModule, true, "1\r\n2\r\n3"), "2\r\n3\r\n");
    EXPECT_EQ(Body(HeadRule::ClassModule, false, "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n"), "");
}

TEST(HeadRules, HoldsItsHeadSaysWhetherTheFileEndsInsideItsHead) {
    const auto holds = [](HeadRule rule, bool optionSet, std::string_view bytes) {
        const vbtest::MemoryFile member(bytes);
        vb::LineReader in(member.fd(), "member");
        return merger::HoldsItsHead(rule, optionSet, in);
    };
    const auto od = HeadRule::ObjectDescription;
    EXPECT_TRUE(holds(od, true, kForm));
    EXPECT_TRUE(holds(od, false, kForm));
    EXPECT_TRUE(holds(od, true, "Begin\r\nAttribute\r\n1\r\n2\r\n3\r\n4"));
    EXPECT_FALSE(holds(od, true, "Begin\r\nAttribute\r\n1\r\n2\r\n3\r\n"));
    EXPECT_FALSE(holds(od, true, "VERSION 5.00\r\nAttribute 1\r\n"));
    EXPECT_FALSE(holds(od, false, "Begin A\r\nEnd\r\n"));
    EXPECT_TRUE(holds(od, false, "Attribute 1\r\n2\r\n3\r\n4\r\n5\r\n"));
    EXPECT_FALSE(holds(HeadRule::Module, true, ""));
    EXPECT_TRUE(holds(HeadRule::Module, false, "only\n"));
    EXPECT_FALSE(holds(HeadRule::ClassModule, true, "1\n2\n3\n4\n5\n6\n7\n8\n"));
    EXPECT_TRUE(holds(HeadRule::ClassModule, false, "1\n2\n3\n4\n5\n6\n7\n8\n9"));
}

TEST(HeadRules, CopiedBodyIsTheSelectedLinesForEveryRuleAndAnyCutOfTheReads) {
    // The copy writes the head line by line only up to its first written line and the rest in runs; the
    // lines SelectMemberLines selects, each with CR LF, are what it must give. Files of head words in any
    // order, every kind of line end, files ending inside the head, without a last line end or empty, read
    // in pieces so small that a head line and a CR LF pair are cut by a read.
    static constexpr std::string_view kLines[] = {"VERSION 5.00",
                                                  "Begin VB.Form f",
                                                  "BeginProperty Font",
                                                  "  Begin X",
                                                  "Attribute VB_Name = \"f\"",
                                                  "Attribut",
                                                  "  Attribute",
                                                  "End",
                                                  "code",
                                                  ""};
    static constexpr std::string_view kEnds[] = {"\r\n", "\r\n", "\n", "\r"};
    std::uint32_t state = 1234;
    const auto random = [&state](std::uint32_t below) {
        state = state * 1103515245u + 12345u;
        return (state >> 8) % below;
    };
    for (int file = 0; file < 300; ++file) {
        std::string bytes;
        const std::uint32_t lines = random(24);
        for (std::uint32_t i = 0; i < lines; ++i)
            (bytes += kLines[random(std::size(kLines))]) += kEnds[file % 3 == 0 ? 0 : random(4)];
        if (file % 4 == 1)
            bytes += "last";
        for (const HeadRule rule : {HeadRule::ObjectDescription, HeadRule::Module, HeadRule::ClassModule})
            for (const bool optionSet : {true, false})
                for (const std::size_t maxRead : {1, 2, 7, 64}) {
                    std::string expected;
                    {
                        const vbtest::MemoryFile member(bytes);
                        vb::LineReader in(member.fd(), "member", maxRead);
                        merger::SelectMemberLines(
                            rule, optionSet, in,
                            [&](std::string_view line, std::uint64_t) { (expected += line) += "\r\n"; });
                    }
                    const vbtest::MemoryFile member(bytes);
                    const vbtest::MemoryFile output;
                    vb::LineReader in(member.fd(), "member", maxRead);
                    {
                        vb::LineWriter out(output.fd(), "out");
                        merger::CopyMemberBody(rule, optionSet, in, out);
                        out.flush();
                    }
                    ASSERT_EQ(output.contents(), expected)
                        << "file " << file << ", rule " << static_cast<int>(rule) << ", option " << optionSet
                        << ", read " << maxRead;
                }
    }
}

} // namespace
