#include "ui/settings/SettingsTreeDelegate.h"

#include "core/settings/DeviceSettings.h"
#include "ui/settings/ColorChooser.h"
#include "ui/settings/SettingsTree.h"

#include <QAbstractItemView>
#include <QPainter>

#include <algorithm>

namespace {

// Leaves the swatch 8 pixels of height inside its 5-pixel margins.
constexpr int MinimumRowHeight = 18;

int LevelOf(QModelIndex index)
{
    int level = 0;
    for (index = index.parent(); index.isValid(); index = index.parent())
        ++level;
    return level;
}

} // namespace

QSize TSettingsTreeDelegate::sizeHint(
    const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(std::max(size.height(), MinimumRowHeight));
    return size;
}

QRect TSettingsTreeDelegate::SwatchRect(const QRect& textRect, int treeWidth)
{
    const int left = std::max(textRect.right() + 1, treeWidth - 60);
    const int right = treeWidth - 25;
    return QRect(QPoint(left, textRect.top() + 5), QPoint(right, textRect.bottom() - 5));
}

void TSettingsTreeDelegate::paint(
    QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QString text = index.data(Qt::DisplayRole).toString();
    const QFontMetrics metrics(option.font);
    QRect textRect(option.rect.topLeft(),
        QSize(std::min(metrics.horizontalAdvance(text) + 4, option.rect.width()),
            option.rect.height()));
    if (textRect.isEmpty())
        return;
    const bool selected = option.state & QStyle::State_Selected;
    painter->save();
    painter->fillRect(option.rect, Qt::white);
    painter->fillRect(textRect.adjusted(0, 0, -1, 0),
        selected ? option.palette.color(QPalette::Highlight) : QColor(Qt::white));
    painter->setFont(option.font);
    painter->setPen(selected ? option.palette.color(QPalette::HighlightedText)
                             : option.palette.color(QPalette::Text));
    painter->drawText(textRect.adjusted(2, 1, 0, 0), Qt::AlignLeft | Qt::AlignTop, text);

    const TDeviceSettings* device = DeviceOfNodeData(index);
    const int value = index.data(Qt::UserRole).toInt();
    if (LevelOf(index) == LevelValue && device && value >= 0 && value < device->ValueCount()) {
        const auto* view = qobject_cast<const QAbstractItemView*>(option.widget);
        const int treeWidth = view ? view->viewport()->width() : option.rect.right() + 1;
        const QRect swatch = SwatchRect(textRect, treeWidth);
        if (swatch.width() > 0) {
            painter->fillRect(swatch, ToQColor(device->GetColor(value)));
            painter->setPen(Qt::gray);
            painter->drawRect(swatch.adjusted(0, 0, -1, -1));
        }
    }
    painter->restore();
}
