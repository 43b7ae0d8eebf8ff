// Project files and members with a byte order mark or in UTF-16 read as their 8-bit twins.

#include "resource_probe.h"
#include "run_program.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

using clitest::RunVbprojekt;

constexpr std::string_view kForm =
    "VERSION 5.00\r\nBegin VB.Form F\r\n   Begin VB.Label L\r\n   End\r\nEnd\r\n"
    "Attribute VB_Name = \"F\"\r\n";

// The ASCII `text` in UTF-16 with its mark.
std::string Utf16(std::string_view text, bool bigEndian) {
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char ch : text)
        out += bigEndian ? std::string{'\0', ch} : std::string{ch, '\0'};
    return out;
}

TEST(TextEncodings, MarkedAndUtf16FilesCountAsTheir8BitTwins) {
    vbtest::TempDir dir;
    const std::string lines = "Form=a.frm\r\nModule=M; m.bas\r\n";
    dir.write("a.frm", kForm);
    dir.write("m.bas", "Attribute VB_Name = \"M\"\r\n");
    dir.write("w.frm", Utf16(kForm, true));
    const auto plain = RunVbprojekt({"count", dir.write("P.vbp", lines)});
    ASSERT_EQ(plain.status, 0) << plain.err;
    ASSERT_NE(plain.out.find("1\tFormulare\ta.frm"), std::string::npos) << plain.out;
    for (const std::string& twin :
         {dir.write("B.vbp", "\xEF\xBB\xBF" + lines), dir.write("L.vbp", Utf16(lines, false)),
          dir.write("G.vbp", Utf16(lines, true))}) {
        const auto counted = RunVbprojekt({"count", twin});
        EXPECT_EQ(counted.status, 0) << twin << counted.err;
        EXPECT_EQ(counted.out, plain.out) << twin;
    }
    const std::string wide = dir.write("W.vbp", "Form=w.frm\r\n");
    EXPECT_NE(RunVbprojekt({"count", wide}).out.find("1\tFormulare\tw.frm"), std::string::npos);

    // check names the text as UTF-16; the text merge, which copies bytes, refuses it and writes nothing.
    EXPECT_NE(RunVbprojekt({"check", dir.file("L.vbp")})
                  .out.find("Projekt\t" + dir.file("L.vbp") + "\tCR LF\tUTF-16LE"),
              std::string::npos);
    EXPECT_NE(RunVbprojekt({"check", wide}).out.find("\tUTF-16BE\t"), std::string::npos);
    const auto merged = RunVbprojekt({"merge", wide, dir.file("out.txt")});
    EXPECT_EQ(merged.status, 1);
    EXPECT_NE(merged.err.find("Laufzeitfehler 321: Ungültiges Dateiformat"), std::string::npos) << merged.err;
    EXPECT_FALSE(std::filesystem::exists(dir.file("out.txt")));
}

} // namespace

namespace {

TEST(TextEncodings, AnEndlessEntryIsCutShownWithAnEllipsisAndError52InBoundedMemory) {
    vbtest::TempDir dir;
    dir.write("a.frm", kForm);
    const std::string project = dir.write(
        "L.vbp", "Form=a.frm\r\nForm=" + std::string(64 * 1024 * 1024, 'x') + "\r\nModule=M; m.bas\r\n");
    for (const char* command : {"members", "count", "check"}) {
        const auto run = RunVbprojekt({command, project});
        if (!vbtest::kSanitized) // the sanitizers' own memory says nothing about the program's
            EXPECT_LT(run.peakRssKb, 32 * 1024) << command; // well below the line's 64 MB
        EXPECT_LT(run.out.size() + run.err.size(), 16 * 1024) << command;
    }
    const auto counted = RunVbprojekt({"count", project});
    EXPECT_EQ(counted.status, 1);
    EXPECT_TRUE(counted.err.starts_with("vbprojekt: Laufzeitfehler 52: ")) << counted.err.substr(0, 80);
    EXPECT_TRUE(counted.err.ends_with("xxx\u2026\n"));
    EXPECT_NE(RunVbprojekt({"members", project}).out.find("Module\t1\tm.bas"), std::string::npos);
}

} // namespace

namespace {

TEST(TextEncodings, AnEncodingThatDoesNotKeepAsciiIsAUsageErrorNamingTheReason) {
    for (const char* name : {"UCS-4", "UTF-16"}) {
        const auto run = RunVbprojekt({"count", "--encoding", name, clitest::SampleProject()});
        EXPECT_EQ(run.status, 2) << name;
        EXPECT_NE(run.err.find("lässt ASCII nicht unverändert"), std::string::npos) << run.err;
        EXPECT_TRUE(run.out.empty());
    }
}

} // namespace
