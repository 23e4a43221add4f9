#include "ui/settings/DialogSettings.h"

#include "core/base/KalvexError.h"
#include "ui/common/ApplicationErrors.h"
#include "ui/common/CenterDialogHook.h"
#include "ui/common/UiText.h"
#include "ui/settings/ColorChooser.h"
#include "ui/settings/DerivedValuesSection.h"
#include "ui/settings/SettingsTree.h"
#include "ui/settings/SettingsTreeDelegate.h"
#include "ui/settings/UpDown.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int LineWidthMinimum = 1;
constexpr int LineWidthMaximum = 10;

TDialogSettings*& Instance()
{
    static TDialogSettings* instance = nullptr;
    return instance;
}

bool ToInteger(const QString& text, int& value)
{
    bool ok = false;
    value = text.trimmed().toInt(&ok);
    return ok;
}

// The controls that come and go with the selection keep their room, so the fixed-size
// dialog does not change its size.
void KeepRoomWhenHidden(QWidget* widget)
{
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

QLineEdit* NumberEdit(QWidget* parent, int width)
{
    auto* edit = new QLineEdit(parent);
    edit->setAlignment(Qt::AlignRight);
    edit->setFixedWidth(width);
    return edit;
}

} // namespace

TDialogSettings* DialogSettings()
{
    return Instance();
}

TDialogSettings::TDialogSettings(QWidget* parent)
    : QDialog(parent)
    , ChooseColor(PickColor)
{
    if (!Instance())
        Instance() = this;
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    InstallCenterDialogHook(*this);

    auto* treeColumn = new QVBoxLayout;
    LabelTreeHeadline = new QLabel(this);
    Tree = new QTreeWidget(this);
    Tree->setHeaderHidden(true);
    Tree->setColumnCount(1);
    Tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Tree->setSelectionMode(QAbstractItemView::SingleSelection);
    Tree->setItemDelegate(new TSettingsTreeDelegate(Tree));
    Tree->setFixedWidth(300);
    // As tall as the settings beside it, whose sections come and go with the program.
    Tree->setMinimumHeight(430);
    LabelTreeHeadline->setBuddy(Tree);
    treeColumn->addWidget(LabelTreeHeadline);
    treeColumn->addWidget(Tree, 1);

    auto* settingsColumn = new QVBoxLayout;
    settingsColumn->addWidget(CreateCommonSettings());
    settingsColumn->addWidget(CreateDeviceSettings());
    settingsColumn->addWidget(CreateGraphSettings());
    SectionDerivedValues = new TDerivedValuesSection(this);
    settingsColumn->addWidget(SectionDerivedValues);
    settingsColumn->addStretch(1);

    auto* columns = new QHBoxLayout;
    columns->addLayout(treeColumn);
    columns->addLayout(settingsColumn);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    OKBtn = new QPushButton(this);
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(this);
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(Tree, &QTreeWidget::itemSelectionChanged, this, &TDialogSettings::TreeChange);
    connect(EditLabel, &QLineEdit::textChanged, this, &TDialogSettings::EditLabelChange);
    connect(EditLineWidth, &QLineEdit::textChanged, this, &TDialogSettings::EditLineWidthChange);
    for (QRadioButton* radio : {RadioOthersUseLines, RadioOthersUseBars})
        connect(radio, &QRadioButton::toggled, this, &TDialogSettings::RadioOthersGraphStyleClick);
    for (QRadioButton* radio : {RadioOutputsUseLines, RadioOutputsUseBars})
        connect(radio, &QRadioButton::toggled, this, &TDialogSettings::RadioOutputsGraphStyleClick);
    connect(OKBtn, &QPushButton::clicked, this, [this] {
        try {
            OKBtnClick();
        } catch (const std::exception&) {
            ReportCurrentException();
        }
    });
    connect(CancelBtn, &QPushButton::clicked, this, &TDialogSettings::CancelBtnClick);

    setTabOrder(Tree, EditOutputHeadline);
    setTabOrder(EditOutputHeadline, RadioAxisDynamic);
    setTabOrder(RadioAxisDynamic, RadioAxisFixed);
    setTabOrder(RadioAxisFixed, EditYMin);
    setTabOrder(EditYMin, EditYMax);
    setTabOrder(EditYMax, EditLineWidth);
    setTabOrder(EditLineWidth, RadioOthersUseLines);
    setTabOrder(RadioOthersUseLines, RadioOthersUseBars);
    setTabOrder(RadioOthersUseBars, RadioOutputsUseLines);
    setTabOrder(RadioOutputsUseLines, RadioOutputsUseBars);
    setTabOrder(RadioOutputsUseBars, EditLabel);
    setTabOrder(EditLabel, PanelColor);
    setTabOrder(PanelColor, OKBtn);
    setTabOrder(OKBtn, CancelBtn);
    SetCaptions();
}

