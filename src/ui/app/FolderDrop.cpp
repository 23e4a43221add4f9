#include "ui/app/FolderDrop.h"

#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

QString DroppedFolder(const QMimeData* data)
{
    if (!data || !data->hasUrls() || data->urls().size() != 1)
        return {};
    const QUrl url = data->urls().constFirst();
    if (!url.isLocalFile())
        return {};
    const QFileInfo dropped(url.toLocalFile());
    if (dropped.isDir())
        return dropped.absoluteFilePath();
    if (dropped.isFile())
        return dropped.absolutePath();
    return {};
}
