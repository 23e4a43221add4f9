#pragma once
// Qt's own texts (the buttons of message boxes, the file, colour and print dialogs) in the
// program's language, from the Qt translations installed on the system. Where none is
// installed for a language, Qt's texts stay English.

#include "core/base/LanguageTable.h"

void ApplyQtTexts(TextArray language);
