#include "ui/common/Glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace {

const QColor Ink(45, 62, 80);
const QColor Accent(232, 150, 30);
const QColor NavigationKey(255, 0, 255);

QPixmap TransparentPixmap(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// Flags fill an 18 × 12 field in the middle of the glyph, with a thin dark frame.
constexpr QRectF FlagField(1, 4, 18, 12);

void FillBands(QPainter& p, Qt::Orientation orientation, std::initializer_list<QColor> colours,
    std::initializer_list<double> weights)
{
    double total = 0;
    for (double w : weights)
        total += w;
    double start = 0;
    auto weight = weights.begin();
    for (const QColor& colour : colours) {
        const double share = *weight++ / total;
        QRectF band = FlagField;
        if (orientation == Qt::Horizontal) {
            band.setTop(FlagField.top() + start * FlagField.height());
            band.setHeight(share * FlagField.height());
        } else {
            band.setLeft(FlagField.left() + start * FlagField.width());
            band.setWidth(share * FlagField.width());
        }
        p.fillRect(band, colour);
        start += share;
    }
}

void PaintUnionFlag(QPainter& p)
{
    p.fillRect(FlagField, QColor(1, 33, 105));
    p.save();
    p.setClipRect(FlagField);
    p.setPen(QPen(Qt::white, 3));
    p.drawLine(FlagField.topLeft(), FlagField.bottomRight());
    p.drawLine(FlagField.bottomLeft(), FlagField.topRight());
    p.setPen(QPen(QColor(200, 16, 46), 1));
    p.drawLine(FlagField.topLeft(), FlagField.bottomRight());
    p.drawLine(FlagField.bottomLeft(), FlagField.topRight());
    const QPointF centre = FlagField.center();
    p.fillRect(QRectF(centre.x() - 2.5, FlagField.top(), 5, FlagField.height()), Qt::white);
    p.fillRect(QRectF(FlagField.left(), centre.y() - 2.5, FlagField.width(), 5), Qt::white);
    p.fillRect(
        QRectF(centre.x() - 1.5, FlagField.top(), 3, FlagField.height()), QColor(200, 16, 46));
    p.fillRect(
        QRectF(FlagField.left(), centre.y() - 1.5, FlagField.width(), 3), QColor(200, 16, 46));
    p.restore();
}

void PaintStarsAndStripes(QPainter& p)
{
    const double stripe = FlagField.height() / 7.0;
    for (int i = 0; i < 7; ++i)
        p.fillRect(
            QRectF(FlagField.left(), FlagField.top() + i * stripe, FlagField.width(), stripe),
            i % 2 == 0 ? QColor(178, 34, 52) : Qt::white);
    const QRectF canton(FlagField.left(), FlagField.top(), 8, 4 * stripe);
    p.fillRect(canton, QColor(60, 59, 110));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 3; ++col)
            p.drawEllipse(
                QPointF(canton.left() + 1.5 + col * 2.5, canton.top() + 1.6 + row * 3.2), 0.6, 0.6);
}

void PaintPortugueseFlag(QPainter& p)
{
    FillBands(p, Qt::Vertical, {QColor(0, 102, 0), QColor(255, 0, 0)}, {2, 3});
    p.setPen(QPen(QColor(255, 204, 0), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(
        QPointF(FlagField.left() + FlagField.width() * 0.4, FlagField.center().y()), 3, 3);
}

void PaintFlag(QPainter& p, ToolGlyph glyph)
{
    switch (glyph) {
    case ToolGlyph::FlagGerman:
        FillBands(
            p, Qt::Horizontal, {Qt::black, QColor(221, 0, 0), QColor(255, 206, 0)}, {1, 1, 1});
        break;
    case ToolGlyph::FlagEnglish:
        PaintUnionFlag(p);
        break;
    case ToolGlyph::FlagFrench:
        FillBands(p, Qt::Vertical, {QColor(0, 35, 149), Qt::white, QColor(237, 41, 57)}, {1, 1, 1});
        break;
    case ToolGlyph::FlagSpanish:
        FillBands(p, Qt::Horizontal,
            {QColor(170, 21, 27), QColor(241, 191, 0), QColor(170, 21, 27)}, {1, 2, 1});
        break;
    case ToolGlyph::FlagItalian:
        FillBands(p, Qt::Vertical, {QColor(0, 140, 69), Qt::white, QColor(205, 33, 42)}, {1, 1, 1});
        break;
    case ToolGlyph::FlagPortuguese:
        PaintPortugueseFlag(p);
        break;
    case ToolGlyph::FlagAmerican:
        PaintStarsAndStripes(p);
        break;
    default:
        return;
    }
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(FlagField.adjusted(0, 0, -1, -1));
}

void PaintFolder(QPainter& p)
{
    QPainterPath back;
    back.moveTo(2, 5);
    back.lineTo(8, 5);
    back.lineTo(10, 7);
    back.lineTo(17, 7);
    back.lineTo(17, 16);
    back.lineTo(2, 16);
    back.closeSubpath();
    p.setPen(QPen(Ink, 1));
    p.setBrush(QColor(240, 200, 90));
    p.drawPath(back);
    p.setBrush(QColor(250, 220, 120));
    p.drawPolygon(QPolygonF({QPointF(2, 16), QPointF(5, 9), QPointF(19, 9), QPointF(17, 16)}));
}

void PaintDisk(QPainter& p)
{
    p.setPen(QPen(Ink, 1));
    p.setBrush(QColor(70, 110, 170));
    p.drawRoundedRect(QRectF(3, 3, 14, 14), 1.5, 1.5);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(6, 3, 8, 5));
    p.setBrush(QColor(200, 205, 210));
    p.drawRect(QRectF(5, 11, 10, 6));
}

void PaintPrinter(QPainter& p)
{
    p.setPen(QPen(Ink, 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(6, 2, 8, 6));
    p.setBrush(QColor(160, 170, 180));
    p.drawRoundedRect(QRectF(2, 8, 16, 7), 1.5, 1.5);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(6, 13, 8, 5));
    p.setBrush(Accent);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(15, 10.5), 1, 1);
}

