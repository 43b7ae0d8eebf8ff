// Messy projects and output paths on the command line: every bad input ends in a sound listing, a sound
// merged file, a refusal or a runtime error with the right number and path, exit status 1 and nothing on
// standard output; input files stay unchanged and a failed merge keeps the lines written before it.

#include "bad_input.h"
#include "input_snapshot.h"
#include "resource_probe.h"
#include "run_program.h"
#include "temp_project.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace {

using clitest::RunResult;
using vbtest::BinaryJunk;
using vbtest::ReadBytes;
using vbtest::Repeated;

using Args = std::vector<std::string>;

using vbtest::kEmptyMergedFile;

// "vbprojekt: Laufzeitfehler N: DESCRIPTION: PATH" and its line end.
std::string Message(int number, std::string_view description, const std::string& path) {
    return "vbprojekt: Laufzeitfehler " + std::to_string(number) + ": " + std::string(description) +
           (path.empty() ? "" : ": " + path) + "\n";
}

std::string Refused(const std::string& path) {
    return "vbprojekt: Die Ausgabedatei ist eine Datei des Projekts und wird nicht überschrieben: " + path +
           "\n";
}

class CliBadInput : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(vbtest::Recheck(inputs_), inputs_) << "an input file changed"; }

    // Runs vbprojekt; every file of the input folder is noted before the first command that meets it.
    RunResult run(const Args& args, const clitest::RunOptions& options = {}) {
        for (auto& [path, bytes] : vbtest::TakeSnapshot(in_.dir.path()))
            inputs_.try_emplace(path, std::move(bytes));
        return RunVbprojekt(args, options);
    }
    // The command fails with exit status 1, exactly `message` on standard error and nothing on standard
    // output.
    void expectFailure(const Args& args, const std::string& message) {
        const RunResult result = run(args);
        EXPECT_EQ(result.status, 1) << args[0] << " " << args[1];
        EXPECT_EQ(result.err, message) << args[0];
        EXPECT_EQ(result.out, "") << args[0] << ": no half listing";
    }
    // The command succeeds silently and returns its standard output.
    std::string output(const Args& args) {
        const RunResult result = run(args);
        EXPECT_EQ(result.status, 0) << args[0] << ": " << result.err;
        EXPECT_EQ(result.err, "") << args[0];
        return result.out;
    }
    std::string project(const std::string& name, std::string_view lines) {
        return in_.dir.write("projekt/" + name, lines);
    }

    clitest::TempProject in_; // the input files, below projekt/
    vbtest::TempDir out_;     // the merged files
    vbtest::Snapshot inputs_;
};

// Rows 1 to 3: a missing project, one in a missing folder, a folder, binary junk.
TEST_F(CliBadInput, ProjectFileMissingFolderOrBinary) {
    const std::string merged = out_.file("Zusammen.txt");
    const std::pair<std::string, std::string> cases[] = {
        {in_.dir.file("Fehlt.vbp"), "53: Datei nicht gefunden"},
        {in_.dir.file("Fehlt/P.vbp"), "76: Pfad nicht gefunden"},
        {in_.dir.path().string(), "75: Fehler beim Zugriff auf Pfad/Datei"},
    };
    for (const auto& [path, error] : cases)
        for (const Args& args : {Args{"members", path}, Args{"objects", path, "--json"}, Args{"count", path},
                                 Args{"merge", path, merged}})
            expectFailure(args, "vbprojekt: Laufzeitfehler " + error + ": " + path + "\n");
    EXPECT_FALSE(std::filesystem::exists(merged));

    const std::string junk = BinaryJunk();
    const std::string path = project("Junk.vbp", junk);
    EXPECT_EQ(output({"members", path}), "Formulare\t0\nModule\t0\nKlassenmodule\t0\n"
                                         "Benutzersteuerelemente\t0\nEigenschaftenseiten\t0\n");
    EXPECT_EQ(output({"objects", path}), "");
    EXPECT_EQ(output({"count", path}), "0\tGesamt\n");
    EXPECT_EQ(output({"merge", path, merged}), "");
    EXPECT_EQ(ReadBytes(merged), kEmptyMergedFile);
}

