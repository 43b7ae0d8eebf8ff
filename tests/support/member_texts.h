#pragma once
// Member files and merged files that several tests write or expect, with explicit bytes.

#include <initializer_list>
#include <string>
#include <string_view>

namespace vbtest {

// A form file that declares itself and one label per name in `labels`, its attribute block as VB writes
// it, then "Option Explicit"; every line ends in `lineEnd` (CR LF as VB saves it, LF as git checks it out).
inline std::string FormFile(std::string_view formName, std::initializer_list<std::string_view> labels,
                            std::string_view lineEnd = "\r\n") {
    std::string text;
    const auto line = [&](std::string_view a, std::string_view b = {}, std::string_view c = {}) {
        ((text += a) += b) += c;
        text += lineEnd;
    };
    line("VERSION 5.00");
    line("Begin VB.Form ", formName, " ");
    for (const std::string_view label : labels) {
        line("   Begin VB.Label ", label);
        line("   End");
    }
    line("End");
    line("Attribute VB_Name = \"", formName, "\"");
    for (const std::string_view attribute : {"VB_GlobalNameSpace = False", "VB_Creatable = False",
                                             "VB_PredeclaredId = True", "VB_Exposed = False"})
        line("Attribute ", attribute);
    line("Option Explicit");
    return text;
}

// The attribute block that VB writes after the object description of the form frmHaupt, CR LF.
inline constexpr std::string_view kFrmHauptAttributes = "Attribute VB_Name = \"frmHaupt\"\r\n"
                                                        "Attribute VB_GlobalNameSpace = False\r\n"
                                                        "Attribute VB_Creatable = False\r\n"
                                                        "Attribute VB_PredeclaredId = True\r\n"
                                                        "Attribute VB_Exposed = False\r\n";

// The merged file of a project without members: the five headings and their gaps.
inline constexpr std::string_view kEmptyMergedFile =
    "FORMULARE:\r\n\r\n\r\nMODULE:\r\n\r\n\r\nKLASSENMODULE:\r\n\r\n\r\n"
    "BENUTZERSTEUERELEMENTE:\r\n\r\n\r\nEIGENSCHAFTENSEITEN:\r\n";

} // namespace vbtest
