// The report page over documents written out here: what it shows, that no project text can change
// the page, and that the data it carries read back as given.

#include "report/html_text.h"
#include "report/report_figures.h"
#include "report/report_page.h"
#include "report/svg_charts.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>

namespace {

using Json = nlohmann::ordered_json;

// Two projects as the commands give them over an estate: the first with a member whose file is
// missing and a name that is markup, the second one that could not be read.
Json Estate() {
    Json count = Json::parse(R"({"projects": [
        {"project": "a/A.vbp", "total": 3, "members": [
            {"kind": "Form", "group": "Formulare", "entry": "<script>.frm", "objects": 3},
            {"kind": "Form", "group": "Formulare", "entry": "Fehlt.frm",
             "missing": {"error": 53, "description": "Datei nicht gefunden", "path": "a/Fehlt.frm"}}]},
        {"project": "b/B.vbp", "error": {"number": 53, "description": "Datei nicht gefunden: b/B.vbp"}}]})");
    Json lines = Json::parse(R"({"projects": [
        {"project": "a/A.vbp", "members": [
            {"kind": "Form", "entry": "<script>.frm", "lines": 10, "description": 4, "attributes": 1,
             "code": 5, "blank": 1, "comments": 2},
            {"kind": "Form", "entry": "Fehlt.frm", "missing": {"error": 53}},
            {"kind": "Module", "entry": "M.bas", "lines": 7, "description": 0, "attributes": 1,
             "code": 6, "blank": 0, "comments": 0}],
         "kinds": [], "total": {"lines": 17, "description": 4, "attributes": 2, "code": 11, "blank": 1,
                                "comments": 2}},
        {"project": "b/B.vbp", "error": {"number": 53, "description": "Datei nicht gefunden: b/B.vbp"}}],
        "total": {"lines": 17, "description": 4, "attributes": 2, "code": 11, "blank": 1, "comments": 2}})");
    Json types = Json::parse(R"({"projects": [{"project": "a/A.vbp"}, {"project": "b/B.vbp"}],
        "types": [{"type": "VB.</script><!--", "objects": 3, "members": 1, "projects": 1}]})");
    Json check = Json::parse(R"({"projects": [
        {"project": "a/A.vbp", "members": [
            {"kind": "Form", "entry": "<script>.frm", "counter": {"found": "letterCase", "path": "a/<SCRIPT>.frm"},
             "outside": false, "file": {"lineEnds": "LF", "text": "ASCII", "headComplete": true,
                                        "undefinedBytes": false}},
            {"kind": "Form", "entry": "Fehlt.frm", "counter": {"missing": {"error": 53,
             "description": "Datei nicht gefunden", "path": "a/Fehlt.frm"}}, "outside": false},
            {"kind": "Module", "entry": "M.bas", "counter": {"found": "asWritten", "path": "a/M.bas"},
             "outside": true, "file": {"lineEnds": "CR LF", "text": "ASCII", "headComplete": true,
                                       "undefinedBytes": false}}],
         "notRead": [], "total": 3, "missing": 1},
        {"project": "b/B.vbp", "error": {"number": 53, "description": "Datei nicht gefunden: b/B.vbp"}}],
        "shared": []})");
    return {{"count", count}, {"lines", lines}, {"types", types}, {"check", check}};
}

// The text between the first `from` after `after` and the next `to`.
std::string Between(const std::string& text, const std::string& after, const std::string& from,
                    const std::string& to) {
    const auto start = text.find(from, text.find(after)) + from.size();
    return text.substr(start, text.find(to, start) - start);
}