// Rows 4 to 9: after a sound form, an entry holding a NUL byte, naming a missing file, a folder, nothing, a
// pipe; every command that opens it fails, merge with the lines up to the member's header in the file.
// An entry outside the project's folder in another letter case is found.
TEST_F(CliBadInput, MemberEntriesThatLeadNowhereOrOutside) {
    in_.dir.write("projekt/A.frm",
                  "VERSION 5.00\r\nBegin VB.Form frmA \r\n   Begin VB.Label lblA \r\n   End\r\n"
                  "End\r\nAttribute VB_Name = \"frmA\"\r\nCode\r\n");
    in_.dir.write("projekt/Ha", "not the member\r\n"); // where the NUL would cut "Ha\0pt.frm"
    in_.dir.write("projekt/Ordner/x.frm", "");
    ASSERT_EQ(::mkfifo(in_.dir.file("projekt/pipe.frm").c_str(), 0600), 0);
    in_.dir.write("Aussen/Aussen.frm",
                  "Begin VB.Form f \r\nBegin VB.Label lblAussen \r\nAttribute\r\nCode\r\n");
    const std::string folder = in_.folder() + "/";
    const std::string merged = out_.file("Zusammen.txt");

    const std::string outside = project("Aussen.vbp", "Form=A.frm\r\nForm=..\\Aussen\\AUSSEN.FRM\r\n");
    EXPECT_EQ(output({"count", outside}),
              "1\tFormulare\tA.frm\n1\tFormulare\t..\\Aussen\\AUSSEN.FRM\n2\tGesamt\n");
    EXPECT_EQ(output({"objects", outside, "..\\Aussen\\AUSSEN.FRM"}),
              "Formulare\t..\\Aussen\\AUSSEN.FRM\tVB.Label\tlblAussen\n");
    output({"merge", outside, merged});
    EXPECT_NE(ReadBytes(merged).find("..\\Aussen\\AUSSEN.FRM:\r\nBegin VB.Form f \r\n"), std::string::npos);
    // Every failed merge below leaves this earlier result as it was.
    const std::string earlier = ReadBytes(merged);

    struct Case {
        std::string entry;
        std::string shown; // the entry in a message: control characters as pictures
        int scanNumber;    // count and objects
        int mergeNumber;
        std::string description;
    };
    const std::string nul("Ha\0pt.frm", 9);
    int n = 0;
    for (const Case& c : {Case{nul, "Ha\u2400pt.frm", 52, 52, "Dateiname oder -nummer falsch"},
                          Case{"Fehlt.frm", "Fehlt.frm", 53, 53, "Datei nicht gefunden"},
                          Case{"Ordner", "Ordner", 75, 75, "Fehler beim Zugriff auf Pfad/Datei"},
                          Case{"pipe.frm", "pipe.frm", 75, 75, "Fehler beim Zugriff auf Pfad/Datei"}}) {
        const std::string path =
            project("P" + std::to_string(++n) + ".vbp", "Form=A.frm\r\nForm=" + c.entry + "\r\n");
        for (const Args& args : {Args{"count", path}, Args{"objects", path, "--json"}})
            expectFailure(args, Message(c.scanNumber, c.description, folder + c.shown));
        expectFailure({"merge", path, merged}, Message(c.mergeNumber, c.description, folder + c.shown));
        EXPECT_EQ(ReadBytes(merged), earlier) << c.shown;
    }
    // The entry stays as written in the listing, its NUL shown as a picture.
    EXPECT_TRUE(output({"members", project("Nul.vbp", "Form=" + nul + "\r\n")})
                    .starts_with("Formulare\t1\nFormulare\t1\tHa\u2400pt.frm\nModule\t0\n"));

    // An empty entry: no name to open for the counter; the merger tries the project's folder.
    const std::string empty = project("Leer.vbp", "Form=A.frm\r\nModule=Leer;\r\nUserControl=\r\n");
    expectFailure({"count", empty}, Message(52, "Dateiname oder -nummer falsch", ""));
    expectFailure({"merge", empty, merged}, Message(75, "Fehler beim Zugriff auf Pfad/Datei", folder));
    EXPECT_EQ(ReadBytes(merged), earlier);
}

