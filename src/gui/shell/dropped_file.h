#pragma once
// What a drag from a file manager carries, as the windows take it.

#include <QString>

class QMimeData;

namespace shell {

// The path of the one local file that `data` carries; empty text when it carries none, several, or
// something else (text, a remote address).
QString DroppedFile(const QMimeData* data);

// True for a project file's name: it ends with ".vbp" in any letter case.
bool IsProjectFileName(const QString& path);

} // namespace shell
