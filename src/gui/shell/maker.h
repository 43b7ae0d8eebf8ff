#pragma once
// The maker's notices and addresses as the Info dialog shows them; all in one place. The texts are UTF-8.

namespace shell::maker {

inline constexpr char kCopyright[] = "© 2026 Das vbtools-Team";
inline constexpr char kName[] = "Das vbtools-Team";
// The postal address lines below the name. There is no postal address of its own; these are the usual
// German placeholder lines, like example.org for the addresses.
inline constexpr char kStreet[] = "Musterstraße 1";
inline constexpr char kTown[] = "12345 Musterstadt";
inline constexpr char kWebAddress[] = "https://www.example.org/vbtools";
inline constexpr char kMailAddress[] = "vbtools@example.org";
inline constexpr char kFreeware[] = "Tallimar und Fugabar sind Freeware. Beide Programme dürfen kostenlos "
                                    "benutzt, kopiert und unverändert weitergegeben werden.";
inline constexpr char kTrademarks[] = "Alle genannten Marken gehören ihren Inhabern. Die Benutzung geschieht "
                                      "auf eigene Gefahr; für Schäden wird keine Haftung übernommen.";

} // namespace shell::maker
