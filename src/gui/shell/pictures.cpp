#include "gui/shell/pictures.h"

#include <QPixmap>
#include <QString>

// The pictures live in vbshell, a static library: nothing else refers to its resource data, so the linker
// would drop it unless it is registered explicitly. Registering twice is harmless.
static void RegisterPictures() {
    Q_INIT_RESOURCE(shell_pictures);
}

namespace shell {

namespace {

QPixmap Picture(const char* name) {
    RegisterPictures();
    return QPixmap(QStringLiteral(":/shell/pictures/%1.png").arg(QLatin1String(name)));
}

// Where the fingertip of hand.svg points.
constexpr int kHandHotX = 10;
constexpr int kHandHotY = 1;

} // namespace

QIcon EndPicture() {
    return QIcon(Picture("end"));
}

QIcon InfoPicture() {
    return QIcon(Picture("info"));
}

QCursor HandPointer() {
    return QCursor(Picture("hand"), kHandHotX, kHandHotY);
}

QIcon ProgramIcon(Program program) {
    switch (program) {
    case Program::Counter:
        return QIcon(Picture("counter"));
    case Program::Merger:
        return QIcon(Picture("merger"));
    case Program::Info:
        break;
    }
    return QIcon(Picture("info-window"));
}

} // namespace shell
