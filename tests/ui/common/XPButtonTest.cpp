#include "ui/common/XPButton.h"
#include "ui/common/Glyphs.h"

#include <QAccessible>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

QImage TwoColourPicture()
{
    // Left half a colour, right half the key colour, which also fills the corner.
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(QColor(255, 0, 255));
    QPainter(&image).fillRect(0, 0, 8, 16, QColor(10, 20, 31));
    return image;
}

TEST(XPButtonTest, GreyCopyAveragesRoundsHalvesAndLiftsBy96)
{
    QImage image(3, 1, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(10, 20, 31)); // mean 20.33 -> 20, /2 = 10, +96 = 106
    image.setPixel(1, 0, qRgb(0, 0, 2)); // mean 0.67 -> 1, /2 = 0, +96 = 96
    image.setPixel(2, 0, qRgb(255, 255, 255)); // 255 /2 = 127, +96 = 223
    const QImage grey = TXPButton::MakeGreyCopy(image);
    EXPECT_EQ(grey.pixel(0, 0), qRgb(106, 106, 106));
    EXPECT_EQ(grey.pixel(1, 0), qRgb(96, 96, 96));
    EXPECT_EQ(grey.pixel(2, 0), qRgb(223, 223, 223));
}

TEST(XPButtonTest, DisabledButtonShowsTheGreyCopyWithTheCornerColourTransparent)
{
    TXPButton button;
    button.resize(25, 25);
    button.SetCaption2(QStringLiteral("--"));
    button.SetPicture(TwoColourPicture());
    button.SetImage();

    QImage shown = button.ShownPicture().toImage();
    EXPECT_EQ(QColor(shown.pixel(2, 2)), QColor(10, 20, 31));
    EXPECT_EQ(qAlpha(shown.pixel(15, 15)), 0);

    button.setEnabled(false);
    shown = button.ShownPicture().toImage();
    EXPECT_EQ(QColor(shown.pixel(2, 2)), QColor(106, 106, 106));
    EXPECT_EQ(qAlpha(shown.pixel(15, 15)), 0);
    // With a picture the short caption is no text on the face, but it names the button.
    EXPECT_TRUE(button.text().isEmpty());
    EXPECT_EQ(button.accessibleName(), QStringLiteral("--"));
}

TEST(XPButtonTest, WithoutAPictureTheSecondCaptionIsShown)
{
    TXPButton button;
    button.SetCaption2(QStringLiteral("++"));
    button.SetImage();
    EXPECT_EQ(button.text(), QStringLiteral("++"));
    EXPECT_TRUE(button.ShownPicture().isNull());
}

TEST(XPButtonTest, MarginMinusOneIsComputedOnceAndAPresetMarginIsKept)
{
    TXPButton computed;
    computed.resize(25, 25);
    computed.SetPicture(PaintNavigationGlyph(NavigationGlyph::JumpLeft));
    computed.SetImage();
    EXPECT_EQ(computed.Margin(), (25 - 0 - 16 - 5) / 2);
    computed.resize(65, 25);
    computed.SetImage();
    EXPECT_EQ(computed.Margin(), 2) << "computed only once";

    TXPButton preset;
    preset.resize(65, 25);
    preset.SetMargin(7);
    preset.SetPicture(PaintNavigationGlyph(NavigationGlyph::JumpLeft));
    preset.SetImage();
    EXPECT_EQ(preset.Margin(), 7);
}

TEST(XPButtonTest, PictureIsDrawnAtItsMarginOnTheFace)
{
    TXPButton button;
    button.resize(40, 25);
    button.SetMargin(10);
    button.SetPicture(TwoColourPicture());
    button.SetImage();
    const QImage face = button.grab().toImage();
    // Column 12 lies inside the coloured half of a picture starting at x = 10.
    EXPECT_EQ(QColor(face.pixel(12, 12)), QColor(10, 20, 31));
    EXPECT_NE(QColor(face.pixel(5, 12)), QColor(10, 20, 31));
}

} // namespace
