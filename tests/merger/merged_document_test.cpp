// The merged project as Markdown, XML and JSON: exact bytes on small written projects, and the XML and
// JSON read back by their parsers to the very lines the head rules select.

#include "member_texts.h"
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
using vb::SourceKind;
using vbtest::ReadBytes;

// A Windows-1252 form with CR LF: "Ü" is DC, "ö" F6, "ß" DF; a run of three backticks in its code.
const std::string kForm = std::string("VERSION 5.00\r\n"
                                      "Begin VB.Form frmHaupt \r\n"
                                      "   Caption = \"\xDC"
                                      "bersicht\"\r\n"
                                      "End\r\n") +
                          std::string(vbtest::kFrmHauptAttributes) +
                          "' Gr\xF6\xDF"
                          "e ``` x\r\n";

// A UTF-8 module with LF only: markup characters, "]]>", control bytes and a tab.
constexpr std::string_view kModule = "Attribute VB_Name = \"Werkzeuge\"\n"
                                     "' Gr\xC3\xBC\xC3\x9F"
                                     "e <a & b> \"]]>\"\n"
                                     "x = 1\x01\x1B\tEnde\n";

struct Merged {
    std::string bytes;
    std::string output;
};

class DocumentTest : public ::testing::Test {
protected:
    mergertest::WrittenProject p;

    void addSample() {
        p.add(SourceKind::Form, "Haupt.frm", kForm);
        p.add(SourceKind::Module, "Werkzeuge.bas", kModule);
    }

    std::string merge(DocumentFormat format, bool lineNumbers = false, bool option = true,
                      const merger::MissingMember& missing = {}) {
        merger::DocumentMerge how;
        how.format = format;
        how.lineNumbers = lineNumbers;
        const std::string output = p.dir.file("out.doc");
        merger::MergeDocumentIntoFile(
            p.lists, p.projectPath(), p.folder(), output, how, [option] { return option; }, {}, nullptr,
            missing);
        return ReadBytes(output);
    }
};

TEST_F(DocumentTest, MarkdownHeadingsFencesAndEachMembersOwnText) {
    addSample();
    EXPECT_EQ(merge(DocumentFormat::Markdown), "# Projekt.vbp\n"
                                               "\n## Formulare\n"
                                               "\n### Haupt.frm\n"
                                               "\n````vb\n"
                                               "Begin VB.Form frmHaupt \n"
                                               "   Caption = \"Übersicht\"\n"
                                               "End\n"
                                               "Attribute VB_Name = \"frmHaupt\"\n"
                                               "Attribute VB_GlobalNameSpace = False\n"
                                               "Attribute VB_Creatable = False\n"
                                               "Attribute VB_PredeclaredId = True\n"
                                               "Attribute VB_Exposed = False\n"
                                               "' Größe ``` x\n"
                                               "````\n"
                                               "\n## Module\n"
                                               "\n### Werkzeuge.bas\n"
                                               "\n```vb\n"
                                               "Attribute VB_Name = \"Werkzeuge\"\n"
                                               "' Grüße <a & b> \"]]>\"\n"
                                               "x = 1␁␛\tEnde\n"
                                               "```\n"
                                               "\n## Klassenmodule\n"
                                               "\n## Benutzersteuerelemente\n"
                                               "\n## Eigenschaftenseiten\n");
    // Without the option the same head rules as the text format drop the object description.
    const std::string codeOnly = merge(DocumentFormat::Markdown, false, false);
    EXPECT_NE(codeOnly.find("### Haupt.frm\n\n````vb\n' Größe ``` x\n````\n"), std::string::npos) << codeOnly;
    EXPECT_NE(codeOnly.find("### Werkzeuge.bas\n\n```vb\n' Grüße"), std::string::npos) << codeOnly;
}

TEST_F(DocumentTest, MarkdownLineNumbersCountTheDroppedHead) {
    addSample();
    const std::string shown = merge(DocumentFormat::Markdown, true, false);
    EXPECT_NE(shown.find("````vb\n    10 | ' Größe ``` x\n````\n"), std::string::npos) << shown;
    EXPECT_NE(shown.find("```vb\n     2 | ' Grüße <a & b> \"]]>\"\n     3 | x = 1␁␛\tEnde\n```\n"),
              std::string::npos)
        << shown;
}

