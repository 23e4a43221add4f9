#pragma once
// The settings dialog's tree: a branch per device, under it the groups that have members
// ("Inputs", "Other measured values", "Outputs") and in them the measured values. Every
// node carries its data (the device, −1 for a group, the value's index in its device)
// and, for painting and lookups, the device it belongs to.

#include <QList>
#include <QString>

class QModelIndex;
class QTreeWidget;
class QTreeWidgetItem;
class TDeviceSettings;

enum SettingsTreeLevel { LevelDevice = 0, LevelGroup = 1, LevelValue = 2 };

// Appends the device's branch: values in device order, sum values left out except the
// day total of another measured value, which follows all other measured values. The
// device node is collapsed, its groups expanded inside it.
QTreeWidgetItem* AddDeviceBranch(QTreeWidget& tree, TDeviceSettings& device);

int NodeLevel(const QTreeWidgetItem& item);
TDeviceSettings* DeviceOfNode(const QTreeWidgetItem& item);
// The value's index in its device for a value node, −1 for a device or group node.
int ValueOfNode(const QTreeWidgetItem& item);
// The devices of the tree's branches, in tree order.
QList<TDeviceSettings*> DevicesOfTree(const QTreeWidget& tree);

// A value node's text: a sum value shows its label; any other value its entry name,
// followed by " (", the label and ")" when the label differs from it.
QString ValueNodeText(const TDeviceSettings& device, int index);

// The device a node of the tree's model belongs to (for painting).
TDeviceSettings* DeviceOfNodeData(const QModelIndex& index);
