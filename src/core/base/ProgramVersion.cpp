#include "core/base/ProgramVersion.h"

#include "KalvexVersion.h"

const char* ProgramVersionText()
{
    return KALVEX_VERSION_TEXT;
}
