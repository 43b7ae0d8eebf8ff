// The report command as a user calls it: the page's data are the commands' documents, and its output is
// a replaced file that is never one of the projects' own.

#include "run_program.h"
#include "temp_project.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace {

using clitest::RunVbprojekt;
using Json = nlohmann::ordered_json;

Json EmbeddedData(const std::string& page) {
    const std::string opening = "<script type=\"application/json\" id=\"vbprojekt-daten\">";
    const auto start = page.find(opening) + opening.size();
    return Json::parse(page.substr(start, page.find("</script>", start) - start));
}

TEST(Report, CarriesTheDocumentsOfTheCommandsAndGoesOnPastAMissingMember) {
    clitest::TempProject project;
    project.addForm("<Haupt>.frm", clitest::FormFile("Haupt", {"lblA", "lblB"}));
    project.addMissingForm("Fehlt.frm");
    const std::string vbp = project.write();
    const std::string output = project.dir.file("Bericht.html");
    const auto result = RunVbprojekt({"report", vbp, "--output", output});
    EXPECT_EQ(result.status, 1); // a member file is missing; the report names it
    EXPECT_NE(result.err.find("Fehlt.frm"), std::string::npos);
    const Json data = EmbeddedData(vbtest::ReadBytes(project.dir.file("Bericht.html")));
    for (const char* command : {"count", "lines", "types"})
        EXPECT_EQ(data[command], Json::parse(RunVbprojekt({command, "--json", "--keep-going", vbp}).out))
            << command;
    EXPECT_EQ(data["check"], Json::parse(RunVbprojekt({"check", "--json", vbp}).out));
}

TEST(Report, RefusesToReplaceAFileOfTheProjectsAndKeepsIt) {
    clitest::TempProject project;
    const std::string form = clitest::FormFile("Haupt", {"lblA"});
    project.addForm("Haupt.frm", form);
    const std::string vbp = project.write();
    const std::string before = vbtest::ReadBytes(project.dir.file("projekt/P.vbp"));
    // The project file itself, and a member file spelt another way.
    for (const std::string& output : {vbp, project.folder() + "/./Haupt.frm"}) {
        const auto result = RunVbprojekt({"report", project.dir.file("projekt"), "--output", output});
        EXPECT_EQ(result.status, 1) << output;
        EXPECT_NE(result.err.find("wird nicht überschrieben"), std::string::npos) << result.err;
    }
    EXPECT_EQ(vbtest::ReadBytes(project.dir.file("projekt/P.vbp")), before);
    EXPECT_EQ(vbtest::ReadBytes(project.dir.file("projekt/Haupt.frm")), form);
}

TEST(Report, WantsAnOutput) {
    const auto result = RunVbprojekt({"report", clitest::SampleProject()});
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find("--output"), std::string::npos);
}

} // namespace
