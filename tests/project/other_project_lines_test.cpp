// The project file's lines that name files or components no command reads.

#include "project/other_project_lines.h"

#include <gtest/gtest.h>

namespace {

using vb::ReadOtherProjectLine;

TEST(OtherProjectLines, KnownKeysWithTheirGuidVersionAndFile) {
    auto line = ReadOtherProjectLine("Reference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#"
                                     "..\\..\\Windows\\system32\\stdole2.tlb#OLE Automation");
    EXPECT_EQ(line.key, "Reference");
    EXPECT_EQ(line.what, "Verweis");
    EXPECT_EQ(line.guid, "{00020430-0000-0000-C000-000000000046}");
    EXPECT_EQ(line.version, "2.0");
    EXPECT_EQ(line.file, "..\\..\\Windows\\system32\\stdole2.tlb");
    EXPECT_EQ(line.description, "OLE Automation");
    EXPECT_EQ(ReadOtherProjectLine("Reference=*\\G{X}#1.0#0#C:\\a.tlb#Bibliothek #2").description,
              "Bibliothek #2");

    line = ReadOtherProjectLine("Reference=*\\AAndere\\Bibliothek.vbp");
    EXPECT_EQ(line.file, "Andere\\Bibliothek.vbp");
    EXPECT_EQ(line.guid, "");

    line = ReadOtherProjectLine("Object={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0; MSCOMCTL.OCX");
    EXPECT_EQ(line.what, "Komponente");
    EXPECT_EQ(line.guid, "{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}");
    EXPECT_EQ(line.version, "2.0");
    EXPECT_EQ(line.file, "MSCOMCTL.OCX");

    line = ReadOtherProjectLine("ResFile32=\"Projekt.RES\"");
    EXPECT_EQ(line.what, "Ressourcendatei");
    EXPECT_EQ(line.file, "Projekt.RES");
    EXPECT_EQ(ReadOtherProjectLine("Designer=Berichte\\Umsatz.Dsr").file, "Berichte\\Umsatz.Dsr");
    EXPECT_EQ(ReadOtherProjectLine("UserDocument=Dok.dob").what, "Benutzerdokument");
    EXPECT_EQ(ReadOtherProjectLine("RelatedDoc=Liesmich.txt").what, "zugehöriges Dokument");
}

TEST(OtherProjectLines, OtherKeysOnlyWhenTheirValueNamesAFile) {
    const auto line = ReadOtherProjectLine("HelpFile=\"Hilfe\\Projekt.hlp\"");
    EXPECT_EQ(line.key, "HelpFile");
    EXPECT_EQ(line.what, "nennt eine Datei");
    EXPECT_EQ(line.file, "Hilfe\\Projekt.hlp");
    EXPECT_EQ(ReadOtherProjectLine("IconForm=\"frmHaupt\"").key, "");
    EXPECT_EQ(ReadOtherProjectLine("Title=\"Kasse 2.0\"").key, "");
    EXPECT_EQ(ReadOtherProjectLine("MajorVer=1.10").key, ""); // a version, not a file
    EXPECT_EQ(ReadOtherProjectLine("HelpFile=\"\"").key, "");
    EXPECT_EQ(ReadOtherProjectLine("ExeName32=\"Kasse.exe\"").file, "Kasse.exe");
    // Member lines and lines without a key are the members' or nothing.
    EXPECT_EQ(ReadOtherProjectLine("Form=Haupt.frm").key, "");
    EXPECT_EQ(ReadOtherProjectLine("Module=M; Werkzeuge.bas").key, "");
    EXPECT_EQ(ReadOtherProjectLine("[MS Transaction Server]").key, "");
    EXPECT_EQ(ReadOtherProjectLine("=Haupt.frm").key, "");
}

TEST(OtherProjectLines, HeadObjectLinesReadAsTheProjectFilesObjectLines) {
    auto line =
        vb::ReadHeadObjectLine("Object = \"{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0\"; \"MSCOMCTL.OCX\"");
    EXPECT_EQ(line.key, "Object");
    EXPECT_EQ(line.guid, "{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}");
    EXPECT_EQ(line.version, "2.0");
    EXPECT_EQ(line.file, "MSCOMCTL.OCX");
    line = vb::ReadHeadObjectLine("Object=\"*\\A..\\Steuer\\Steuer.vbp\"");
    EXPECT_EQ(line.file, "..\\Steuer\\Steuer.vbp");
    EXPECT_EQ(line.guid, "");
    // Not a component: another key, an Object line without "=", a property inside the description.
    EXPECT_EQ(vb::ReadHeadObjectLine("VERSION 5.00").key, "");
    EXPECT_EQ(vb::ReadHeadObjectLine("Object \"{X}\"").key, "");
    EXPECT_EQ(vb::ReadHeadObjectLine("   Object = \"{X}#1.0#0\"").key, "");
}

} // namespace
