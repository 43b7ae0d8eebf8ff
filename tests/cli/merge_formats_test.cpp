// merge --format markdown|xml|json, --line-numbers and --split as a user runs them: the sample project's
// documents, the lines they carry against the text format's bytes, and the command lines refused.

#include "run_program.h"
#include "temp_project.h"

#include "resource_probe.h"
#include "text/shown_text.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <thread>

namespace {

using clitest::RunVbprojekt;
using vbtest::ReadBytes;

const std::string kSampleFolder = VB_EXAMPLES_DIR "/Beispiel";

std::string Expected(const std::string& name) {
    return ReadBytes(VB_EXPECTED_DIR "/" + name);
}

// Merges the sample project from its folder, so that the paths in the document are the entries.
std::string MergedSample(const std::vector<std::string>& options, const std::string& name) {
    const vbtest::TempDir dir;
    std::vector<std::string> args = {"merge", "Beispiel.vbp", dir.file(name)};
    args.insert(args.end(), options.begin(), options.end());
    const auto result = RunVbprojekt(args, clitest::InFolder(kSampleFolder));
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    return ReadBytes(dir.file(name));
}

TEST(MergeFormats, SampleDocumentsAreTheirExpectedBytes) {
    EXPECT_EQ(MergedSample({"--format", "markdown"}, "b.md"), Expected("beispiel.md"));
    EXPECT_EQ(MergedSample({"--format", "xml"}, "b.xml"), Expected("beispiel.xml"));
    EXPECT_EQ(MergedSample({"--format", "json"}, "b.json"), Expected("beispiel.json"));
    EXPECT_EQ(MergedSample({"--format=markdown", "--code-only", "--line-numbers"}, "b.md"),
              Expected("beispiel-code-nummern.md"));
    // The default is the text format, byte for byte as without the option.
    EXPECT_EQ(MergedSample({"--format", "text"}, "b.txt"), MergedSample({}, "b.txt"));
}

// The JSON document read back gives the text format's file again, once laid out as that format lays out
// its groups and members: the same lines selected, each shown from Windows-1252.
TEST(MergeFormats, JsonLinesAreTheTextFormatsLinesInUtf8) {
    for (const bool codeOnly : {false, true}) {
        std::vector<std::string> options = {"--format", "json"};
        if (codeOnly)
            options.push_back("--code-only");
        const auto document = nlohmann::json::parse(MergedSample(options, "b.json"));
        std::string laidOut;
        for (const auto& group : document["groups"]) {
            if (!laidOut.empty())
                laidOut += "\r\n\r\n";
            std::string heading = group["heading"];
            for (char& ch : heading)
                ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
            laidOut += heading + ":\r\n";
            bool firstMember = true;
            for (const auto& member : group["members"]) {
                if (!firstMember)
                    laidOut += "\r\n\r\n";
                firstMember = false;
                laidOut += member["entry"].get<std::string>() + ":\r\n";
                for (const auto& line : member["lines"])
                    laidOut += line.get<std::string>() + "\r\n";
            }
            if (group["heading"] != "Eigenschaftenseiten" && !group["members"].empty())
                laidOut += "\r\n\r\n";
        }
        const std::string text = MergedSample(
            codeOnly ? std::vector<std::string>{"--code-only"} : std::vector<std::string>{}, "b.txt");
        EXPECT_EQ(laidOut, vb::ShownText(text, vb::TextKind::EightBit)) << "code only " << codeOnly;
    }
}

TEST(MergeFormats, StandardOutputKeepGoingAndEncoding) {
    clitest::TempProject p;
    // 0xB9 is "ą" in Windows-1250 and "¹" in Windows-1252.
    p.addModule("M.bas", "Attribute VB_Name = \"M\"\r\n' \xB9\r\n");
    p.addMissingForm("Fehlt.frm");
    const std::string project = p.write();

    const auto shown =
        RunVbprojekt({"merge", project, "-", "--format", "markdown", "--encoding", "CP1250", "-k"});
    EXPECT_EQ(shown.status, 1);
    EXPECT_NE(shown.err.find("Laufzeitfehler 53"), std::string::npos) << shown.err;
    EXPECT_EQ(shown.out,
              "# P.vbp\n\n## Formulare\n\n### Fehlt.frm\n\n> Nicht gelesen: Laufzeitfehler 53: Datei "
              "nicht gefunden\n\n## Module\n\n### M.bas\n\n```vb\nAttribute VB_Name = \"M\"\n' ą\n```\n\n## "
              "Klassenmodule\n\n"
              "## Benutzersteuerelemente\n\n## Eigenschaftenseiten\n");
    // Without --keep-going the missing member ends the merge as in the text format.
    EXPECT_EQ(RunVbprojekt({"merge", project, p.dir.file("aus.md"), "--format", "markdown"}).status, 1);
    EXPECT_FALSE(std::filesystem::exists(p.dir.file("aus.md")));
}

// The numbers of the parts `output` ("NAME.md") has now, from 1 without a gap, and the project each names.
std::vector<std::string> PartHeadings(const std::string& folder) {
    std::vector<std::string> headings;
    for (int n = 1; std::filesystem::exists(folder + "/teile." + std::to_string(n) + ".md"); ++n) {
        const std::string bytes = ReadBytes(folder + "/teile." + std::to_string(n) + ".md");
        headings.push_back(bytes.substr(0, bytes.find('\n')));
    }
    return headings;
}

std::string LongModule(int lines) {
    std::string text = "Attribute VB_Name = \"M\"\r\n";
    for (int i = 0; i < lines; ++i)
        text += "' Zeile " + std::to_string(i) + "\r\n";
    return text;
}

// A shorter split after a longer one removes the parts above its last, which would read as part of the
// new set; a file of that name that is no such part stays. Two splits into one name at once leave the
// whole set of one of them.
TEST(MergeFormats, SplitPartsAreOneRunsWholeSet) {
    vbtest::TempDir dir;
    dir.write("A/M.bas", LongModule(400));
    dir.write("B/M.bas", LongModule(400));
    const std::string a = dir.write("A/A.vbp", "Module=M; M.bas\r\n");
    const std::string b = dir.write("B/B.vbp", "Module=M; M.bas\r\n");
    const std::string output = dir.file("teile.md");
    ASSERT_EQ(RunVbprojekt({"merge", a, output, "--format", "markdown", "--split", "1k"}).status, 0);
    const std::size_t longer = PartHeadings(dir.path()).size();
    ASSERT_GE(longer, 6u);
    dir.write("teile." + std::to_string(longer + 2) + ".md",
              "# Notizen (Teil " + std::to_string(longer + 2) + ")\nvon Hand\n");
    ASSERT_EQ(RunVbprojekt({"merge", a, output, "--format", "markdown", "--split", "3k"}).status, 0);
    const std::vector<std::string> shorter = PartHeadings(dir.path());
    ASSERT_LT(shorter.size(), longer);
    EXPECT_EQ(shorter.back(), "# A.vbp (Teil " + std::to_string(shorter.size()) + ")");
    for (std::size_t n = shorter.size() + 1; n <= longer; ++n)
        EXPECT_FALSE(std::filesystem::exists(dir.file("teile." + std::to_string(n) + ".md"))) << n;
    // Beyond the gap, and no part a merge wrote: it stays.
    EXPECT_TRUE(std::filesystem::exists(dir.file("teile." + std::to_string(longer + 2) + ".md")));

    ASSERT_EQ(RunVbprojekt({"merge", a, output, "--format", "markdown", "--split", "2k"}).status, 0);
    const std::size_t middle = PartHeadings(dir.path()).size();
    for (int round = 0; round < 40; ++round) {
        std::thread other([&] {
            RunVbprojekt({"merge", b, output, "--format", "markdown", "--split", "1k"});
        });
        RunVbprojekt({"merge", a, output, "--format", "markdown", "--split", "2k"});
        other.join();
        const std::vector<std::string> headings = PartHeadings(dir.path());
        const std::string project = headings.front().substr(0, headings.front().find(' ', 2));
        for (std::size_t n = 0; n < headings.size(); ++n)
            ASSERT_EQ(headings[n], project + " (Teil " + std::to_string(n + 1) + ")") << "round " << round;
        ASSERT_EQ(headings.size(), project == "# A.vbp" ? middle : longer) << "round " << round;
    }
}

TEST(MergeFormats, SplitPartsAndTheirRefusal) {
    clitest::TempProject p;
    std::string big = "Attribute VB_Name = \"M\"\r\n";
    for (int i = 0; i < 400; ++i)
        big += "' Zeile " + std::to_string(i) + "\r\n";
    p.addModule("M.bas", big);
    const std::string project = p.write();
    const std::string output = p.dir.file("teile.json");
    const auto result = RunVbprojekt({"merge", project, output, "--format", "json", "--split", "2k"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_FALSE(std::filesystem::exists(output));
    int parts = 0;
    for (; std::filesystem::exists(p.dir.file("teile." + std::to_string(parts + 1) + ".json")); ++parts) {
        const std::string bytes = ReadBytes(p.dir.file("teile." + std::to_string(parts + 1) + ".json"));
        EXPECT_LE(bytes.size(), 2048u);
        EXPECT_EQ(nlohmann::json::parse(bytes)["part"], parts + 1);
    }
    EXPECT_GE(parts, 3);

    // A part that would be a member is refused, as the output itself would be, and no part is left.
    p.addModule("aus.2.xml", "Attribute VB_Name = \"N\"\r\n");
    const std::string withPartMember = p.write();
    const auto refused =
        RunVbprojekt({"merge", withPartMember, p.folder() + "/aus.xml", "--format", "xml", "--split", "2k"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("wird nicht überschrieben: " + p.folder() + "/aus.2.xml"), std::string::npos)
        << refused.err;
    EXPECT_EQ(ReadBytes(p.folder() + "/aus.2.xml"), "Attribute VB_Name = \"N\"\r\n");
    EXPECT_FALSE(std::filesystem::exists(p.folder() + "/aus.1.xml"));
}

// A member of 48 MiB in short Windows-1252 lines streams through every format, split or not, in memory far
// below its size: the document is never built whole.
TEST(MergeFormats, LargeMemberStreamsInSmallMemory) {
    const vbtest::TempDir dir;
    {
        std::ofstream member(dir.file("Gross.bas"), std::ios::binary);
        member << "Attribute VB_Name = \"Gross\"\r\n";
        std::string block;
        for (int i = 0; i < 1024; ++i)
            block += "    Summe = Summe + Gr\xF6\xDF"
                     "e(" +
                     std::to_string(i) + ") ' ` <&> ]]>\r\n";
        for (std::size_t written = 0; written < (48u << 20); written += block.size())
            member << block;
    }
    const std::string project = dir.write("P.vbp", "Module=Gross; Gross.bas\r\n");
    for (const std::vector<std::string>& options :
         std::vector<std::vector<std::string>>{{"--format", "markdown"},
                                               {"--format", "xml", "--line-numbers"},
                                               {"--format", "json", "--split", "20M"}}) {
        std::vector<std::string> args = {"merge", project, dir.file("aus.doc")};
        args.insert(args.end(), options.begin(), options.end());
        const auto result = RunVbprojekt(args);
        EXPECT_EQ(result.status, 0) << result.err;
        if (!vbtest::kSanitized)
            EXPECT_LT(result.peakRssKb, 12 * 1024) << options[1];
    }
    EXPECT_GE(std::filesystem::file_size(dir.file("aus.3.doc")), 1u << 20);
}

TEST(MergeFormats, CommandLinesTheFormatsDoNotTake) {
    const vbtest::TempDir dir;
    const std::string out = dir.file("aus");
    for (const std::vector<std::string>& options :
         std::vector<std::vector<std::string>>{{"--format", "pdf"},
                                               {"--format", "json", "--split", "0"},
                                               {"--format", "json", "--split", "2G"},
                                               {"--format", "json", "--split", "k"},
                                               {"--format", "json", "--split", ""},
                                               {"--format", "json", "--split", "99999999999999999999"},
                                               {"--split", "2M"},
                                               {"--format", "xml", "--encoding", "KEINE-SOLCHE"},
                                               {"--encoding", "CP1250"}}) {
        std::vector<std::string> args = {"merge", clitest::SampleProject(), out};
        args.insert(args.end(), options.begin(), options.end());
        const auto result = RunVbprojekt(args);
        EXPECT_EQ(result.status, 2) << options.back();
        EXPECT_FALSE(std::filesystem::exists(out));
    }
    EXPECT_EQ(
        RunVbprojekt({"merge", clitest::SampleProject(), "-", "--format", "json", "--split", "1M"}).status,
        2);
    // Parts beside a device, a named pipe or standard output by its name would be files where none belong.
    const std::string pipe = dir.file("rohr");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    for (const std::string& device : {std::string("/dev/null"), std::string("/dev/stdout"), pipe}) {
        const auto result =
            RunVbprojekt({"merge", clitest::SampleProject(), device, "--format", "json", "--split", "1k"},
                         clitest::StandardOutputTo(dir.file("umgeleitet")));
        EXPECT_EQ(result.status, 2) << device;
        EXPECT_NE(result.err.find("--split braucht eine Ausgabedatei"), std::string::npos) << result.err;
        EXPECT_FALSE(std::filesystem::exists(device + ".1.json")) << device;
    }
}

} // namespace