void PaintInfo(QPainter& p)
{
    p.setPen(QPen(Ink, 1));
    p.setBrush(QColor(40, 110, 200));
    p.drawEllipse(QRectF(2, 2, 16, 16));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(10, 6), 1.4, 1.4);
    p.drawRect(QRectF(8.8, 8.5, 2.4, 6.5));
}

void PaintChartGlyph(QPainter& p)
{
    p.setPen(QPen(Ink, 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(2, 3, 16, 14));
    p.setPen(QPen(QColor(220, 60, 40), 1.5));
    p.drawPolyline(QPolygonF({QPointF(3, 14), QPointF(7, 9), QPointF(11, 11), QPointF(17, 5)}));
    p.setPen(QPen(QColor(40, 110, 200), 1.5));
    p.drawPolyline(QPolygonF({QPointF(3, 12), QPointF(8, 13), QPointF(12, 7), QPointF(17, 9)}));
}

void PaintListGlyph(QPainter& p)
{
    p.setPen(QPen(Ink, 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(2, 3, 16, 14));
    p.fillRect(QRectF(2.5, 3.5, 15, 3), QColor(190, 205, 225));
    for (double y : {6.5, 10.0, 13.5})
        p.drawLine(QPointF(2, y), QPointF(18, y));
    p.drawLine(QPointF(8, 3), QPointF(8, 17));
}

} // namespace

QPixmap PaintToolGlyph(ToolGlyph glyph)
{
    QPixmap pixmap = TransparentPixmap(ToolGlyphSize);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (glyph) {
    case ToolGlyph::Open:
        PaintFolder(p);
        break;
    case ToolGlyph::Save:
        PaintDisk(p);
        break;
    case ToolGlyph::Print:
        PaintPrinter(p);
        break;
    case ToolGlyph::About:
        PaintInfo(p);
        break;
    case ToolGlyph::Chart:
        PaintChartGlyph(p);
        break;
    case ToolGlyph::List:
        PaintListGlyph(p);
        break;
    default:
        PaintFlag(p, glyph);
        break;
    }
    return pixmap;
}

QImage PaintNavigationGlyph(NavigationGlyph glyph)
{
    QImage image(NavigationGlyphSize, NavigationGlyphSize, QImage::Format_RGB32);
    image.fill(NavigationKey);
    QPainter p(&image);
    p.setPen(Qt::NoPen);
    p.setBrush(Ink);
    const bool left = glyph == NavigationGlyph::JumpLeft || glyph == NavigationGlyph::ScrollLeft;
    const bool jump = glyph == NavigationGlyph::JumpLeft || glyph == NavigationGlyph::JumpRight;
    const int arrows = jump ? 2 : 1;
    const double width = 5;
    const double start = (NavigationGlyphSize - arrows * width) / 2;
    for (int i = 0; i < arrows; ++i) {
        const double x0 = start + i * width;
        const double tip = left ? x0 : x0 + width;
        const double base = left ? x0 + width : x0;
        p.drawPolygon(QPolygonF({QPointF(tip, 8), QPointF(base, 3), QPointF(base, 13)}));
    }
    return image;
}

QPixmap PaintMakerLogo(int width, int height)
{
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    // A rising sun over a horizon, then the maker's name.
    const double sun = height * 0.8;
    const QRectF sunBox(2, (height - sun) / 2, sun, sun);
    p.setPen(Qt::NoPen);
    p.setBrush(Accent);
    p.drawPie(sunBox, 0, 180 * 16);
    p.setPen(QPen(Accent, 1.5));
    const QPointF centre(sunBox.center().x(), sunBox.center().y());
    for (int ray = 1; ray < 6; ++ray) {
        const QLineF outer = QLineF::fromPolar(sun * 0.62, ray * 30.0);
        const QLineF inner = QLineF::fromPolar(sun * 0.5, ray * 30.0);
        p.drawLine(centre + inner.p2(), centre + outer.p2());
    }
    p.setPen(QPen(Ink, 2));
    p.drawLine(QPointF(0, centre.y() + 1), QPointF(sunBox.right() + 2, centre.y() + 1));
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setPixelSize(qMax(8, int(height * 0.55)));
    p.setFont(font);
    p.setPen(Ink);
    const QRectF textBox(sunBox.right() + 4, 0, width - sunBox.right() - 4, height);
    p.drawText(textBox, Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Velmora"));
    return pixmap;
}
