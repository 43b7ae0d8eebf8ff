#pragma once
// Small projects written with explicit bytes into a fresh folder.

#include "member_texts.h"
#include "temp_dir.h"

#include <string>
#include <string_view>

namespace clitest {

using vbtest::FormFile;

// A project folder "projekt" with the project file "P.vbp" inside a fresh temporary folder.
struct TempProject {
    vbtest::TempDir dir;
    std::string projectLines;

    // Adds a form line for `entry` and its file ("\" in the entry becomes a sub-folder).
    void addForm(const std::string& entry, std::string_view bytes) {
        addMissingForm(entry);
        std::string onDisk = entry;
        for (char& ch : onDisk)
            if (ch == '\\')
                ch = '/';
        dir.write("projekt/" + onDisk, bytes);
    }
    // Adds a form line whose file does not exist.
    void addMissingForm(const std::string& entry) { projectLines += "Form=" + entry + "\r\n"; }
    void addModule(const std::string& entry, std::string_view bytes) {
        projectLines += "Module=M; " + entry + "\r\n";
        dir.write("projekt/" + entry, bytes);
    }
    // Writes the project file and returns its path.
    std::string write() const { return dir.write("projekt/P.vbp", "Type=Exe\r\n" + projectLines); }
    std::string folder() const { return dir.file("projekt"); }
};

} // namespace clitest
