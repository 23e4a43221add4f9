#pragma once
// The constant text data behind the language table, filled once on first use.

#include "core/base/LanguageTable.h"

#include <array>
#include <string>

using TextArrays = std::array<std::array<std::string, TextCount>, TextArrayCount>;

const TextArrays& LanguageTexts();
