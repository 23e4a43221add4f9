#include "SettingsDialogDriver.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

bool ClickNode(QTreeWidget& tree, QTreeWidgetItem* node)
{
    if (!node)
        return false;
    for (QTreeWidgetItem* up = node->parent(); up; up = up->parent())
        up->setExpanded(true);
    tree.scrollToItem(node);
    QTest::mouseClick(
        tree.viewport(), Qt::LeftButton, {}, tree.visualItemRect(node).topLeft() + QPoint(8, 4));
    return tree.selectedItems() == QList<QTreeWidgetItem*>{node};
}

void Choose(QRadioButton* radio)
{
    QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(6, radio->height() / 2));
}

void Retype(QLineEdit* edit, const QString& text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}

QStringList ChildTexts(const QTreeWidgetItem* parent)
{
    QStringList texts;
    for (int i = 0; i < parent->childCount(); ++i)
        texts << parent->child(i)->text(0);
    return texts;
}