// Rows 10 to 12 and 14: empty, binary, CR-only, LF-only, mixed and cut-off member files.
TEST_F(CliBadInput, MemberFilesOfEveryShape) {
    const std::string body = "Begin VB.Form f \rBegin VB.Label a \rEnd\rBegin VB.Label b \r";
    std::string lf = body + "Attribute\r";
    std::replace(lf.begin(), lf.end(), '\r', '\n');
    std::string binary;
    for (int i = 0; i < 70000; ++i)
        binary += static_cast<char>(i % 3 == 0 ? '\0' : (i * 7919) % 256);
    for (const auto& [name, bytes] : std::initializer_list<std::pair<std::string, std::string>>{
             {"Leer.frm", ""},
             {"Cr.frm", body + "Attribute VB_Name = \"x\"\rBegin VB.Code nie \r"},
             {"Lf.frm", lf},
             {"Gemischt.frm", "Begin VB.Label a \r\nBegin VB.Label b \nEnd\rAttribute\n"},
             {"Binaer.frm", binary},
             {"Kopf.frm", "VERSION 5.00\r\nBegin VB.Form f \r\n   Begin VB.Label a \r\n"}, // ends in its head
             {"Leer.bas", ""},
             {"Cr.bas", "Attribute VB_Name = \"Cr\"\rA\rB"},
             {"Lf.bas", "Attribute VB_Name = \"Lf\"\nA\nB\n"},
             {"Gemischt.bas", "Attribute VB_Name = \"G\"\r\nA\nB\r"},
             {"Binaer.bas", binary},
             {"Kurz.cls", "VERSION 1.0 CLASS\r\nBEGIN\r\n"}}) // ends in its head
        in_.dir.write("projekt/" + name, bytes);

    const std::string forms = project("Formen.vbp", "Form=Leer.frm\r\nForm=Cr.frm\r\nForm=Lf.frm\r\n"
                                                    "Form=Gemischt.frm\r\nForm=Kopf.frm\r\n");
    EXPECT_EQ(output({"count", forms}), "0\tFormulare\tLeer.frm\n2\tFormulare\tCr.frm\n2\tFormulare\tLf.frm\n"
                                        "2\tFormulare\tGemischt.frm\n1\tFormulare\tKopf.frm\n7\tGesamt\n");
    EXPECT_EQ(
        output({"objects", forms, "Leer.frm", "Lf.frm", "Kopf.frm"}),
        "Formulare\tLf.frm\tVB.Label\ta\nFormulare\tLf.frm\tVB.Label\tb\nFormulare\tKopf.frm\tVB.Label\ta\n");
    // The junk declares no object here; scanning it is no error.
    EXPECT_TRUE(output({"count", project("Binaer.vbp", "Form=Binaer.frm\r\n")})
                    .starts_with("0\tFormulare\tBinaer.frm\n"));

    const std::string merged = out_.file("Zusammen.txt");
    output({"merge",
            project("Module.vbp", "Form=Kopf.frm\r\nModule=a; Leer.bas\r\nModule=a; Cr.bas\r\n"
                                  "Module=a; Lf.bas\r\nModule=a; Gemischt.bas\r\nModule=a; Binaer.bas\r\n"
                                  "Class=k; Kurz.cls\r\n"),
            merged});
    const std::string text = ReadBytes(merged);
    EXPECT_NE(text.find("Kopf.frm:\r\nBegin VB.Form f \r\n   Begin VB.Label a \r\n\r\n\r\n\r\n\r\nMODULE:\r\n"
                        "Leer.bas:\r\n\r\n\r\nCr.bas:\r\nAttribute VB_Name = \"Cr\"\r\nA\r\nB\r\n\r\n\r\n"
                        "Lf.bas:\r\nAttribute VB_Name = \"Lf\"\r\nA\r\nB\r\n\r\n\r\n"
                        "Gemischt.bas:\r\nAttribute VB_Name = \"G\"\r\nA\r\nB\r\n\r\n\r\nBinaer.bas:\r\n"),
              std::string::npos)
        << text.substr(0, 400);
    EXPECT_NE(text.find("KLASSENMODULE:\r\nKurz.cls:\r\nBEGIN\r\n\r\n\r\n\r\n\r\nBENUTZER"),
              std::string::npos);
    // Binary bytes, NUL included, pass unchanged; only their line ends become CR LF.
    const auto start = text.find("Binaer.bas:\r\n") + 13;
    const std::string copied = text.substr(start, text.find("\r\n\r\n\r\nKLASSENMODULE:") - start);
    std::erase(binary, '\r');
    std::erase(binary, '\n');
    EXPECT_EQ(std::count(copied.begin(), copied.end(), '\n'), std::count(copied.begin(), copied.end(), '\r'));
    std::string copiedBytes = copied;
    std::erase(copiedBytes, '\r');
    std::erase(copiedBytes, '\n');
    EXPECT_EQ(copiedBytes, binary);
}