TEST_F(DocumentTest, XmlIsEscapedReplacesWhatItCannotCarryAndReadsBack) {
    addSample();
    p.add(SourceKind::ClassModule, "Rest.cls",
          "VERSION 1.0 CLASS\r\nA\xEF\xBF\xBE"
          "B\xEF\xBF\xBF\r\n");
    const std::string path = p.folder();
    const std::string xml = merge(DocumentFormat::Xml);
    EXPECT_EQ(xml, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                   "<project path=\"" +
                       p.projectPath() +
                       "\">\n"
                       "  <group kind=\"Form\" heading=\"Formulare\">\n"
                       "    <member entry=\"Haupt.frm\" path=\"" +
                       path +
                       "Haupt.frm\">Begin VB.Form frmHaupt \n"
                       "   Caption = \"Übersicht\"\n"
                       "End\n"
                       "Attribute VB_Name = \"frmHaupt\"\n"
                       "Attribute VB_GlobalNameSpace = False\n"
                       "Attribute VB_Creatable = False\n"
                       "Attribute VB_PredeclaredId = True\n"
                       "Attribute VB_Exposed = False\n"
                       "' Größe ``` x\n"
                       "</member>\n"
                       "  </group>\n"
                       "  <group kind=\"Module\" heading=\"Module\">\n"
                       "    <member entry=\"Werkzeuge.bas\" path=\"" +
                       path +
                       "Werkzeuge.bas\" replaced=\"true\">"
                       "Attribute VB_Name = \"Werkzeuge\"\n"
                       "' Grüße &lt;a &amp; b&gt; \"]]&gt;\"\n"
                       "x = 1␁␛\tEnde\n"
                       "</member>\n"
                       "  </group>\n"
                       "  <group kind=\"ClassModule\" heading=\"Klassenmodule\">\n"
                       "    <member entry=\"Rest.cls\" path=\"" +
                       path +
                       "Rest.cls\" replaced=\"true\">"
                       "A\xEF\xBF\xBD"
                       "B\xEF\xBF\xBD\n"
                       "</member>\n"
                       "  </group>\n"
                       "  <group kind=\"UserControl\" heading=\"Benutzersteuerelemente\">\n"
                       "  </group>\n"
                       "  <group kind=\"PropertyPage\" heading=\"Eigenschaftenseiten\">\n"
                       "  </group>\n"
                       "</project>\n");

    pugi::xml_document document;
    ASSERT_TRUE(document.load_string(xml.c_str(), pugi::parse_default | pugi::parse_ws_pcdata));
    const pugi::xml_node project = document.child("project");
    EXPECT_EQ(std::distance(project.children("group").begin(), project.children("group").end()), 5);
    const pugi::xml_node module = project.find_child_by_attribute("group", "kind", "Module").child("member");
    EXPECT_STREQ(module.attribute("entry").value(), "Werkzeuge.bas");
    EXPECT_STREQ(module.text().get(), "Attribute VB_Name = \"Werkzeuge\"\n' Grüße <a & b> \"]]>\"\n"
                                      "x = 1␁␛\tEnde\n");
    EXPECT_FALSE(project.child("group").child("member").attribute("replaced"));
}

TEST_F(DocumentTest, XmlLineNumbersAreAttributesOfLineElements) {
    addSample();
    pugi::xml_document document;
    ASSERT_TRUE(document.load_string(merge(DocumentFormat::Xml, true, false).c_str()));
    std::vector<std::pair<std::string, std::string>> lines;
    for (const pugi::xml_node group : document.child("project").children("group"))
        for (const pugi::xml_node member : group.children("member"))
            for (const pugi::xml_node line : member.children("line"))
                lines.emplace_back(line.attribute("number").value(), line.text().get());
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"10", "' Größe ``` x"}, {"2", "' Grüße <a & b> \"]]>\""}, {"3", "x = 1␁␛\tEnde"}};
    EXPECT_EQ(lines, expected);
}