TEST(ReportFigures, SumsTheCommandsNumbersAndKeepsFailedProjectsInTheirPlace) {
    const report::EstateFigures estate = report::FiguresOf(Estate());
    ASSERT_EQ(estate.projects.size(), 2u);
    EXPECT_EQ(estate.failedProjects, 1);
    EXPECT_EQ(estate.projects[1].error, "Laufzeitfehler 53: Datei nicht gefunden: b/B.vbp");
    EXPECT_EQ(estate.members, 3);
    EXPECT_EQ(estate.membersByKind[0], 2);
    EXPECT_EQ(estate.membersByKind[1], 1);
    EXPECT_EQ(estate.missing, 1);
    EXPECT_EQ(estate.objects, 3);
    EXPECT_EQ(estate.lines.code, 11);
    const report::ProjectFigures& a = estate.projects[0];
    EXPECT_EQ(a.members[0].objects, 3);
    EXPECT_FALSE(a.members[1].objects);
    EXPECT_TRUE(a.members[1].missing);
    EXPECT_EQ(
        a.members[0].findings,
        (std::vector<std::string>{"gefunden (Zählen): andere Groß-/Kleinschreibung", "Zeilenenden: LF"}));
    EXPECT_EQ(a.members[1].findings, (std::vector<std::string>{"fehlt (Zählen): Datei nicht gefunden"}));
    EXPECT_EQ(a.members[2].findings, (std::vector<std::string>{"außerhalb des Projektordners"}));
    EXPECT_EQ(estate.findings, 4);
}

TEST(ReportPage, ShowsProjectTextsAsTextAndCarriesTheDataUnchanged) {
    const Json data = Estate();
    const std::string page = report::ReportPage(data, {"Bestand </title><b>", "vbprojekt 9"});
    // Exactly the page's own two scripts and its one title; every name and caption is text.
    std::size_t scripts = 0;
    for (auto at = page.find("<script"); at != std::string::npos; at = page.find("<script", at + 1))
        ++scripts;
    EXPECT_EQ(scripts, 2u);
    EXPECT_NE(page.find("&lt;script&gt;.frm"), std::string::npos);
    EXPECT_NE(page.find("<title>Bestand &lt;/title&gt;&lt;b&gt;</title>"), std::string::npos);
    const std::string embedded = Between(page, "id=\"vbprojekt-daten\"", ">", "</script>");
    EXPECT_EQ(embedded.find('<'), std::string::npos);
    EXPECT_EQ(Json::parse(embedded), data);
    // The summary's numbers, with their exact values beside the shown ones.
    EXPECT_NE(page.find("id=\"summe-objekte\" data-wert=\"3\">3<"), std::string::npos);
    EXPECT_NE(page.find("id=\"summe-fehlend\" data-wert=\"1\">1<"), std::string::npos);
    EXPECT_NE(page.find("id=\"summe-nicht-lesbar\" data-wert=\"1\">1<"), std::string::npos);
    // The failed project stands in the table with its error and has its section.
    EXPECT_NE(page.find("Laufzeitfehler 53: Datei nicht gefunden: b/B.vbp"), std::string::npos);
    EXPECT_NE(page.find("id=\"projekt-2\""), std::string::npos);
    // Same data, same bytes.
    EXPECT_EQ(page, report::ReportPage(data, {"Bestand </title><b>", "vbprojekt 9"}));
}

TEST(ReportPage, TablesShowTheFirstRowsWithANoteAndTheDataHoldAll) {
    Json count = {{"projects", Json::array()}};
    for (int i = 0; i < 501; ++i)
        count["projects"].push_back(
            {{"project", "p" + std::to_string(i) + ".vbp"}, {"total", i}, {"members", Json::array()}});
    const std::string page = report::ReportPage({{"count", count}}, {"T", "P"});
    const std::string table = Between(page, "id=\"tabelle-projekte\"", "<tbody>", "</tbody>");
    std::size_t rows = 0;
    for (auto at = table.find("<tr>"); at != std::string::npos; at = table.find("<tr>", at + 1))
        ++rows;
    EXPECT_EQ(rows, report::kTableRows);
    EXPECT_NE(page.find("die ersten 500 von 501 Zeilen"), std::string::npos);
    EXPECT_NE(page.find("\"p500.vbp\""), std::string::npos);
}

TEST(HtmlText, EscapesMarkupAndControlCharactersAndGroupsThousands) {
    EXPECT_EQ(report::Html("a<b>&\"c'\td"), "a&lt;b&gt;&amp;&quot;c&#39;\u2409d");
    EXPECT_EQ(report::Number(1234), "1234");
    EXPECT_EQ(report::Number(12345), "12\u202F345");
    EXPECT_EQ(report::Number(-1234567), "-1\u202F234\u202F567");
    EXPECT_EQ(report::Shortened("Äbcdé", 4), "Äbcd…");
    EXPECT_EQ(report::Shortened("Äbcd", 4), "Äbcd");
}

} // namespace
