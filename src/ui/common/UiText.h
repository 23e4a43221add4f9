#pragma once
// Language-table texts as Qt strings for the user interface.

#include "core/base/LanguageTable.h"

#include <QString>

inline QString UiText(TextId id)
{
    return QString::fromStdString(Text(id));
}
