#include "gui/shell/busy.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>

namespace shell {

void SetHourglass() {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

void SetNormalPointer() {
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
}

void EventPass() {
    QCoreApplication::processEvents();
}

PointerSuspension::PointerSuspension() {
    while (QGuiApplication::overrideCursor()) {
        QGuiApplication::restoreOverrideCursor();
        ++suspended_;
    }
}

PointerSuspension::~PointerSuspension() {
    for (int i = 0; i < suspended_; ++i)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

} // namespace shell
