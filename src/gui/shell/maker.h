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
// What the MIT licence in the repository's LICENSE allows, and that the programs come without warranty.
inline constexpr char kFreeware[] =
    "Tallimar und Fugabar sind freie Software unter der MIT-Lizenz: Sie dürfen "
    "kostenlos benutzt, kopiert, verändert und weitergegeben werden, wenn der "
    "Urheberrechts- und Lizenzhinweis beiliegt.";
inline constexpr char kTrademarks[] =
    "Alle genannten Marken gehören ihren Inhabern. Die Programme werden ohne "
    "Gewährleistung geliefert; für Schäden wird keine Haftung übernommen.";

} // namespace shell::maker
