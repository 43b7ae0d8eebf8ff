// A document split into parts of at most a given size: every part complete in its format, members whole
// unless one alone is larger, and every part refused where it would overwrite a file of the project.

#include "merger/merged_document.h"
#include "temp_dir.h"
#include "written_project.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <pugixml.hpp>

#include <filesystem>
#include <string>
#include <vector>

namespace {

using merger::DocumentFormat;
using merger::PartPath;
using vb::SourceKind;
using vbtest::ReadBytes;

std::string ModuleOf(const std::string& name, int lines) {
    std::string bytes = "Attribute VB_Name = \"" + name + "\"\r\n";
    for (int i = 1; i <= lines; ++i)
        bytes += "' " + name + " Zeile " + std::to_string(i) + " \xE4\r\n";
    return bytes;
}

class SplitTest : public ::testing::Test {
protected:
    mergertest::WrittenProject p;

    // Merges into parts of `size` bytes and returns them in order.
    std::vector<std::string> split(DocumentFormat format, std::uint64_t size) {
        merger::DocumentMerge how;
        how.format = format;
        how.splitSize = size;
        merger::MergeDocumentIntoFile(p.lists, p.projectPath(), p.folder(), output(), how,
                                      [] { return false; });
        std::vector<std::string> parts;
        for (int k = 1; std::filesystem::exists(PartPath(output(), k)); ++k)
            parts.push_back(ReadBytes(PartPath(output(), k)));
        return parts;
    }
    std::string output() const { return p.dir.file("ganz.json"); }
};

// Over all parts: the entries (with their piece, if cut, and "+" when it goes on) and all lines, group by
// group, as JSON reads them.
struct JsonParts {
    std::vector<std::string> members;
    std::vector<std::string> lines;
    std::vector<bool> continued;
};

JsonParts ReadJsonParts(const std::vector<std::string>& parts) {
    JsonParts read;
    int number = 0;
    for (const std::string& part : parts) {
        const auto document = nlohmann::json::parse(part);
        EXPECT_EQ(document["part"], ++number);
        for (const auto& group : document["groups"]) {
            read.continued.push_back(group.value("continued", false));
            for (const auto& member : group["members"]) {
                std::string shown = member["entry"].get<std::string>();
                if (member.contains("piece"))
                    shown += "#" + member["piece"].dump() + (member["continues"] == true ? "+" : "");
                read.members.push_back(shown);
                for (const auto& line : member["lines"])
                    read.lines.push_back(line.get<std::string>());
            }
        }
    }
    return read;
}

TEST_F(SplitTest, PartsHoldWholeMembersAndRepeatTheGroupThatGoesOn) {
    for (const char* name : {"A", "B", "C"})
        p.add(SourceKind::Module, std::string(name) + ".bas", ModuleOf(name, 20));
    p.add(SourceKind::ClassModule, "K.cls", "VERSION 1.0 CLASS\r\n" + std::string(8, '\n') + "' K\r\n");

    const std::vector<std::string> whole = split(DocumentFormat::Json, 1 << 20);
    ASSERT_EQ(whole.size(), 1u);
    const std::vector<std::string> parts = split(DocumentFormat::Json, 1500);
    ASSERT_GE(parts.size(), 3u);
    for (const std::string& part : parts)
        EXPECT_LE(part.size(), 1500u);
    const JsonParts read = ReadJsonParts(parts);
    EXPECT_EQ(read.members, (std::vector<std::string>{"A.bas", "B.bas", "C.bas", "K.cls"}));
    EXPECT_EQ(read.lines, ReadJsonParts(whole).lines);
    // The module group goes on in the second part and says so; every part is complete JSON.
    const auto second = nlohmann::json::parse(parts[1]);
    EXPECT_EQ(second["groups"][0]["heading"], "Module");
    EXPECT_EQ(second["groups"][0]["continued"], true);
}

TEST_F(SplitTest, MemberLargerThanAPartIsCutAtLineBoundaries) {
    p.add(SourceKind::Module, "Gross.bas", ModuleOf("Gross", 200));
    p.add(SourceKind::Module, "Klein.bas", ModuleOf("Klein", 2));
    const std::vector<std::string> parts = split(DocumentFormat::Json, 2048);
    ASSERT_GE(parts.size(), 4u);
    for (const std::string& part : parts)
        EXPECT_LE(part.size(), 2048u);
    const JsonParts read = ReadJsonParts(parts);
    std::vector<std::string> expected;
    for (int i = 1; i <= 200; ++i)
        expected.push_back("' Gross Zeile " + std::to_string(i) + " ä");
    expected.push_back("' Klein Zeile 1 ä");
    expected.push_back("' Klein Zeile 2 ä");
    EXPECT_EQ(read.lines, expected);
    // Every piece but the last says that the member goes on.
    std::vector<std::string> members;
    for (std::size_t piece = 1; piece < read.members.size(); ++piece)
        members.push_back("Gross.bas#" + std::to_string(piece) +
                          (piece + 1 < read.members.size() ? "+" : ""));
    members.push_back("Klein.bas");
    EXPECT_EQ(read.members, members);

    // The same cut in the other formats: each XML part reads back, each Markdown part says where it goes on.
    merger::DocumentMerge how;
    how.format = DocumentFormat::Xml;
    how.splitSize = 2048;
    const std::string xml = p.dir.file("ganz.xml");
    merger::MergeDocumentIntoFile(p.lists, p.projectPath(), p.folder(), xml, how, [] { return false; });
    std::string lines;
    for (int k = 1; std::filesystem::exists(PartPath(xml, k)); ++k) {
        const std::string bytes = ReadBytes(PartPath(xml, k));
        EXPECT_LE(bytes.size(), 2048u);
        pugi::xml_document document;
        ASSERT_TRUE(document.load_string(bytes.c_str(), pugi::parse_default | pugi::parse_ws_pcdata)) << k;
        for (const pugi::xml_node group : document.child("project").children("group"))
            for (const pugi::xml_node member : group.children("member"))
                lines += member.text().get();
    }
    std::string joined;
    for (const std::string& line : expected)
        joined += line + "\n";
    EXPECT_EQ(lines, joined);

    how.format = DocumentFormat::Markdown;
    const std::string md = p.dir.file("ganz.md");
    merger::MergeDocumentIntoFile(p.lists, p.projectPath(), p.folder(), md, how, [] { return false; });
    const std::string first = ReadBytes(PartPath(md, 1));
    EXPECT_TRUE(first.starts_with(
        "# Projekt.vbp (Teil 1)\n\n## Formulare\n\n## Module\n\n### Gross.bas (Stück 1)\n"));
    EXPECT_TRUE(first.ends_with("```\n\n> Fortsetzung im nächsten Teil\n")) << first;
    EXPECT_TRUE(ReadBytes(PartPath(md, 2))
                    .starts_with("# Projekt.vbp (Teil 2)\n\n## Module (Fortsetzung)\n\n"
                                 "### Gross.bas (Stück 2)\n"));
}

TEST_F(SplitTest, ALineLongerThanAPartGoesWholeIntoAPieceOfItsOwn) {
    p.add(SourceKind::Module, "Lang.bas",
          "Attribute VB_Name = \"Lang\"\r\n' kurz\r\n" + std::string(5000, 'x') + "\r\n' danach\r\n");
    const std::vector<std::string> parts = split(DocumentFormat::Json, 2048);
    const JsonParts read = ReadJsonParts(parts);
    EXPECT_EQ(read.lines, (std::vector<std::string>{"' kurz", std::string(5000, 'x'), "' danach"}));
    EXPECT_EQ(read.members, (std::vector<std::string>{"Lang.bas#1+", "Lang.bas#2+", "Lang.bas#3"}));
    ASSERT_EQ(parts.size(), 3u);
    EXPECT_LE(parts[0].size(), 2048u);
    EXPECT_GT(parts[1].size(), 5000u);
    EXPECT_LE(parts[2].size(), 2048u);
}

TEST_F(SplitTest, APartThatIsAMemberIsRefusedAndNoPartIsWritten) {
    p.add(SourceKind::Module, "A.bas", ModuleOf("A", 30));
    p.add(SourceKind::Module, "ganz.2.json", ModuleOf("B", 30));
    const std::string before = ReadBytes(p.dir.file("ganz.2.json"));
    EXPECT_THROW(split(DocumentFormat::Json, 1500), merger::MergeReadsItsOutput);
    EXPECT_EQ(ReadBytes(p.dir.file("ganz.2.json")), before);
    EXPECT_FALSE(std::filesystem::exists(PartPath(output(), 1)));
}

TEST(PartPath, NumberGoesBeforeTheExtensionOfTheFileName) {
    EXPECT_EQ(PartPath("ausgabe.md", 1), "ausgabe.1.md");
    EXPECT_EQ(PartPath("a.b/ausgabe.tar.json", 12), "a.b/ausgabe.tar.12.json");
    EXPECT_EQ(PartPath("a.b/ausgabe", 2), "a.b/ausgabe.2");
    EXPECT_EQ(PartPath("ordner/.versteckt", 3), "ordner/.versteckt.3");
}

} // namespace