TDialogSettings::~TDialogSettings()
{
    if (Instance() == this)
        Instance() = nullptr;
}

QWidget* TDialogSettings::CreateCommonSettings()
{
    GroupCommonSettings = new QGroupBox(this);
    auto* layout = new QVBoxLayout(GroupCommonSettings);

    GroupOutputTitle = new QGroupBox(GroupCommonSettings);
    EditOutputHeadline = new QLineEdit(GroupOutputTitle);
    (new QHBoxLayout(GroupOutputTitle))->addWidget(EditOutputHeadline);
    layout->addWidget(GroupOutputTitle);

    GroupAxisLabels = new QGroupBox(GroupCommonSettings);
    auto* axis = new QGridLayout(GroupAxisLabels);
    RadioAxisDynamic = new QRadioButton(GroupAxisLabels);
    RadioAxisFixed = new QRadioButton(GroupAxisLabels);
    LabelYMin = new QLabel(GroupAxisLabels);
    EditYMin = NumberEdit(GroupAxisLabels, 70);
    LabelYMax = new QLabel(GroupAxisLabels);
    EditYMax = NumberEdit(GroupAxisLabels, 70);
    LabelYMin->setBuddy(EditYMin);
    LabelYMax->setBuddy(EditYMax);
    axis->addWidget(RadioAxisDynamic, 0, 0);
    axis->addWidget(LabelYMin, 0, 2);
    axis->addWidget(EditYMin, 0, 3);
    axis->addWidget(RadioAxisFixed, 1, 0);
    axis->addWidget(LabelYMax, 1, 2);
    axis->addWidget(EditYMax, 1, 3);
    axis->setColumnStretch(1, 1);
    layout->addWidget(GroupAxisLabels);
    return GroupCommonSettings;
}

QWidget* TDialogSettings::CreateDeviceSettings()
{
    GroupDeviceSettings = new QGroupBox(this);
    auto* layout = new QHBoxLayout(GroupDeviceSettings);

    GroupLineWidth = new QGroupBox(GroupDeviceSettings);
    auto* lineWidth = new QHBoxLayout(GroupLineWidth);
    lineWidth->setSpacing(0);
    EditLineWidth = NumberEdit(GroupLineWidth, 32);
    EditLineWidth->setMaxLength(2);
    EditLineWidth->setText(QStringLiteral("2"));
    UpDownLineWidth
        = new TUpDown(*EditLineWidth, LineWidthMinimum, LineWidthMaximum, GroupLineWidth);
    lineWidth->addWidget(EditLineWidth);
    lineWidth->addWidget(UpDownLineWidth);
    lineWidth->addStretch(1);
    layout->addWidget(GroupLineWidth, 0, Qt::AlignTop);

    const auto styleGroup
        = [&](QGroupBox*& group, QLabel*& header, QRadioButton*& lines, QRadioButton*& bars) {
              group = new QGroupBox(GroupDeviceSettings);
              auto* column = new QVBoxLayout(group);
              header = new QLabel(group);
              lines = new QRadioButton(group);
              bars = new QRadioButton(group);
              column->addWidget(header);
              column->addWidget(lines);
              column->addWidget(bars);
              layout->addWidget(group);
          };
    styleGroup(GroupOthersType, LabelOthersHeader, RadioOthersUseLines, RadioOthersUseBars);
    styleGroup(GroupOutputsType, LabelOutputsHeader, RadioOutputsUseLines, RadioOutputsUseBars);
    return GroupDeviceSettings;
}

