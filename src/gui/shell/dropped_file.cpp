#include "gui/shell/dropped_file.h"

#include <QMimeData>
#include <QUrl>

namespace shell {

QString DroppedFile(const QMimeData* data) {
    if (!data || !data->hasUrls())
        return {};
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.constFirst().isLocalFile())
        return {};
    return urls.constFirst().toLocalFile();
}

bool IsProjectFileName(const QString& path) {
    return path.endsWith(QLatin1String(".vbp"), Qt::CaseInsensitive);
}

} // namespace shell
