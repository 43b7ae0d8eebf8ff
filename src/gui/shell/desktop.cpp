#include "gui/shell/desktop.h"

#include "errors/runtime_error.h"

#include <QFile>

namespace shell {

QString FatalErrorText(const vb::RuntimeError& error) {
    QString text = QStringLiteral("Laufzeitfehler '%1':\n\n%2")
                       .arg(error.number())
                       .arg(QString::fromStdString(error.description()));
    if (!error.path().empty())
        text += QStringLiteral("\n\n") + QFile::decodeName(QByteArray::fromStdString(error.path()));
    return text;
}

} // namespace shell
