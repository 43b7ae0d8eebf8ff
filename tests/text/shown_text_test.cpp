// What a file's bytes are made of, and how they are shown.

#include "text/control_pictures.h"
#include "text/shown_text.h"
#include "text/text_facts.h"

#include <gtest/gtest.h>

namespace {

using vb::LineEnds;
using vb::TextKind;

vb::TextFacts FactsInPieces(std::string_view bytes, std::size_t piece) {
    vb::TextFactsScan scan;
    for (std::size_t at = 0; at < bytes.size(); at += piece)
        scan.feed(bytes.substr(at, piece));
    return scan.facts();
}

TEST(TextFacts, LineEndsAndTextAreTheSameWhereverThePiecesAreCut) {
    struct Case {
        std::string_view bytes;
        LineEnds ends;
        TextKind text;
    };
    const Case cases[] = {
        {"", LineEnds::None, TextKind::Ascii},
        {"no end", LineEnds::None, TextKind::Ascii},
        {"a\r\nb\r\n", LineEnds::CrLf, TextKind::Ascii},
        {"a\nb\n", LineEnds::Lf, TextKind::Ascii},
        {"a\rb\r", LineEnds::Cr, TextKind::Ascii},
        {"a\r\nb\n", LineEnds::Mixed, TextKind::Ascii},
        {"a\rb\r\n", LineEnds::Mixed, TextKind::Ascii},
        {"Gr\xC3\xBC\xC3\x9F"
         "e \xE4\xB8\xBB \xF0\x9F\x98\x80\n",
         LineEnds::Lf, TextKind::Utf8},
        {"Gr\xFC\xDF"
         "e\r\n",
         LineEnds::CrLf, TextKind::EightBit},
        {"cut at the end \xC3", LineEnds::None, TextKind::EightBit},
        {"\xC3\xBC ok, then \xFC\n", LineEnds::Lf, TextKind::EightBit},
    };
    for (const Case& c : cases)
        for (const std::size_t piece : {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{4096}}) {
            const auto facts = FactsInPieces(c.bytes, piece);
            EXPECT_EQ(facts.lineEnds, c.ends) << c.bytes << " in pieces of " << piece;
            EXPECT_EQ(facts.text, c.text) << c.bytes << " in pieces of " << piece;
            EXPECT_EQ(facts.bytes, c.bytes.size());
        }
}

TEST(TextFacts, LinesAddUpToTheKindOfTheWholeFile) {
    EXPECT_EQ(vb::Together(vb::TextKindOf("abc"), vb::TextKindOf("\xC3\xBC")), TextKind::Utf8);
    EXPECT_EQ(vb::Together(vb::TextKindOf("\xC3\xBC"), vb::TextKindOf("\xFC")), TextKind::EightBit);
    EXPECT_EQ(vb::Together(vb::TextKindOf("\xFC"), vb::TextKindOf("")), TextKind::EightBit);
    EXPECT_EQ(vb::TextKindOf("\xED\xA0\x80"), TextKind::EightBit); // a surrogate is no UTF-8
}

TEST(ShownText, Utf8FilesAsTheyAreOthersByTheirCodePage) {
    EXPECT_EQ(vb::ShownText("Gr\xC3\xBC\xC3\x9F"
                            "e",
                            TextKind::Utf8),
              "Grüße");
    // The same bytes in a file that is not UTF-8 throughout are Windows-1252.
    EXPECT_EQ(vb::ShownText("Gr\xC3\xBC", TextKind::EightBit), "GrÃ¼");
    EXPECT_EQ(vb::ShownText("Gr\xFC\xDF"
                            "e",
                            TextKind::EightBit),
              "Grüße");

    const auto cp1251 = vb::CodePage::Named("CP1251");
    ASSERT_TRUE(cp1251);
    EXPECT_EQ(cp1251->name(), "CP1251");
    bool undefined = false;
    EXPECT_EQ(cp1251->utf8("\xCE\xF2\xF7\xB8\xF2", &undefined), "Отчёт");
    EXPECT_FALSE(undefined);
    // CP1251 leaves 0x98 undefined: shown as Windows-1252 shows it, and said.
    EXPECT_EQ(cp1251->utf8("a\x98z", &undefined), "a\u02DCz");
    EXPECT_TRUE(undefined);

    const auto gbk = vb::CodePage::Named("GBK");
    ASSERT_TRUE(gbk);
    undefined = false;
    EXPECT_EQ(gbk->utf8("\xD6\xF7\xB4\xB0 ok", &undefined), "主窗 ok");
    EXPECT_FALSE(undefined);
    // A lead byte at the very end has no second byte; 0x80 starts nothing in GBK.
    EXPECT_EQ(gbk->utf8("\xD6\xF7\xD6", &undefined), "主Ö");
    EXPECT_TRUE(undefined);
    EXPECT_EQ(gbk->utf8("\x80x"), "€x");

    bool undefined1252 = false;
    EXPECT_EQ(vb::CodePage().utf8("\x81\x80", &undefined1252), "\u0081€");
    EXPECT_TRUE(undefined1252);
}

TEST(ShownText, CodePagesAreNamedAsIconvKnowsThem) {
    EXPECT_EQ(vb::CodePage::Named("auto")->name(), "Windows-1252");
    EXPECT_EQ(vb::CodePage::Named("CP1252")->name(), "Windows-1252");
    EXPECT_TRUE(vb::CodePage::Named("SHIFT_JIS"));
    EXPECT_FALSE(vb::CodePage::Named("KEINE-SOLCHE"));
    EXPECT_FALSE(vb::CodePage::Named(""));
}

TEST(ShownText, OnlyCodePagesThatKeepAsciiAsAsciiSayTheyDo) {
    for (const char* name : {"auto", "CP1251", "GBK", "CP932", "UTF-8"})
        EXPECT_TRUE(vb::CodePage::Named(name)->keepsAscii()) << name;
    // Wide, shifting and seven-bit forms, and Shift-JIS with its yen sign for the backslash.
    for (const char* name : {"UCS-4", "UCS-4LE", "WCHAR_T", "UTF-16", "UTF-7", "ISO-2022-JP", "SHIFT_JIS"})
        EXPECT_FALSE(vb::CodePage::Named(name)->keepsAscii()) << name;
}

TEST(ShownText, C1ControlsNeverReachTheTerminal) {
    // U+009B starts a control sequence on many terminals; Windows-1252's undefined 0x81 shows as U+0081.
    EXPECT_EQ(vb::ControlPictures("a\u009B2J\u0080\u009F\u00A0\u203A"), "a\uFFFD2J\uFFFD\uFFFD\u00A0\u203A");
    EXPECT_EQ(vb::ControlPictures(vb::ShownText("x\x81\x9B", vb::TextKind::EightBit)), "x\uFFFD\u203A");
    EXPECT_EQ(vb::ControlPictures("\xC2"), "\xC2"); // a cut sequence stays as it is
}

} // namespace
