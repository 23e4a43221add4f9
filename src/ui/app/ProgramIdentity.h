#pragma once
// The program's fixed name and version, and the maker's contact block.

#include "core/base/ProgramVersion.h"

#include <QIcon>
#include <QString>

inline const QString ProgramTitle = QStringLiteral("Velmora Kalvex 2");
inline const QString ProgramVersion = QString::fromUtf8(ProgramVersionText());

inline const QString MakerPostalAddress
    = QStringLiteral("Velmora GmbH\nAm Sonnenhang 14\n79108 Freiburg");
inline const QString MakerMailAddress = QStringLiteral("support@velmora.example");
inline const QString MakerWebAddress = QStringLiteral("https://www.velmora.example/kalvex");

// The desktop entry's name, which is also the icon's name.
inline const QString ProgramDesktopId = QStringLiteral("example.velmora.kalvex");

// The sun over the horizon, in the sizes window managers and task bars pick from.
QIcon ProgramIcon();
