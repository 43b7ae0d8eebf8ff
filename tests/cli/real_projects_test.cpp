// Projects as they come out of archives and version control: a member missing, one outside the project's
// folder, names in other letter case, LF and mixed line ends, Windows-1252 and UTF-8 names, a designer.

#include "member_texts.h"
#include "run_program.h"
#include "temp_dir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace {

using clitest::InFolder;
using clitest::RunVbprojekt;
using vbtest::FormFile;

// The old project of a company, taken from an archive into a git checkout:
//   archiv/bibliothek/Gemeinsam.bas     outside the project's folder, LF
//   archiv/alt/Alt.vbp              Windows-1252, CR LF
//   archiv/alt/Formulare/Übersicht.frm   the name in UTF-8 on disk, the entry in Windows-1252; 8-bit text
//   archiv/alt/kunde.cls            the entry says KUNDE.CLS
//   archiv/alt/Knopf.ctl            mixed line ends, ends inside its head
//   Fehlt.frm                       not there
struct OldProject {
    vbtest::TempDir dir;
    std::string path;
    OldProject() {
        dir.write("archiv/bibliothek/Gemeinsam.bas",
                  "Attribute VB_Name = \"Gemeinsam\"\nPublic Sub Hallo()\nEnd Sub\n");
        dir.write("archiv/alt/Formulare/\xC3\x9C"
                  "bersicht.frm",
                  "VERSION 5.00\r\nBegin VB.Form frm\xDC\r\n   Begin VB.Label lblGr\xF6\xDF"
                  "e\r\n   End\r\nEnd\r\nAttribute VB_Name = \"frm\xDC\"\r\n"
                  "Attribute VB_GlobalNameSpace = False\r\nAttribute VB_Creatable = False\r\n"
                  "Attribute VB_PredeclaredId = True\r\nAttribute VB_Exposed = False\r\n");
        dir.write("archiv/alt/kunde.cls",
                  "VERSION 1.0 CLASS\nBEGIN\n  MultiUse = -1\nEND\n"
                  "Attribute VB_Name = \"Kunde\"\nAttribute VB_GlobalNameSpace = False\n"
                  "Attribute VB_Creatable = True\nAttribute VB_PredeclaredId = False\n"
                  "Attribute VB_Exposed = False\nOption Explicit\n");
        dir.write("archiv/alt/Knopf.ctl",
                  "VERSION 5.00\r\nBegin VB.UserControl Knopf\nBegin VB.Timer tmr\r\nEnd\n");
        path = dir.write("archiv/alt/Alt.vbp",
                         "Type=Exe\r\n"
                         "Reference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#"
                         "C:\\Windows\\System32\\stdole2.tlb#OLE Automation\r\n"
                         "Object={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0; MSCOMCTL.OCX\r\n"
                         "Form=Formulare\\\xDC"
                         "bersicht.frm\r\n"
                         "Form=Fehlt.frm\r\n"
                         "Module=Gemeinsam; ..\\bibliothek\\Gemeinsam.bas\r\n"
                         "Class=Kunde; KUNDE.CLS\r\n"
                         "UserControl=Knopf.ctl\r\n"
                         "Designer=Bericht.dsr\r\n"
                         "ResFile32=\"Alt.RES\"\r\n"
                         "IconForm=\"frm\xDC\"\r\n"
                         "HelpFile=\"\"\r\n"
                         "Title=\"Alt 1.0\"\r\n");
    }
};

