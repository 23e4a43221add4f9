#include "core/base/LanguageTable.h"

#include "core/base/LanguageTexts.h"

namespace {

TextArray currentArray = TextArray::German;

} // namespace

const std::string& TextIn(TextArray array, TextId id)
{
    return LanguageTexts()[static_cast<int>(array)][static_cast<int>(id)];
}

const std::string& Text(TextId id)
{
    return TextIn(currentArray, id);
}

bool MatchesAnyLanguage(std::string_view text, TextId id)
{
    for (int a = 0; a < TextArrayCount; ++a) {
        if (TextIn(static_cast<TextArray>(a), id) == text)
            return true;
    }
    return false;
}

TextArray TextArrayForCode(int code)
{
    switch (code) {
    case 2:
    case 7:
        return TextArray::EnglishGB;
    case 3:
        return TextArray::French;
    case 4:
        return TextArray::Spanish;
    case 5:
        return TextArray::Italian;
    case 6:
        return TextArray::Portuguese;
    default:
        return TextArray::German;
    }
}

void SelectLanguage(int code)
{
    currentArray = TextArrayForCode(code);
}

TextArray CurrentTextArray()
{
    return currentArray;
}