TEST_F(DocumentTest, JsonCarriesEveryCharacterAndReadsBack) {
    addSample();
    const std::string json = merge(DocumentFormat::Json);
    const std::string path = p.folder();
    EXPECT_EQ(
        json,
        "{\n  \"project\": \"" + p.projectPath() +
            "\",\n  \"groups\": [\n"
            "    {\n      \"kind\": \"Form\",\n      \"heading\": \"Formulare\",\n      \"members\": [\n"
            "        {\n          \"entry\": \"Haupt.frm\",\n          \"path\": \"" +
            path +
            "Haupt.frm\",\n"
            "          \"lines\": [\n"
            "            \"Begin VB.Form frmHaupt \",\n"
            "            \"   Caption = \\\"Übersicht\\\"\",\n"
            "            \"End\",\n"
            "            \"Attribute VB_Name = \\\"frmHaupt\\\"\",\n"
            "            \"Attribute VB_GlobalNameSpace = False\",\n"
            "            \"Attribute VB_Creatable = False\",\n"
            "            \"Attribute VB_PredeclaredId = True\",\n"
            "            \"Attribute VB_Exposed = False\",\n"
            "            \"' Größe ``` x\"\n"
            "          ]\n        }\n      ]\n    },\n"
            "    {\n      \"kind\": \"Module\",\n      \"heading\": \"Module\",\n      \"members\": [\n"
            "        {\n          \"entry\": \"Werkzeuge.bas\",\n          \"path\": \"" +
            path +
            "Werkzeuge.bas\",\n"
            "          \"lines\": [\n"
            "            \"Attribute VB_Name = \\\"Werkzeuge\\\"\",\n"
            "            \"' Grüße <a & b> \\\"]]>\\\"\",\n"
            "            \"x = 1\\u0001\\u001b\\tEnde\"\n"
            "          ]\n        }\n      ]\n    },\n"
            "    {\n      \"kind\": \"ClassModule\",\n      \"heading\": \"Klassenmodule\",\n"
            "      \"members\": []\n    },\n"
            "    {\n      \"kind\": \"UserControl\",\n      \"heading\": \"Benutzersteuerelemente\",\n"
            "      \"members\": []\n    },\n"
            "    {\n      \"kind\": \"PropertyPage\",\n      \"heading\": \"Eigenschaftenseiten\",\n"
            "      \"members\": []\n    }\n  ]\n}\n");
    const auto document = nlohmann::json::parse(json);
    EXPECT_EQ(document["groups"][1]["members"][0]["lines"][2], "x = 1\x01\x1B\tEnde");

    const auto numbered = nlohmann::json::parse(merge(DocumentFormat::Json, true, false));
    EXPECT_EQ(numbered["groups"][0]["members"][0]["lines"],
              nlohmann::json::parse(R"([{"number": 10, "text": "' Größe ``` x"}])"));
}

TEST_F(DocumentTest, FenceOutgrowsTheLongestBacktickRunAndCodePageIsPerFile) {
    // Each member is shown by the text of its whole file: A's dropped head holds a Windows-1252 byte, so
    // the UTF-8 bytes of its body are Windows-1252 too; B is UTF-8, C Windows-1252.
    p.add(SourceKind::Module, "A.bas", "Attribute VB_Name = \"\xE4\"\r\n``````\r\n\xC3\xA4\r\n");
    p.add(SourceKind::Module, "B.bas", "Attribute VB_Name = \"B\"\r\n\xC3\xA4\r\n");
    p.add(SourceKind::Module, "C.bas", "Attribute VB_Name = \"C\"\r\n\xE4`\r\n");
    const std::string shown = merge(DocumentFormat::Markdown, false, false);
    EXPECT_NE(shown.find("### A.bas\n\n```````vb\n``````\nÃ¤\n```````\n"), std::string::npos) << shown;
    EXPECT_NE(shown.find("### B.bas\n\n```vb\nä\n```\n"), std::string::npos) << shown;
    EXPECT_NE(shown.find("### C.bas\n\n```vb\nä`\n```\n"), std::string::npos) << shown;
}

TEST_F(DocumentTest, MissingMemberKeepsItsHeadingWithANote) {
    addSample();
    p.addEntry(SourceKind::ClassModule, "Fehlt.cls");
    int told = 0;
    const merger::MissingMember missing = [&](const vb::RuntimeError&) { ++told; };
    EXPECT_NE(
        merge(DocumentFormat::Markdown, false, true, missing)
            .find("\n## Klassenmodule\n\n### Fehlt.cls\n\n> Nicht gelesen: Laufzeitfehler 53: Datei nicht "
                  "gefunden\n\n## Benutzersteuerelemente\n"),
        std::string::npos);
    pugi::xml_document xml;
    ASSERT_TRUE(xml.load_string(merge(DocumentFormat::Xml, false, true, missing).c_str()));
    const pugi::xml_node note = xml.child("project")
                                    .find_child_by_attribute("group", "kind", "ClassModule")
                                    .child("member")
                                    .child("missing");
    EXPECT_STREQ(note.attribute("error").value(), "53");
    const auto json = nlohmann::json::parse(merge(DocumentFormat::Json, false, true, missing));
    const auto& member = json["groups"][2]["members"][0];
    EXPECT_EQ(member["missing"]["error"], 53);
    EXPECT_FALSE(member.contains("lines"));
    EXPECT_EQ(told, 3);
    // Without the callback the missing member ends the merge and the earlier output stays whole.
    const std::string earlier = ReadBytes(p.dir.file("out.doc"));
    EXPECT_THROW(merge(DocumentFormat::Json), vb::RuntimeError);
    EXPECT_EQ(ReadBytes(p.dir.file("out.doc")), earlier);
}

} // namespace
