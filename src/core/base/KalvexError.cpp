#include "core/base/KalvexError.h"

KalvexError::KalvexError(const std::string& message)
    : std::runtime_error(message)
{
}

void Fail(TextId id, const std::string& suffix)
{
    throw KalvexError(Text(id) + suffix);
}
