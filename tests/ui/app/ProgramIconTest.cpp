// The program's own icon on its windows: the sun over the horizon in every size.
#include "support/GuiTestHelpers.h"
#include "ui/app/Mainform.h"
#include "ui/app/ProgramIdentity.h"

#include <QImage>

#include <gtest/gtest.h>

TEST(ProgramIconTest, TheMainWindowShowsTheSunOverTheHorizonInEverySize)
{
    TemporarySettingsLocation location;
    TMainform form;
    const QIcon icon = form.windowIcon();
    ASSERT_FALSE(icon.isNull());
    for (int size : {16, 32, 48, 64, 128, 256})
        EXPECT_TRUE(icon.availableSizes().contains(QSize(size, size))) << size;
    const QImage picture = icon.pixmap(QSize(256, 256)).toImage();
    // Yellow sun above, green land below.
    const QColor sun = picture.pixelColor(128, 140);
    EXPECT_GT(sun.red(), 200);
    EXPECT_GT(sun.green(), 150);
    EXPECT_LT(sun.blue(), 150);
    const QColor land = picture.pixelColor(128, 220);
    EXPECT_GT(land.green(), land.red());
    EXPECT_GT(land.green(), land.blue());
}
