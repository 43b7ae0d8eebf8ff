#include "text/code_page.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(CodePage, EveryWindows1252ByteRoundTripsThroughItsCodePoint) {
    for (int b = 0; b < 256; ++b) {
        const char32_t c = vb::Windows1252CodePoint(static_cast<unsigned char>(b));
        ASSERT_EQ(vb::Windows1252Byte(c), static_cast<unsigned char>(b)) << b;
    }
    EXPECT_EQ(vb::Windows1252CodePoint(0x80), U'\u20AC');
    EXPECT_EQ(vb::Windows1252CodePoint(0x81), U'\u0081'); // undefined in Windows-1252: its C1 control
    EXPECT_EQ(vb::Windows1252CodePoint(0xC4), U'\u00C4');
    EXPECT_FALSE(vb::Windows1252Byte(U'\u4E2D').has_value());
    EXPECT_EQ(vb::Utf8FromWindows1252("\xC4nderung \x80"), "\xC3\x84nderung \xE2\x82\xAC");
}

TEST(CodePage, Utf8DecoderTakesValidSequencesOfEveryLength) {
    const std::string text = "a\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80";
    std::size_t i = 0;
    char32_t c = 0;
    std::u32string decoded;
    while (i < text.size()) {
        ASSERT_TRUE(vb::DecodeUtf8(text, i, c));
        decoded += c;
    }
    EXPECT_EQ(decoded, U"a\u00E4\u20AC\U0001F600");
    EXPECT_TRUE(vb::IsUtf8(text));
    std::string encoded;
    for (const char32_t d : decoded)
        vb::AppendUtf8(encoded, d);
    EXPECT_EQ(encoded, text);
}

TEST(CodePage, Utf8DecoderRejectsWhatIsNotUtf8AndLeavesThePosition) {
    for (const std::string bad : {"\xC3(", "\x80", "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80",
                                  "\xF4\x90\x80\x80", "\xE2\x82", "\xF8\x88\x80\x80\x80", "\xFF"}) {
        std::size_t i = 0;
        char32_t c = 0;
        EXPECT_FALSE(vb::DecodeUtf8(bad, i, c)) << bad;
        EXPECT_EQ(i, 0u);
        EXPECT_FALSE(vb::IsUtf8("ok" + bad));
    }
}

} // namespace
