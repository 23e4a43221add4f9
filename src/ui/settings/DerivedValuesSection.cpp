#include "ui/settings/DerivedValuesSection.h"

#include "core/settings/IniSettings.h"
#include "ui/common/UiText.h"
#include "ui/settings/DialogDerivedValue.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString EntryText(const TDerivedValue& value)
{
    return QString::fromStdString(value.name + " " + value.unit + " = " + value.expression);
}

} // namespace

TDerivedValuesSection::TDerivedValuesSection(QWidget* parent)
    : QGroupBox(parent)
    , RunDialog([](TDialogDerivedValue& dialog) { return dialog.exec() == QDialog::Accepted; })
{
    List = new QListWidget(this);
    List->setFixedHeight(72);
    ButtonAdd = new QPushButton(this);
    ButtonEdit = new QPushButton(this);
    ButtonRemove = new QPushButton(this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ButtonAdd);
    buttons->addWidget(ButtonEdit);
    buttons->addWidget(ButtonRemove);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(List);
    layout->addLayout(buttons);
    connect(ButtonAdd, &QPushButton::clicked, this, &TDerivedValuesSection::AddClick);
    connect(ButtonEdit, &QPushButton::clicked, this, &TDerivedValuesSection::EditClick);
    connect(ButtonRemove, &QPushButton::clicked, this, &TDerivedValuesSection::RemoveClick);
    connect(List, &QListWidget::currentRowChanged, this, &TDerivedValuesSection::UpdateButtons);
    connect(List, &QListWidget::itemActivated, this, &TDerivedValuesSection::EditClick);
    SetCaptions();
    ShowDevice(nullptr);
}

void TDerivedValuesSection::SetCaptions()
{
    setTitle(UiText(TextId::TxtDerivedValues));
    ButtonAdd->setText(UiText(TextId::TxtAddEntry));
    ButtonEdit->setText(UiText(TextId::TxtEditEntry));
    ButtonRemove->setText(UiText(TextId::TxtRemoveEntry));
}

void TDerivedValuesSection::AddDevice(const TDeviceSettings& device, const std::string& prefix,
    std::vector<std::string> measured, std::vector<std::string> taken)
{
    TDevice entry{prefix, std::move(measured), std::move(taken), {}, {}};
    if (const TIniSettings* settings = ExistingIniSettings())
        entry.stored = settings->GetDerivedValues(prefix);
    entry.edited = entry.stored;
    devices[&device] = std::move(entry);
}

TDerivedValuesSection::TDevice* TDerivedValuesSection::Current()
{
    const auto found = devices.find(current);
    return found == devices.end() ? nullptr : &found->second;
}

void TDerivedValuesSection::ShowDevice(const TDeviceSettings* device)
{
    current = device;
    setEnabled(Current() != nullptr);
    Fill();
}

void TDerivedValuesSection::Fill()
{
    List->clear();
    if (const TDevice* device = Current())
        for (const TDerivedValue& value : device->edited)
            List->addItem(EntryText(value));
    UpdateButtons();
}

void TDerivedValuesSection::UpdateButtons()
{
    const bool chosen = Current() && List->currentRow() >= 0;
    ButtonEdit->setEnabled(chosen);
    ButtonRemove->setEnabled(chosen);
}

std::optional<TDerivedValue> TDerivedValuesSection::Define(
    const TDevice& device, const TDerivedValue* value)
{
    std::vector<std::string> taken = device.taken;
    for (const TDerivedValue& other : device.edited)
        taken.push_back(other.name);
    TDialogDerivedValue dialog(device.measured, taken, window());
    if (value)
        dialog.SetValue(*value);
    if (!RunDialog(dialog) || !dialog.Problem().isEmpty())
        return std::nullopt;
    return dialog.Value();
}

void TDerivedValuesSection::AddClick()
{
    TDevice* device = Current();
    if (!device)
        return;
    if (const auto value = Define(*device, nullptr)) {
        device->edited.push_back(*value);
        Fill();
        List->setCurrentRow(List->count() - 1);
    }
}

void TDerivedValuesSection::EditClick()
{
    TDevice* device = Current();
    const int row = List->currentRow();
    if (!device || row < 0 || row >= int(device->edited.size()))
        return;
    if (const auto value = Define(*device, &device->edited[row])) {
        device->edited[row] = *value;
        Fill();
        List->setCurrentRow(row);
    }
}

void TDerivedValuesSection::RemoveClick()
{
    TDevice* device = Current();
    const int row = List->currentRow();
    if (!device || row < 0 || row >= int(device->edited.size()))
        return;
    device->edited.erase(device->edited.begin() + row);
    Fill();
    List->setCurrentRow(std::min(row, List->count() - 1));
}

QStringList TDerivedValuesSection::Commit()
{
    QStringList changed;
    TIniSettings* settings = ExistingIniSettings();
    for (auto& [key, device] : devices) {
        if (device.edited == device.stored)
            continue;
        if (settings)
            settings->SetDerivedValues(device.prefix, device.edited);
        device.stored = device.edited;
        changed << QString::fromStdString(device.prefix);
    }
    return changed;
}

void TDerivedValuesSection::Clear()
{
    devices.clear();
    ShowDevice(nullptr);
}
