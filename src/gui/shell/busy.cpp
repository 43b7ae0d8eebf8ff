#include "gui/shell/busy.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>

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

void BusyIndication::begin(const QString& status, std::optional<int> maximum) const {
    SetHourglass();
    if (maximum)
        PB->setMaximum(*maximum);
    lblAktion->setText(status);
    EventPass();
}

void BusyIndication::end() const {
    lblAktion->setText(QString());
    PB->setValue(0);
    SetNormalPointer();
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
