// Windows-1252 text and control characters in the output, and the progress bar on a terminal.

#include "run_program.h"
#include "temp_project.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace {

using clitest::RunVbprojekt;

// "Übersicht.frm" with Ü as the Windows-1252 byte 0xDC, declaring a label whose name holds a tab.
struct WindowsProject : clitest::TempProject {
    WindowsProject() {
        addForm("\xDC"
                "bersicht.frm",
                clitest::FormFile("frmU", {"lbl\tTab", "Gr\xF6\xDF"
                                                       "e"}));
        path = write();
    }
    std::string path;
};

TEST(OutputText, PlainIsUtf8WithControlPicturesAndJsonCarriesTheCharacters) {
    const WindowsProject p;
    auto result = RunVbprojekt({"members", p.path});
    EXPECT_EQ(result.out, "Formulare\t1\nFormulare\t1\tÜbersicht.frm\nModule\t0\nKlassenmodule\t0\n"
                          "Benutzersteuerelemente\t0\nEigenschaftenseiten\t0\n");

    result = RunVbprojekt({"objects", p.path});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "Formulare\tÜbersicht.frm\tVB.Label\tlbl\u2409Tab\n"
                          "Formulare\tÜbersicht.frm\tVB.Label\tGröße\n");

    result = RunVbprojekt({"objects", "--json", p.path});
    const auto doc = nlohmann::json::parse(result.out);
    EXPECT_EQ(doc["members"][0]["entry"], "Übersicht.frm");
    EXPECT_EQ(doc["members"][0]["types"][0]["names"], (nlohmann::json{"lbl\tTab", "Größe"}));
}

TEST(OutputText, NamedEntryMatchesItsBytesOrItsUtf8Form) {
    const WindowsProject p;
    const auto byUtf8 = RunVbprojekt({"count", p.path});
    EXPECT_EQ(byUtf8.out, "2\tFormulare\tÜbersicht.frm\n2\tGesamt\n");
    const auto asTyped = RunVbprojekt({"objects", p.path, "Übersicht.frm"});
    const auto asBytes = RunVbprojekt({"objects", p.path,
                                       "\xDC"
                                       "bersicht.frm"});
    EXPECT_EQ(asTyped.status, 0) << asTyped.err;
    EXPECT_EQ(asTyped.out, asBytes.out);
    EXPECT_NE(asTyped.out, "");
}

// A project with `forms` forms of one label each.
std::string ProjectWithForms(clitest::TempProject& p, int forms) {
    for (int i = 0; i < forms; ++i)
        p.addForm("F" + std::to_string(i) + ".frm", clitest::FormFile("frm", {"lbl"}));
    return p.write();
}

TEST(Progress, NothingWhenStandardErrorIsNoTerminal) {
    clitest::TempProject p;
    const std::string project = ProjectWithForms(p, 8);
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"count", project}, {"merge", project, p.dir.file("aus.txt")}}) {
        const auto result = RunVbprojekt(args);
        EXPECT_EQ(result.status, 0) << args[0];
        EXPECT_EQ(result.err, "") << args[0];
    }
}

TEST(Progress, ABarOnATerminalForMoreThanAHandfulOfMembers) {
    clitest::TempProject many;
    const std::string big = ProjectWithForms(many, 6);
    auto result = RunVbprojekt({"count", big}, clitest::OnATerminal());
    EXPECT_EQ(result.status, 0);
    EXPECT_NE(result.err.find("Zählen aller Voduvov"), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("] 6/6"), std::string::npos) << result.err;
    EXPECT_EQ(result.out, "1\tFormulare\tF0.frm\n1\tFormulare\tF1.frm\n1\tFormulare\tF2.frm\n"
                          "1\tFormulare\tF3.frm\n1\tFormulare\tF4.frm\n1\tFormulare\tF5.frm\n6\tGesamt\n");

    result = RunVbprojekt({"merge", big, many.dir.file("aus.txt")}, clitest::OnATerminal());
    EXPECT_EQ(result.status, 0);
    EXPECT_NE(result.err.find("Datei wird generiert"), std::string::npos) << result.err;

    clitest::TempProject few;
    const std::string small = ProjectWithForms(few, 5);
    result = RunVbprojekt({"count", small}, clitest::OnATerminal());
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "");
}

TEST(Progress, QuietAndADumbTerminalShowNoBar) {
    clitest::TempProject many;
    const std::string big = ProjectWithForms(many, 6);
    for (const auto& args :
         std::vector<std::vector<std::string>>{{"count", "--quiet", big},
                                               {"-q", "count", big},
                                               {"merge", big, many.dir.file("aus.txt"), "-q"}}) {
        const auto result = RunVbprojekt(args, clitest::OnATerminal());
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.err, "") << args[1];
    }
    auto dumb = clitest::OnATerminal();
    dumb.environment = {"TERM=dumb"};
    const auto result = RunVbprojekt({"count", big}, dumb);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "");
}

// Every redraw of the bar, in shown characters (UTF-8 continuation bytes and escapes left out).
std::vector<int> RedrawWidths(const std::string& err) {
    std::vector<int> widths;
    std::size_t start = 0;
    while ((start = err.find('\r', start)) != std::string::npos) {
        std::size_t end = err.find_first_of("\r\x1b", start + 1);
        end = end == std::string::npos ? err.size() : end;
        int width = 0;
        for (std::size_t i = start + 1; i < end; ++i)
            width += (static_cast<unsigned char>(err[i]) & 0xC0) != 0x80;
        if (width > 0)
            widths.push_back(width);
        start = end;
    }
    return widths;
}

TEST(Progress, TheBarFitsANarrowTerminal) {
    clitest::TempProject many;
    const std::string big = ProjectWithForms(many, 8);
    for (const unsigned short columns : {100, 40, 12}) {
        auto terminal = clitest::OnATerminal();
        terminal.terminalColumns = columns;
        const auto result = RunVbprojekt({"count", big}, terminal);
        EXPECT_EQ(result.status, 0);
        const std::vector<int> widths = RedrawWidths(result.err);
        ASSERT_FALSE(widths.empty()) << result.err;
        for (const int width : widths)
            EXPECT_LT(width, columns) << result.err;
        // The numbers show however narrow the terminal.
        EXPECT_NE(result.err.find("8/8"), std::string::npos) << result.err;
    }
}

} // namespace