QWidget* TDialogSettings::CreateGraphSettings()
{
    GroupGraphSettings = new QGroupBox(this);
    auto* grid = new QGridLayout(GroupGraphSettings);
    LabelLogFileEntry = new QLabel(GroupGraphSettings);
    LabelField = new QLabel(GroupGraphSettings);
    LabelDisplayName = new QLabel(GroupGraphSettings);
    EditLabel = new QLineEdit(GroupGraphSettings);
    LabelDisplayColor = new QLabel(GroupGraphSettings);
    PanelColor = new QFrame(GroupGraphSettings);
    PanelColor->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    PanelColor->setFixedSize(60, 21);
    PanelColor->setAutoFillBackground(true);
    PanelColor->setCursor(Qt::PointingHandCursor);
    // Reachable by the keyboard too: Space opens the chooser.
    PanelColor->setFocusPolicy(Qt::StrongFocus);
    PanelColor->installEventFilter(this);
    LabelDisplayName->setBuddy(EditLabel);
    LabelDisplayColor->setBuddy(PanelColor);
    for (QWidget* widget : {static_cast<QWidget*>(LabelField), static_cast<QWidget*>(EditLabel),
             static_cast<QWidget*>(PanelColor)})
        KeepRoomWhenHidden(widget);
    grid->addWidget(LabelLogFileEntry, 0, 0);
    grid->addWidget(LabelField, 0, 1);
    grid->addWidget(LabelDisplayName, 1, 0);
    grid->addWidget(EditLabel, 1, 1);
    grid->addWidget(LabelDisplayColor, 2, 0);
    grid->addWidget(PanelColor, 2, 1, Qt::AlignLeft);
    grid->setColumnStretch(1, 1);
    return GroupGraphSettings;
}

void TDialogSettings::SetCaptions()
{
    setWindowTitle(UiText(TextId::TxtSettings));
    LabelTreeHeadline->setText(UiText(TextId::TxtDevicesAndValues));
    GroupCommonSettings->setTitle(UiText(TextId::TxtGeneralSettings));
    GroupOutputTitle->setTitle(UiText(TextId::TxtOutputHeading));
    GroupAxisLabels->setTitle(UiText(TextId::TxtScaleYAxis) + QStringLiteral(" "));
    RadioAxisDynamic->setText(UiText(TextId::TxtDynamic));
    RadioAxisFixed->setText(UiText(TextId::TxtFixed));
    LabelYMin->setText(UiText(TextId::TxtMin));
    LabelYMax->setText(UiText(TextId::TxtMax));
    GroupDeviceSettings->setTitle(UiText(TextId::TxtDeviceSpecific));
    GroupLineWidth->setTitle(UiText(TextId::TxtLineWidth) + QStringLiteral(" "));
    GroupOthersType->setTitle(UiText(TextId::TxtOtherValues));
    LabelOthersHeader->setText(UiText(TextId::TxtDisplayAs));
    RadioOthersUseLines->setText(UiText(TextId::TxtLines));
    RadioOthersUseBars->setText(UiText(TextId::TxtBars));
    GroupOutputsType->setTitle(UiText(TextId::TxtOutputs));
    LabelOutputsHeader->setText(UiText(TextId::TxtDisplayAs));
    RadioOutputsUseLines->setText(UiText(TextId::TxtLines));
    RadioOutputsUseBars->setText(UiText(TextId::TxtBars));
    GroupGraphSettings->setTitle(UiText(TextId::TxtGraphSettings));
    LabelLogFileEntry->setText(UiText(TextId::TxtLogFileEntry));
    LabelDisplayName->setText(UiText(TextId::TxtDisplayName));
    LabelDisplayColor->setText(UiText(TextId::TxtDisplayColour));
    OKBtn->setText(UiText(TextId::TxtOk));
    CancelBtn->setText(UiText(TextId::TxtCancel));
    SectionDerivedValues->SetCaptions();
}

