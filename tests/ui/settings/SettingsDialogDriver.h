#pragma once
// Using the settings dialog's controls as a user does, for the widget tests.

#include <QStringList>

class QLineEdit;
class QRadioButton;
class QTreeWidget;
class QTreeWidgetItem;

// Opens the node's parents, scrolls to it and clicks it; true when it is then selected.
bool ClickNode(QTreeWidget& tree, QTreeWidgetItem* node);
// Clicks a radio button on its circle, where a click counts.
void Choose(QRadioButton* radio);
// Selects everything in the edit, deletes it and types the text.
void Retype(QLineEdit* edit, const QString& text);
// The texts of the node's children.
QStringList ChildTexts(const QTreeWidgetItem* parent);
