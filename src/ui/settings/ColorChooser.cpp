#include "ui/settings/ColorChooser.h"

#include "ui/common/CenterDialogHook.h"

#include <QColorDialog>

QColor ToQColor(TColor color)
{
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

TColor ToTColor(const QColor& color)
{
    return TColor(color.red()) + 256u * TColor(color.green()) + 65536u * TColor(color.blue());
}

std::optional<TColor> PickColor(QWidget* owner, TColor color)
{
    QColorDialog::setCustomColor(0, ToQColor(color));
    for (int i = 0; i < 15; ++i)
        QColorDialog::setCustomColor(i + 1, ToQColor(DefaultPalette[i]));
    QColorDialog chooser(ToQColor(color), owner);
    // Qt's own chooser: it shows the custom colours, which a desktop's native one may not.
    chooser.setOption(QColorDialog::DontUseNativeDialog);
    InstallCenterDialogHook(chooser);
    if (chooser.exec() != QDialog::Accepted)
        return std::nullopt;
    return ToTColor(chooser.currentColor());
}