void TDialogSettings::AddDevice(TDeviceSettings& device)
{
    AddDeviceBranch(*Tree, device);
}

void TDialogSettings::AddDeviceAndSelect(TDeviceSettings& device)
{
    Tree->setCurrentItem(AddDeviceBranch(*Tree, device));
}

void TDialogSettings::AddDerivedValues(const TDeviceSettings& device, const std::string& prefix,
    std::vector<std::string> measured, std::vector<std::string> taken)
{
    SectionDerivedValues->AddDevice(device, prefix, std::move(measured), std::move(taken));
    UpdateSelection();
}

void TDialogSettings::SetWindowSettings(const ChildSettings& settings)
{
    committed = settings;
    edited = settings;
}

void TDialogSettings::showEvent(QShowEvent* event)
{
    // Restoring the minimised dialog shows it again too; the backups taken at the real
    // showing must survive that, or Cancel would keep the edits.
    if (!event->spontaneous())
        FormShow();
    QDialog::showEvent(event);
}

void TDialogSettings::FormShow()
{
    currentDevice = nullptr;
    SetCaptions();
    for (TDeviceSettings* device : DevicesOfTree(*Tree))
        device->SaveBackup();
    (edited.DynamicScaling ? RadioAxisDynamic : RadioAxisFixed)->setChecked(true);
    EditYMin->setText(QString::number(edited.AxisMin));
    EditYMax->setText(QString::number(edited.AxisMax));
    EditOutputHeadline->setText(QString::fromStdString(edited.PrintTitle));
    UpdateSelection();
    if (QTreeWidgetItem* selected = SelectedNode()) {
        Tree->expandRecursively(Tree->indexFromItem(selected));
        Tree->setFocus();
    }
}

