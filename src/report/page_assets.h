#pragma once
// The style sheet and the script that every report page carries inside itself.

namespace report {

// Light and dark colours (prefers-color-scheme), the charts' colours, tables, and the print on A4.
extern const char* const kPageStyle;

// Makes the tables whose class is "sortierbar" sortable by a click on a column head; the page is
// complete without it.
extern const char* const kPageScript;

} // namespace report