TEST(RealProjects, CheckSaysHowEachMemberIsFoundAndWhatEachFileIsMadeOf) {
    const OldProject p;
    const auto result = RunVbprojekt({"check", "Alt.vbp"}, InFolder(p.dir.file("archiv/alt")));
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out,
              "Projekt\tAlt.vbp\tCR LF\t8-Bit\n"
              "Gefunden\tFormulare\tFormulare\\Übersicht.frm\tZählen\tWindows-1252 als UTF-8\t"
              "Formulare/Übersicht.frm\n"
              "Datei\tFormulare\tFormulare\\Übersicht.frm\tCR LF\t8-Bit\tKopf vollständig\n"
              "Fehlt\tFormulare\tFehlt.frm\tZählen\t53\tDatei nicht gefunden\tFehlt.frm\n"
              "Gefunden\tModule\t..\\bibliothek\\Gemeinsam.bas\tZählen\tmit / statt "
              "\\\t../bibliothek/Gemeinsam.bas\n"
              "Außerhalb\tModule\t..\\bibliothek\\Gemeinsam.bas\n"
              "Datei\tModule\t..\\bibliothek\\Gemeinsam.bas\tLF\tASCII\tKopf vollständig\n"
              "Gefunden\tKlassenmodule\tKUNDE.CLS\tZählen\tandere Groß-/Kleinschreibung\tkunde.cls\n"
              "Datei\tKlassenmodule\tKUNDE.CLS\tLF\tASCII\tKopf vollständig\n"
              "Gefunden\tBenutzersteuerelemente\tKnopf.ctl\tZählen\twie geschrieben\tKnopf.ctl\n"
              "Datei\tBenutzersteuerelemente\tKnopf.ctl\tgemischt\tASCII\tendet im Kopf\n"
              "Nicht gelesen\tReference\tVerweis\t{00020430-0000-0000-C000-000000000046}\t2.0\t"
              "C:\\Windows\\System32\\stdole2.tlb\n"
              "Nicht gelesen\tObject\tKomponente\t{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}\t2.0\tMSCOMCTL.OCX\n"
              "Nicht gelesen\tDesigner\tDesigner-Datei\t\t\tBericht.dsr\n"
              "Nicht gelesen\tResFile32\tRessourcendatei\t\t\tAlt.RES\n"
              "Summe\t5\t1\n");
}

TEST(RealProjects, CheckNamesTheMergersLookupWhereItFindsSomethingElse) {
    // From the parent folder the merger looks for "alt/" + entry: the same files, so no second line; a
    // member given by an absolute path is found by the counter and missed by the merger's concatenation.
    const OldProject p;
    const auto same = RunVbprojekt({"check", "alt/Alt.vbp"}, InFolder(p.dir.file("archiv")));
    EXPECT_EQ(same.out.find("Zusammenführen"), std::string::npos) << same.out;
    EXPECT_NE(same.out.find("Gefunden\tKlassenmodule\tKUNDE.CLS\tZählen\tandere Groß-/Kleinschreibung\t"
                            "alt/kunde.cls\n"),
              std::string::npos)
        << same.out;

    vbtest::TempDir dir;
    const std::string absolute = dir.write("anderswo/Absolut.bas", "Attribute VB_Name = \"Absolut\"\n");
    dir.write("p/Ordner.frm/x", ""); // a folder where the file should be opens for neither program
    dir.write("p/P.vbp", "Module=Absolut; " + absolute + "\r\nForm=Ordner.frm\r\n");
    const auto result = RunVbprojekt({"check", "p/P.vbp"}, InFolder(dir.path().string()));
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "Projekt\tp/P.vbp\tCR LF\tASCII\n"
                          "Fehlt\tFormulare\tOrdner.frm\tZählen\t75\tFehler beim Zugriff auf Pfad/Datei\t"
                          "p/Ordner.frm\n"
                          "Gefunden\tModule\t" +
                              absolute + "\tZählen\twie geschrieben\t" + absolute +
                              "\n"
                              "Fehlt\tModule\t" +
                              absolute + "\tZusammenführen\t76\tPfad nicht gefunden\tp/" + absolute +
                              "\n"
                              "Außerhalb\tModule\t" +
                              absolute +
                              "\n"
                              "Datei\tModule\t" +
                              absolute +
                              "\tLF\tASCII\tKopf vollständig\n"
                              "Summe\t2\t2\n");
}

TEST(RealProjects, CheckAsJsonCarriesTheSameFindings) {
    const OldProject p;
    const auto result = RunVbprojekt({"check", "--json", "Alt.vbp"}, InFolder(p.dir.file("archiv/alt")));
    EXPECT_EQ(result.status, 1);
    const auto doc = nlohmann::json::parse(result.out);
    EXPECT_EQ(doc["project"],
              (nlohmann::json{
                  {"path", "Alt.vbp"}, {"lineEnds", "CR LF"}, {"text", "8-Bit"}, {"undefinedBytes", false}}));
    ASSERT_EQ(doc["members"].size(), 5u);
    EXPECT_EQ(doc["members"][0]["entry"], "Formulare\\Übersicht.frm");
    EXPECT_EQ(doc["members"][0]["counter"],
              (nlohmann::json{{"found", "windows1252"}, {"path", "Formulare/Übersicht.frm"}}));
    EXPECT_EQ(
        doc["members"][1]["counter"]["missing"],
        (nlohmann::json{{"error", 53}, {"description", "Datei nicht gefunden"}, {"path", "Fehlt.frm"}}));
    EXPECT_FALSE(doc["members"][1].contains("file"));
    EXPECT_EQ(doc["members"][2]["outside"], true);
    EXPECT_EQ(doc["members"][4]["file"], (nlohmann::json{{"lineEnds", "gemischt"},
                                                         {"text", "ASCII"},
                                                         {"headComplete", false},
                                                         {"undefinedBytes", false}}));
    EXPECT_EQ(doc["notRead"][2], (nlohmann::json{{"key", "Designer"},
                                                 {"what", "Designer-Datei"},
                                                 {"value", "Bericht.dsr"},
                                                 {"guid", ""},
                                                 {"version", ""},
                                                 {"file", "Bericht.dsr"}}));
    EXPECT_EQ(doc["total"], 5);
    EXPECT_EQ(doc["missing"], 1);
}