QTreeWidgetItem* TDialogSettings::SelectedNode() const
{
    // The selection, not the current item: the tree makes its first node current when it
    // gets the focus, without selecting it.
    const QList<QTreeWidgetItem*> selected = Tree->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

QTreeWidgetItem* TDialogSettings::SelectedValueNode() const
{
    QTreeWidgetItem* selected = SelectedNode();
    return selected && NodeLevel(*selected) == LevelValue ? selected : nullptr;
}

void TDialogSettings::UpdateSelection()
{
    QTreeWidgetItem* selected = SelectedNode();
    if (selected)
        currentDevice = DeviceOfNode(*selected);
    const bool available = selected && currentDevice;
    SectionDerivedValues->ShowDevice(available ? currentDevice : nullptr);
    for (QWidget* group : {GroupLineWidth, GroupDeviceSettings, GroupGraphSettings})
        group->setEnabled(available);
    for (QWidget* part : {static_cast<QWidget*>(EditLabel), static_cast<QWidget*>(LabelField),
             static_cast<QWidget*>(PanelColor)})
        part->setVisible(available);
    if (!available)
        return;

    EditLineWidth->setText(QString::number(currentDevice->GetLineWidth()));
    (currentDevice->OthersUseBars() ? RadioOthersUseBars : RadioOthersUseLines)->setChecked(true);
    (currentDevice->OutputsUseBars() ? RadioOutputsUseBars : RadioOutputsUseLines)
        ->setChecked(true);

    const int value = ValueOfNode(*selected);
    if (value < 0) {
        for (QWidget* part : {static_cast<QWidget*>(EditLabel), static_cast<QWidget*>(LabelField),
                 static_cast<QWidget*>(PanelColor)})
            part->hide();
        return;
    }
    EditLabel->setText(QString::fromStdString(currentDevice->GetLabel(value)));
    PaintPanelColor(currentDevice->GetColor(value));
    const std::string& name = currentDevice->GetValueName(value);
    if (currentDevice->IsSumValue(value))
        LabelField->setText(UiText(TextId::TxtTotal) + QStringLiteral(" (")
            + QString::fromStdString(name.substr(0, name.find("tag"))) + QStringLiteral(")"));
    else
        LabelField->setText(QString::fromStdString(name));
}

void TDialogSettings::TreeChange()
{
    UpdateSelection();
}

void TDialogSettings::EditLabelChange()
{
    QTreeWidgetItem* node = SelectedValueNode();
    if (!node) {
        UpdateSelection();
        return;
    }
    const QString text = EditLabel->text();
    if (!currentDevice || text.isEmpty())
        return;
    const int value = ValueOfNode(*node);
    currentDevice->SetLabel(value, text.toStdString());
    node->setText(0, ValueNodeText(*currentDevice, value));
}

void TDialogSettings::ColorSelectClick()
{
    QTreeWidgetItem* node = SelectedValueNode();
    if (!node || !currentDevice) {
        UpdateSelection();
        return;
    }
    const int value = ValueOfNode(*node);
    const TColor color = currentDevice->GetColor(value);
    if (const std::optional<TColor> chosen = ChooseColor(this, color); chosen && *chosen != color) {
        currentDevice->SetColor(value, *chosen);
        PaintPanelColor(*chosen);
    }
    Tree->viewport()->update();
}

void TDialogSettings::PaintPanelColor(TColor color)
{
    QPalette palette = PanelColor->palette();
    palette.setColor(QPalette::Window, ToQColor(color));
    PanelColor->setPalette(palette);
}

void TDialogSettings::EditLineWidthChange()
{
    int width = 0;
    if (currentDevice && ToInteger(EditLineWidth->text(), width))
        currentDevice->SetLineWidth(
            unsigned(std::clamp(width, LineWidthMinimum, LineWidthMaximum)));
}

void TDialogSettings::RadioOthersGraphStyleClick()
{
    if (currentDevice)
        currentDevice->SetOthersUseBars(RadioOthersUseBars->isChecked());
}

void TDialogSettings::RadioOutputsGraphStyleClick()
{
    if (currentDevice)
        currentDevice->SetOutputsUseBars(RadioOutputsUseBars->isChecked());
}

void TDialogSettings::OKBtnClick()
{
    edited.PrintTitle = EditOutputHeadline->text().toStdString();
    edited.DynamicScaling = RadioAxisDynamic->isChecked();
    int axisMin = 0;
    int axisMax = 0;
    if (!ToInteger(EditYMin->text(), axisMin) || !ToInteger(EditYMax->text(), axisMax))
        Fail(TextId::TxtYAxisNumbersOnly);
    edited.AxisMin = axisMin;
    edited.AxisMax = axisMax;
    // Without a current device the line width is disabled and belongs to nobody; a stale
    // text there must not keep the dialog from closing.
    int width = 0;
    if (currentDevice
        && (!ToInteger(EditLineWidth->text(), width) || width < LineWidthMinimum
            || width > LineWidthMaximum)) {
        EditLineWidth->setFocus();
        Fail(TextId::TxtInvalidLineWidth);
    }
    const QStringList derivedChanged = SectionDerivedValues->Commit();
    for (TDeviceSettings* device : DevicesOfTree(*Tree))
        device->DiscardBackup();
    committed = edited;
    EmptyTree();
    accept();
    if (!derivedChanged.isEmpty())
        emit DerivedValuesChanged(derivedChanged);
}

void TDialogSettings::CancelBtnClick()
{
    for (TDeviceSettings* device : DevicesOfTree(*Tree))
        device->RestoreBackup();
    edited = committed;
    EmptyTree();
    QDialog::reject();
}

void TDialogSettings::reject()
{
    CancelBtnClick();
}

void TDialogSettings::EmptyTree()
{
    Tree->clear();
    // The devices belong to the window; none of them may be reached once it has them back.
    currentDevice = nullptr;
    SectionDerivedValues->Clear();
}

bool TDialogSettings::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == PanelColor) {
        const bool clicked = event->type() == QEvent::MouseButtonRelease
            && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton
            && PanelColor->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint());
        const bool spacePressed = event->type() == QEvent::KeyPress
            && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space;
        if (clicked || spacePressed) {
            ColorSelectClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
