#include "gui/merger/frm_haupt.h"
#include "gui/shell/start.h"

int main(int argc, char** argv) {
    return shell::RunProgram(
        argc, argv, {QStringLiteral("vuzaraze"), QStringLiteral(PROGRAM_VERSION), QStringLiteral("Fugabar")},
        [](shell::Desktop& desktop) { return std::make_unique<merger::frmHaupt>(desktop); });
}