TEST(RealProjects, KeepGoingCountsListsAndMergesEverythingButTheMissingMember) {
    const OldProject p;
    const auto options = InFolder(p.dir.file("archiv/alt"));
    const std::string message = "vbprojekt: Laufzeitfehler 53: Datei nicht gefunden: Fehlt.frm\n";

    auto result = RunVbprojekt({"count", "Alt.vbp"}, options);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, message);

    result = RunVbprojekt({"count", "-k", "Alt.vbp"}, options);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, message);
    EXPECT_EQ(result.out, "1\tFormulare\tFormulare\\Übersicht.frm\n"
                          "-\tFormulare\tFehlt.frm\n"
                          "2\tBenutzersteuerelemente\tKnopf.ctl\n"
                          "3\tGesamt\n");

    result = RunVbprojekt({"count", "--keep-going", "--json", "Alt.vbp"}, options);
    EXPECT_EQ(result.status, 1);
    const auto doc = nlohmann::json::parse(result.out);
    EXPECT_EQ(doc["total"], 3);
    EXPECT_EQ(
        doc["members"][1],
        (nlohmann::json{
            {"kind", "Form"},
            {"group", "Formulare"},
            {"entry", "Fehlt.frm"},
            {"missing", {{"error", 53}, {"description", "Datei nicht gefunden"}, {"path", "Fehlt.frm"}}}}));

    // The type texts and names of an 8-bit member are shown as Windows-1252.
    result = RunVbprojekt({"objects", "-k", "Alt.vbp"}, options);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, message);
    EXPECT_EQ(result.out, "Formulare\tFormulare\\Übersicht.frm\tVB.Label\tlblGröße\n"
                          "Formulare\tFehlt.frm\t-\t-\n"
                          "Benutzersteuerelemente\tKnopf.ctl\tVB.UserControl\tKnopf\n"
                          "Benutzersteuerelemente\tKnopf.ctl\tVB.Timer\ttmr\n");

    result = RunVbprojekt({"merge", "-k", "--code-only", "Alt.vbp", "../Alt.txt"}, options);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, message);
    EXPECT_EQ(vbtest::ReadBytes(p.dir.file("archiv/Alt.txt")),
              "FORMULARE:\r\nFormulare\\\xDC"
              "bersicht.frm:\r\n\r\n\r\n"
              "Fehlt.frm:\r\n\r\n\r\n\r\n\r\n"
              "MODULE:\r\n..\\bibliothek\\Gemeinsam.bas:\r\nPublic Sub Hallo()\r\nEnd Sub\r\n\r\n\r\n\r\n\r\n"
              "KLASSENMODULE:\r\nKUNDE.CLS:\r\nOption Explicit\r\n\r\n\r\n\r\n\r\n"
              "BENUTZERSTEUERELEMENTE:\r\nKnopf.ctl:\r\n\r\n\r\n\r\n\r\n"
              "EIGENSCHAFTENSEITEN:\r\n");

    // Without the option nothing is written, and an earlier output stays.
    result = RunVbprojekt({"merge", "Alt.vbp", "../Alt.txt"}, options);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, message);
    EXPECT_NE(vbtest::ReadBytes(p.dir.file("archiv/Alt.txt")).find("Fehlt.frm:"), std::string::npos);
}