// Rows 15 to 19: the table's limits and the odd "Begin " lines in count and objects; merge does not scan.
TEST_F(CliBadInput, TableLimitsAndOddBeginLines) {
    const auto declaring = [](int types, int names) { // a form of `types` types with `names` objects each
        std::string text = "VERSION 5.00\r\nBegin VB.Form frmGross \r\n";
        for (int t = 0; t < types; ++t)
            for (int n = 0; n < names; ++n)
                text +=
                    "   Begin Typ" + std::to_string(t) + ".Ding obj" + std::to_string(n) + " \r\n   End\r\n";
        return text + "End\r\nAttribute VB_Name = \"frmGross\"\r\n";
    };
    in_.dir.write("projekt/T100.frm", declaring(100, 1));
    in_.dir.write("projekt/T101.frm", declaring(101, 1));
    in_.dir.write("projekt/N1000.frm", declaring(1, 1000));
    in_.dir.write("projekt/N1001.frm", declaring(1, 1001));
    const std::string fits = project("Passt.vbp", "Form=T100.frm\r\nForm=N1000.frm\r\n");
    EXPECT_EQ(output({"count", fits}),
              "100\tFormulare\tT100.frm\n1000\tFormulare\tN1000.frm\n1100\tGesamt\n");
    const std::string objects = output({"objects", fits, "T100.frm"});
    EXPECT_EQ(std::count(objects.begin(), objects.end(), '\n'), 100);
    EXPECT_TRUE(objects.ends_with("Formulare\tT100.frm\tTyp99.Ding\tobj0\n"));
    const std::string folder = in_.folder() + "/";
    const std::string tooMany = project("Zuviel.vbp", "Form=T100.frm\r\nForm=T101.frm\r\nForm=N1001.frm\r\n");
    const std::string error9 = "Index außerhalb des gültigen Bereichs";
    expectFailure({"count", tooMany}, Message(9, error9, folder + "T101.frm"));
    expectFailure({"objects", tooMany, "N1001.frm"}, Message(9, error9, folder + "N1001.frm"));
    output({"merge", tooMany, out_.file("Zusammen.txt")});

    in_.dir.write("projekt/Begin.frm", "   Begin VB.Label\r\n"
                                       "   Begin  lblOhneTyp\r\n"
                                       "   Caption = Begin \r\n"
                                       "Begin \r\n"
                                       "Attribute VB_Name = \"Begin\"\r\n");
    const std::string begin = project("Begin.vbp", "Form=Begin.frm\r\n");
    EXPECT_EQ(output({"objects", begin}), "Formulare\tBegin.frm\tVB.Label\t\n"
                                          "Formulare\tBegin.frm\t\tBegin  lblOhneTyp\n"
                                          "Formulare\tBegin.frm\t\tCaption = Begin\n"
                                          "Formulare\tBegin.frm\t\tegin\n");
    EXPECT_EQ(output({"count", begin}), "4\tFormulare\tBegin.frm\n4\tGesamt\n");
}

// Rows 20 to 22: member counts at and past the 16-bit limit, one kind and summed in the progress maximum.
TEST_F(CliBadInput, MemberCountsAtAndPastTheSixteenBitLimit) {
    in_.dir.write("projekt/a.frm", "Begin VB.Form f \r\nBegin VB.Label l \r\nAttribute\r\n");
    const std::string overflow = Message(6, "Überlauf", "");
    const std::string merged = out_.file("Zusammen.txt");

    const std::string max = project("Max.vbp", Repeated("Form=a.frm\r\n", 32767));
    EXPECT_TRUE(output({"members", max}).starts_with("Formulare\t32767\nFormulare\t1\ta.frm\n"));
    expectFailure({"count", max}, overflow); // the bar's maximum, 32767 + 1, overflows before any scan
    output({"merge", max, merged});
    const std::string block = "a.frm:\r\nBegin VB.Form f \r\nBegin VB.Label l \r\nAttribute\r\n\r\n\r\n";
    EXPECT_EQ(std::filesystem::file_size(merged), kEmptyMergedFile.size() + 32767 * block.size());

    const std::string tooMany = project("Zuviel.vbp", Repeated("Form=a.frm\r\n", 32768));
    for (const Args& args : {Args{"members", tooMany}, Args{"objects", tooMany}, Args{"count", tooMany},
                             Args{"merge", tooMany, out_.file("Neu.txt")}})
        expectFailure(args, overflow);

    expectFailure({"count", project("Summe.vbp", Repeated("Form=a.frm\r\n", 16384) +
                                                     Repeated("UserControl=a.frm\r\n", 16384))},
                  overflow);
    EXPECT_TRUE(output({"count", project("Knapp.vbp", Repeated("Form=a.frm\r\n", 16383) +
                                                          Repeated("PropertyPage=a.frm\r\n", 16383))})
                    .ends_with("\n32766\tGesamt\n"));
    // Each kind within its limit, the sum past it: the merge fails before the output file is created.
    expectFailure({"merge",
                   project("Module.vbp",
                           Repeated("Module=a; a.frm\r\n", 20000) + Repeated("Class=a; a.frm\r\n", 20000)),
                   out_.file("Neu.txt")},
                  overflow);
    EXPECT_FALSE(std::filesystem::exists(out_.file("Neu.txt")));
}

