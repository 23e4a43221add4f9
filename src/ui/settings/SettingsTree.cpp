#include "ui/settings/SettingsTree.h"

#include "core/settings/DeviceSettings.h"
#include "ui/common/UiText.h"

#include <QModelIndex>
#include <QTreeWidget>

#include <vector>

namespace {

// Qt::UserRole holds the node's data; this role the device of its branch.
constexpr int DeviceRole = Qt::UserRole + 1;

QTreeWidgetItem* Node(
    QTreeWidgetItem* parent, const QString& text, const QVariant& data, TDeviceSettings& device)
{
    auto* item = new QTreeWidgetItem(parent, {text});
    item->setData(0, Qt::UserRole, data);
    item->setData(0, DeviceRole, QVariant::fromValue(static_cast<void*>(&device)));
    return item;
}

QTreeWidgetItem* GroupNode(QTreeWidgetItem* deviceNode, TextId text, TDeviceSettings& device)
{
    return Node(deviceNode, UiText(text), -1, device);
}

QTreeWidgetItem* ValueNode(QTreeWidgetItem* parent, TDeviceSettings& device, int index)
{
    return Node(parent, ValueNodeText(device, index), index, device);
}

void ExpandWithDescendants(QTreeWidgetItem* item)
{
    item->setExpanded(true);
    for (int i = 0; i < item->childCount(); ++i)
        ExpandWithDescendants(item->child(i));
}

} // namespace

QTreeWidgetItem* AddDeviceBranch(QTreeWidget& tree, TDeviceSettings& device)
{
    auto* deviceNode = new QTreeWidgetItem(&tree, {QString::fromStdString(device.GetName())});
    deviceNode->setData(0, Qt::UserRole, QVariant::fromValue(static_cast<void*>(&device)));
    deviceNode->setData(0, DeviceRole, QVariant::fromValue(static_cast<void*>(&device)));

    QTreeWidgetItem* inputs
        = device.InputCount() > 0 ? GroupNode(deviceNode, TextId::TxtInputs, device) : nullptr;
    QTreeWidgetItem* others
        = device.OtherCount() > 0 ? GroupNode(deviceNode, TextId::TxtOtherValues, device) : nullptr;
    QTreeWidgetItem* outputs
        = device.OutputCount() > 0 ? GroupNode(deviceNode, TextId::TxtOutputs, device) : nullptr;

    // Day totals wait here and follow all other measured values.
    std::vector<int> dayTotals;
    for (int i = 0; i < device.ValueCount(); ++i) {
        if (device.IsSumValue(i))
            continue;
        switch (device.GetValueKind(i)) {
        case KindInput:
            ValueNode(inputs, device, i);
            break;
        case KindOther: {
            int total = -1;
            if (device.IndexOfValue(device.GetValueName(i) + "tag", total))
                dayTotals.push_back(total);
            ValueNode(others, device, i);
            break;
        }
        default:
            ValueNode(outputs, device, i);
            break;
        }
    }
    for (int total : dayTotals)
        ValueNode(others, device, total);

    ExpandWithDescendants(deviceNode);
    deviceNode->setExpanded(false);
    return deviceNode;
}

int NodeLevel(const QTreeWidgetItem& item)
{
    int level = 0;
    for (const QTreeWidgetItem* parent = item.parent(); parent; parent = parent->parent())
        ++level;
    return level;
}

TDeviceSettings* DeviceOfNode(const QTreeWidgetItem& item)
{
    return static_cast<TDeviceSettings*>(item.data(0, DeviceRole).value<void*>());
}

TDeviceSettings* DeviceOfNodeData(const QModelIndex& index)
{
    return static_cast<TDeviceSettings*>(index.data(DeviceRole).value<void*>());
}

int ValueOfNode(const QTreeWidgetItem& item)
{
    return NodeLevel(item) == LevelValue ? item.data(0, Qt::UserRole).toInt() : -1;
}

QList<TDeviceSettings*> DevicesOfTree(const QTreeWidget& tree)
{
    QList<TDeviceSettings*> devices;
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        if (TDeviceSettings* device = DeviceOfNode(*tree.topLevelItem(i)))
            devices.append(device);
    return devices;
}

QString ValueNodeText(const TDeviceSettings& device, int index)
{
    const QString label = QString::fromStdString(device.GetLabel(index));
    if (device.IsSumValue(index))
        return label;
    const QString name = QString::fromStdString(device.GetValueName(index));
    return label == name ? name : name + QStringLiteral(" (") + label + QStringLiteral(")");
}
