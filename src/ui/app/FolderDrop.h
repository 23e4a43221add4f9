#pragma once
// What a drop from a file manager offers to "Open": a folder, or the folder of a dropped
// file (a log file stands for its folder). Anything else offers nothing.

#include <QString>

class QMimeData;

QString DroppedFolder(const QMimeData* data);
