#pragma once
// The desktop's own file dialog where the desktop offers one through the XDG desktop portal (GNOME, Xfce,
// ... with xdg-desktop-portal and a backend that serves file choosers): Qt shows it when its portal
// platform theme is loaded, which happens by itself only in sandboxes. Chosen before the application
// object exists, and only when the user has chosen no platform theme, Qt's portal theme is installed
// (Debian package qt6-xdgdesktopportal-platformtheme), and the desktop is not KDE Plasma, whose own Qt
// integration already shows its dialog. Everywhere else Qt's own dialog stays (see file_dialog.h).

#include <string>

namespace shell {

// True when a portal backend in `portalsFolder` (files NAME.portal) serves file choosers and names
// `currentDesktop` (XDG_CURRENT_DESKTOP: names separated by ":", letter case aside) in its UseIn line.
bool DesktopOffersFileChooserPortal(const std::string& currentDesktop, const std::string& portalsFolder);

// Sets QT_QPA_PLATFORMTHEME to Qt's portal theme when the rules above say so. Call before QApplication.
void PreferDesktopFileDialog();

} // namespace shell