// Rows 23 to 27: output paths that cannot be written, and paths that are the project's own files.
TEST_F(CliBadInput, OutputPathsThatCannotBeWrittenOrAreTheProjectsOwn) {
    in_.dir.write("projekt/Formulare/haupt.frm", "Begin VB.Form f \r\nAttribute\r\n");
    const std::string path = project("Test.vbp", "Form=Formulare\\Haupt.frm\r\n");
    const std::string missing = out_.file("Fehlt/Zusammen.txt");
    expectFailure({"merge", path, missing}, Message(76, "Pfad nicht gefunden", missing));
    expectFailure({"merge", path, out_.path().string()},
                  Message(75, "Fehler beim Zugriff auf Pfad/Datei", out_.path().string()));

    const std::string member = in_.folder() + "/Formulare\\Haupt.frm";
    std::filesystem::create_symlink(in_.dir.file("projekt/Formulare/haupt.frm"), out_.file("Link.txt"));
    std::filesystem::create_hard_link(in_.dir.file("projekt/Formulare/haupt.frm"), out_.file("Hart.txt"));
    const std::pair<std::string, std::string> cases[] = {
        {in_.dir.file("projekt/Formulare/../Test.vbp"), path}, // the project file by other spellings
        {in_.dir.file("projekt//Test.vbp"), path},
        {out_.file("Link.txt"), member}, // a member through links
        {out_.file("Hart.txt"), member},
        {in_.dir.file("projekt/Formulare\\Haupt.frm"), member}, // not there, but found before the member
        {in_.dir.file("projekt/Formulare/Haupt.frm"), member},
        {in_.dir.file("projekt/Formulare/HAUPT.FRM"), member},
    };
    for (const auto& [output, named] : cases)
        expectFailure({"merge", path, output}, Refused(named));
    // Relative to the caller's folder.
    const RunResult relative = run({"merge", path, "Test.vbp"}, clitest::InFolder(in_.folder()));
    EXPECT_EQ(relative.status, 1);
    EXPECT_EQ(relative.err, Refused(path));
    for (const char* created :
         {"projekt/Formulare\\Haupt.frm", "projekt/Formulare/Haupt.frm", "projekt/Formulare/HAUPT.FRM"})
        EXPECT_FALSE(std::filesystem::exists(in_.dir.file(created))) << created;
}

