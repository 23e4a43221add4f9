#pragma once
// The colour chooser of the settings dialog, and colour values (red + 256 × green +
// 65536 × blue) as Qt colours.

#include "core/settings/DeviceSettings.h"

#include <QColor>

#include <optional>

class QWidget;

QColor ToQColor(TColor color);
TColor ToTColor(const QColor& color);

// Opens the colour chooser, owned by the owner and centred on the screen, preset to the
// colour; its sixteen custom colours are the colour followed by entries 0 to 14 of the
// default palette. Returns the confirmed colour, nothing when the user cancels.
std::optional<TColor> PickColor(QWidget* owner, TColor color);