TEST(RealProjects, KeepGoingStillEndsAtErrorsOtherThanAMemberThatDoesNotOpen) {
    vbtest::TempDir dir;
    std::string form = "VERSION 5.00\r\nBegin VB.Form frm\r\n";
    for (int i = 0; i < 101; ++i) // one type more than the table holds
        form += "Begin VB.T" + std::to_string(i) + " x\r\nEnd\r\n";
    dir.write("Voll.frm", form);
    const std::string project = dir.write("P.vbp", "Form=Fehlt.frm\r\nForm=Voll.frm\r\n");
    const auto result = RunVbprojekt({"count", "-k", project});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "vbprojekt: Laufzeitfehler 53: Datei nicht gefunden: " + dir.file("Fehlt.frm") +
                              "\nvbprojekt: Laufzeitfehler 9: Index außerhalb des gültigen Bereichs: " +
                              dir.file("Voll.frm") + "\n");
}

// An archive re-encoded to UTF-8: the project file and the form hold their umlauts as UTF-8.
TEST(RealProjects, Utf8FilesAreShownAsTheyAreAndOtherFilesAsWindows1252) {
    vbtest::TempDir dir;
    dir.write("neu/Eröffnung.frm", FormFile("frmEröffnung", {"lblGrüße"}, "\n"));
    dir.write("neu/Alt.frm", FormFile("frmAlt",
                                      {"lblGr\xFC\xDF"
                                       "e"},
                                      "\n"));
    const std::string project = dir.write("neu/Neu.vbp", "Type=Exe\nForm=Eröffnung.frm\nForm=Alt.frm\n");

    auto result = RunVbprojekt({"members", project});
    EXPECT_EQ(result.out, "Formulare\t2\nFormulare\t1\tEröffnung.frm\nFormulare\t2\tAlt.frm\nModule\t0\n"
                          "Klassenmodule\t0\nBenutzersteuerelemente\t0\nEigenschaftenseiten\t0\n");
    result = RunVbprojekt({"objects", project});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "Formulare\tEröffnung.frm\tVB.Label\tlblGrüße\n"
                          "Formulare\tAlt.frm\tVB.Label\tlblGrüße\n");
    result = RunVbprojekt({"objects", "--json", project, "Eröffnung.frm"});
    EXPECT_EQ(nlohmann::json::parse(result.out)["members"][0]["types"][0]["names"][0], "lblGrüße");
    result = RunVbprojekt({"count", "--json", project});
    EXPECT_EQ(nlohmann::json::parse(result.out)["members"][0]["entry"], "Eröffnung.frm");
}

TEST(RealProjects, EncodingNamesTheCodePageOfFilesThatAreNotUtf8) {
    // A Russian project: CP1251 bytes for "Отчёт" (0x98 is the one byte CP1251 leaves undefined) and a
    // Chinese form in GBK.
    vbtest::TempDir dir;
    const std::string report = "\xCE\xF2\xF7\xB8\xF2";
    dir.write("ru/" + report + ".frm", FormFile("frm" + report, {"lbl\x98"}, "\n"));
    const std::string ru = dir.write("ru/R.vbp", "Form=" + report + ".frm\r\n");

    auto result = RunVbprojekt({"objects", "--encoding", "CP1251", ru});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "Formulare\tОтчёт.frm\tVB.Label\tlbl\u02DC\n");
    result = RunVbprojekt({"members", ru});
    EXPECT_EQ(result.out.substr(0, 38), "Formulare\t1\nFormulare\t1\tÎò÷¸ò.frm"); // Windows-1252 by default

    result = RunVbprojekt({"check", "--encoding", "CP1251", ru});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("Datei\tFormulare\tОтчёт.frm\tLF\t8-Bit\tKopf vollständig\n"
                              "Undefiniert\tFormulare\tОтчёт.frm\tCP1251\n"),
              std::string::npos)
        << result.out;

    dir.write("zh/Main.frm", FormFile("frmMain", {"\xD6\xF7\xB4\xB0\xBF\xDA"}, "\n"));
    const std::string zh = dir.write("zh/Z.vbp", "Form=Main.frm\r\n");
    result = RunVbprojekt({"objects", "--encoding", "GBK", zh});
    EXPECT_EQ(result.out, "Formulare\tMain.frm\tVB.Label\t主窗口\n");

    result = RunVbprojekt({"count", "--encoding", "KEINE-SOLCHE", zh});
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.err, "vbprojekt: unbekannte Zeichenkodierung \"KEINE-SOLCHE\" (--encoding)\n"
                          "Hilfe: vbprojekt --help\n");
}

} // namespace
