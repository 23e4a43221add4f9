// The derived values' part of the settings file.
#include "core/settings/IniFile.h"
#include "core/settings/IniSettings.h"

TDerivedValues TIniSettings::GetDerivedValues(const std::string& prefix) const
{
    const std::lock_guard guard(fileLock);
    return file ? ReadDerivedValues(file->Current(), prefix) : TDerivedValues();
}

void TIniSettings::SetDerivedValues(const std::string& prefix, const TDerivedValues& values)
{
    const std::lock_guard guard(fileLock);
    if (file)
        file->Update([&](TIniDocument& ini) { WriteDerivedValues(ini, prefix, values); });
}
