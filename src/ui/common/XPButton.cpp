#include "ui/common/XPButton.h"

#include <QBitmap>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace {

// Pixels of the bottom-right pixel's colour are transparent.
QPixmap MaskedByCorner(const QImage& image)
{
    QPixmap pixmap = QPixmap::fromImage(image);
    const QRgb key = image.pixel(image.width() - 1, image.height() - 1);
    pixmap.setMask(QBitmap::fromImage(
        image.createMaskFromColor(key, Qt::MaskInColor).convertToFormat(QImage::Format_Mono)));
    return pixmap;
}

} // namespace

TXPButton::TXPButton(QWidget* parent)
    : QPushButton(parent)
{
    resize(65, 25);
}

void TXPButton::SetCaption2(const QString& text)
{
    caption2 = text;
    setAccessibleName(text);
}

QImage TXPButton::MakeGreyCopy(const QImage& source)
{
    QImage grey = source.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < grey.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(grey.scanLine(y));
        for (int x = 0; x < grey.width(); ++x) {
            const int sum = qRed(line[x]) + qGreen(line[x]) + qBlue(line[x]);
            const int mean = (sum + 1) / 3; // rounded
            const int level = mean / 2 + 96;
            line[x] = qRgb(level, level, level);
        }
    }
    return grey;
}

void TXPButton::SetImage()
{
    if (picture.isNull()) {
        normalPixmap = disabledPixmap = QPixmap();
        greyPicture = QImage();
        setText(caption2);
        update();
        return;
    }
    greyPicture = MakeGreyCopy(picture);
    normalPixmap = MaskedByCorner(picture.convertToFormat(QImage::Format_RGB32));
    disabledPixmap = MaskedByCorner(greyPicture);
    if (margin == -1) {
        const int textWidth = fontMetrics().horizontalAdvance(text());
        margin = (contentsRect().width() - textWidth - picture.width() - 5) / 2;
    }
    update();
}

QPixmap TXPButton::ShownPicture() const
{
    return isEnabled() ? normalPixmap : disabledPixmap;
}

QRect TXPButton::PictureRect() const
{
    const QSize size = normalPixmap.size();
    const QRect area = rect();
    const int centredX = (area.width() - size.width()) / 2;
    const int centredY = (area.height() - size.height()) / 2;
    switch (alignment) {
    case TXPButtAlignment::Left:
        return QRect(QPoint(margin, centredY), size);
    case TXPButtAlignment::Right:
        return QRect(QPoint(area.width() - margin - size.width(), centredY), size);
    case TXPButtAlignment::Top:
        return QRect(QPoint(centredX, margin), size);
    case TXPButtAlignment::Bottom:
        return QRect(QPoint(centredX, area.height() - margin - size.height()), size);
    case TXPButtAlignment::Center:
        break;
    }
    return QRect(QPoint(centredX, centredY), size);
}

void TXPButton::paintEvent(QPaintEvent* event)
{
    if (normalPixmap.isNull()) {
        QPushButton::paintEvent(event);
        return;
    }
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.icon = QIcon();
    painter.drawControl(QStyle::CE_PushButtonBevel, option);
    QRect target = PictureRect();
    if (isDown())
        target.translate(1, 1);
    painter.drawPixmap(target, ShownPicture());
    if (!text().isEmpty()) {
        // Beside a picture on the left the text takes the rest; otherwise it is centred.
        if (alignment == TXPButtAlignment::Left)
            option.rect.setLeft(target.right() + 5);
        painter.drawControl(QStyle::CE_PushButtonLabel, option);
    }
}
