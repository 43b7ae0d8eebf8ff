#include "gui/counter/frm_haupt.h"
#include "gui/shell/start.h"

int main(int argc, char** argv) {
    return shell::RunProgram(
        argc, argv, {QStringLiteral("voduvov"), QStringLiteral(PROGRAM_VERSION), QStringLiteral("Tallimar")},
        [](shell::Desktop& desktop) { return std::make_unique<counter::frmHaupt>(desktop); });
}
