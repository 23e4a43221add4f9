#pragma once
// Failures travel as exceptions carrying a text of the language table, sometimes
// with a file name appended; whoever can go on catches them.

#include "core/base/LanguageTable.h"

#include <stdexcept>
#include <string>

class KalvexError : public std::runtime_error {
public:
    explicit KalvexError(const std::string& message);
};

// Raises the entry of the current language, followed by an optional suffix.
[[noreturn]] void Fail(TextId id, const std::string& suffix = {});