// Row 29: a full disk is error 61 with the output path; the lines written before it are in the file.
TEST_F(CliBadInput, FullDiskLeavesTheEarlierOutputAndNoTemporaryFile) {
    std::string member = "Attribute VB_Name = \"Gross\"\r\n";
    for (int i = 0; i < 4000; ++i)
        member += "' Zeile " + std::to_string(i) + " mit etwas Text, damit die Datei wächst\r\n";
    in_.dir.write("projekt/Gross.bas", member);
    const std::string path = project("Test.vbp", Repeated("Module=G; Gross.bas\r\n", 4));
    vbtest::SmallFileSystem disk(out_.path() / "voll", 64);
    if (!disk.mounted()) {
        expectFailure({"merge", path, "/dev/full"}, Message(61, "Datenträger voll", "/dev/full"));
        GTEST_SKIP() << "no tmpfs (needs root): only /dev/full checked";
    }
    const std::string full = out_.file("voll/Zusammen.txt");
    expectFailure({"merge", path, full}, Message(61, "Datenträger voll", full));
    EXPECT_FALSE(std::filesystem::exists(full));
    EXPECT_TRUE(std::filesystem::is_empty(out_.path() / "voll")) << "no temporary file is left";
    out_.write("voll/Zusammen.txt", "frühere Ausgabe\r\n");
    expectFailure({"merge", path, full}, Message(61, "Datenträger voll", full));
    EXPECT_EQ(ReadBytes(full), "frühere Ausgabe\r\n");

    // A folder that takes no new file: the output is written in place, and a full disk midway costs its
    // earlier content, which the message says (as nobody, since root makes files in any folder).
    for (const auto& folder : {in_.dir.path(), in_.dir.path() / "projekt", out_.path(), out_.path() / "voll"})
        ::chmod(folder.c_str(), 0755);
    ::chmod(full.c_str(), 0666);
    ::chmod((out_.path() / "voll").c_str(), 0555);
    clitest::RunOptions asNobody;
    asNobody.asNobody = true;
    const RunResult inPlace = clitest::RunVbprojekt({"merge", path, full}, asNobody);
    ::chmod((out_.path() / "voll").c_str(), 0755);
    EXPECT_EQ(inPlace.status, 1);
    EXPECT_EQ(inPlace.err,
              Message(61, "Datenträger voll", full) +
                  "vbprojekt: Die Ausgabedatei wurde an Ort und Stelle geschrieben (ihr Ordner nimmt "
                  "keine neue Datei auf) und ist unvollständig; ihr früherer Inhalt ist verloren: " +
                  full + "\n");
    EXPECT_NE(ReadBytes(full), "frühere Ausgabe\r\n");
}

// Row 13: a member of one 200 MB line streams through count and merge in memory of a small multiple of it.
TEST(CliHugeMember, TwoHundredMegabyteLineStreamsInCountAndMerge) {
    const vbtest::TempDir dir;
    constexpr std::size_t kLine = 200u << 20;
    const std::string head = "Begin VB.Form f \r\n   Begin VB.Label ";
    const std::string tail = " \r\nAttribute VB_Name = \"x\"\r\n";
    const std::string chunk(1u << 20, 'n');
    const std::string member = dir.file("riesig.frm");
    // Written in pieces: the test process stays small, and the child inherits its size at the fork.
    vbtest::WriteHugeFile(member, head, kLine, 'n', tail);
    const std::string project = dir.write("P.vbp", "Form=riesig.frm\r\n");
    const RunResult count = clitest::RunVbprojekt({"count", project});
    EXPECT_EQ(count.status, 0) << count.err;
    EXPECT_EQ(count.out, "1\tFormulare\triesig.frm\n1\tGesamt\n");
    const std::string merged = dir.file("Zusammen.txt");
    const RunResult merge = clitest::RunVbprojekt({"merge", project, merged});
    EXPECT_EQ(merge.status, 0) << merge.err;
    if (!vbtest::kSanitized) {
        EXPECT_LT(count.peakRssKb, 4 * static_cast<long>(kLine >> 10)) << "count: memory of the 200 MB line";
        EXPECT_LT(merge.peakRssKb, 3 * static_cast<long>(kLine >> 10)) << "merge: memory of the 200 MB line";
    }
    // The member is unchanged, and the merged file holds its head line by line, the long line whole.
    std::ifstream in(member, std::ios::binary);
    std::string piece(head.size(), '\0');
    in.read(piece.data(), static_cast<std::streamsize>(piece.size()));
    EXPECT_EQ(piece, head);
    std::string got(chunk.size(), '\0');
    for (std::size_t i = 0;
         i < kLine / chunk.size() && in.read(got.data(), static_cast<std::streamsize>(got.size())); ++i)
        ASSERT_EQ(got, chunk) << "the member changed at megabyte " << i;
    piece.assign(tail.size() + 1, '\0');
    in.read(piece.data(), static_cast<std::streamsize>(piece.size()));
    EXPECT_EQ(piece.substr(0, static_cast<std::size_t>(in.gcount())), tail);
    EXPECT_EQ(std::filesystem::file_size(merged), kEmptyMergedFile.size() +
                                                      std::string("riesig.frm:\r\n").size() + head.size() +
                                                      kLine + tail.size() + 4);
}

} // namespace
