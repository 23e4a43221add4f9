#pragma once
// How the settings tree paints a node: its text on white (or the highlight when it is the
// selection) and, beside a measured value, a swatch in the value's colour near the right
// edge of the tree.

#include <QStyledItemDelegate>

class TSettingsTreeDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // Rows tall enough for a swatch that can be told apart.
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
        const QModelIndex& index) const override;

    // Where the swatch of a value node goes: from the larger of (text right + 1) and
    // (tree width − 60) to tree width − 25, 5 pixels inside the row's top and bottom.
    static QRect SwatchRect(const QRect& textRect, int treeWidth);
};
