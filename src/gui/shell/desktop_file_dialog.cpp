#include "gui/shell/desktop_file_dialog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>

#include <cstdlib>

namespace shell {

namespace {

// The values of `key` in the [portal] group of a portal file: a list separated by ";".
QStringList PortalList(const QString& path, const QString& key) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    bool inPortal = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('[')))
            inPortal = line == QLatin1String("[portal]");
        else if (inPortal && line.startsWith(key + QLatin1Char('=')))
            return line.mid(key.size() + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    }
    return {};
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
        if (!PortalList(file.filePath(), QStringLiteral("Interfaces"))
                 .contains(QStringLiteral("org.freedesktop.impl.portal.FileChooser")))
            continue;
        for (const QString& useIn : PortalList(file.filePath(), QStringLiteral("UseIn")))
            if (desktops.contains(useIn.trimmed().toLower()))
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
