#include "gui/shell/desktop_file_dialog.h"

#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QSettings>

#include <cstdlib>

namespace shell {

namespace {

QStringList ListOf(const QVariant& value) {
    // QSettings splits a value at commas, not at semicolons: take both.
    QStringList items;
    for (const QString& part : value.toStringList())
        for (const QString& item : part.split(QLatin1Char(';'), Qt::SkipEmptyParts))
            items << item.trimmed();
    return items;
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

} // namespace

bool DesktopOffersFileChooserPortal(const std::string& currentDesktop, const std::string& portalsFolder) {
    const QStringList desktops =
        QString::fromStdString(currentDesktop).toLower().split(QLatin1Char(':'), Qt::SkipEmptyParts);
    if (desktops.isEmpty())
        return false;
    const QDir folder(QString::fromStdString(portalsFolder));
    for (const QFileInfo& file : folder.entryInfoList({QStringLiteral("*.portal")}, QDir::Files)) {
        QSettings portal(file.filePath(), QSettings::IniFormat);
        portal.beginGroup(QStringLiteral("portal"));
        if (!ListOf(portal.value(QStringLiteral("Interfaces")))
                 .contains(QStringLiteral("org.freedesktop.impl.portal.FileChooser")))
            continue;
        for (const QString& useIn : ListOf(portal.value(QStringLiteral("UseIn"))))
            if (desktops.contains(useIn.toLower()))
                return true;
    }
    return false;
}

void PreferDesktopFileDialog() {
    if (!Environment("QT_QPA_PLATFORMTHEME").empty())
        return;
    const std::string desktop = Environment("XDG_CURRENT_DESKTOP");
    if (QString::fromStdString(desktop).contains(QLatin1String("KDE"), Qt::CaseInsensitive))
        return;
    const QString plugin = QLibraryInfo::path(QLibraryInfo::PluginsPath) +
                           QStringLiteral("/platformthemes/libqxdgdesktopportal.so");
    if (!QFileInfo::exists(plugin) ||
        !DesktopOffersFileChooserPortal(desktop, "/usr/share/xdg-desktop-portal/portals"))
        return;
    setenv("QT_QPA_PLATFORMTHEME", "xdgdesktopportal", 0);
}

} // namespace shell
