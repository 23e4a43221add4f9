#pragma once
// The settings dialog of an analysis window: the window's general settings (output
// heading, value-axis scaling) and, per device, line width, bars or lines, and each
// measured value's label and colour. Device edits act on the devices at once and are
// undone on Cancel (also Esc and the window frame's close box); the general settings go
// back to the window on OK. One instance serves every analysis window.

#include "core/settings/DeviceSettings.h"
#include "core/settings/IniSettings.h"

#include <QDialog>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTreeWidget;
class QTreeWidgetItem;
class TUpDown;

class TDerivedValuesSection;

class TDialogSettings : public QDialog {
    Q_OBJECT
public:
    // The first dialog made is the one the analysis windows use (DialogSettings()).
    explicit TDialogSettings(QWidget* parent = nullptr);
    ~TDialogSettings() override;

    // Appends the device's branch to the tree; the device must outlive the showing.
    void AddDevice(TDeviceSettings& device);
    // AddDevice, then selects the device's node.
    void AddDeviceAndSelect(TDeviceSettings& device);
    // The device's derived values become editable: its prefix, the measured values its
    // formulas may use and the names its other values take.
    void AddDerivedValues(const TDeviceSettings& device, const std::string& prefix,
        std::vector<std::string> measured, std::vector<std::string> taken);
    // Sets both the committed and the edit copy.
    void SetWindowSettings(const ChildSettings& settings);
    // The committed copy: what OK confirmed.
    ChildSettings GetWindowSettings() const { return committed; }

    // The device whose branch holds the selection (none until a node is selected).
    TDeviceSettings* CurrentDevice() const { return currentDevice; }

    // Handlers, named as bound.
    void FormShow();
    void UpdateSelection();
    void TreeChange();
    void EditLabelChange();
    void ColorSelectClick();
    void EditLineWidthChange();
    void RadioOthersGraphStyleClick();
    void RadioOutputsGraphStyleClick();
    // Fails with a language-table text and leaves the dialog open when a number is wrong.
    void OKBtnClick();
    void CancelBtnClick();

    // The colour chooser (PickColor); tests replace it. Returns the confirmed colour.
    std::function<std::optional<TColor>(QWidget* owner, TColor color)> ChooseColor;

    QLabel* LabelTreeHeadline = nullptr;
    QTreeWidget* Tree = nullptr;
    QGroupBox* GroupCommonSettings = nullptr;
    QGroupBox* GroupOutputTitle = nullptr;
    QLineEdit* EditOutputHeadline = nullptr;
    QGroupBox* GroupAxisLabels = nullptr;
    QRadioButton* RadioAxisDynamic = nullptr;
    QRadioButton* RadioAxisFixed = nullptr;
    QLabel* LabelYMin = nullptr;
    QLineEdit* EditYMin = nullptr;
    QLabel* LabelYMax = nullptr;
    QLineEdit* EditYMax = nullptr;
    QGroupBox* GroupDeviceSettings = nullptr;
    QGroupBox* GroupLineWidth = nullptr;
    QLineEdit* EditLineWidth = nullptr;
    TUpDown* UpDownLineWidth = nullptr;
    QGroupBox* GroupOthersType = nullptr;
    QLabel* LabelOthersHeader = nullptr;
    QRadioButton* RadioOthersUseLines = nullptr;
    QRadioButton* RadioOthersUseBars = nullptr;
    QGroupBox* GroupOutputsType = nullptr;
    QLabel* LabelOutputsHeader = nullptr;
    QRadioButton* RadioOutputsUseLines = nullptr;
    QRadioButton* RadioOutputsUseBars = nullptr;
    QGroupBox* GroupGraphSettings = nullptr;
    QLabel* LabelLogFileEntry = nullptr;
    QLabel* LabelField = nullptr;
    QLabel* LabelDisplayName = nullptr;
    QLineEdit* EditLabel = nullptr;
    QLabel* LabelDisplayColor = nullptr;
    QFrame* PanelColor = nullptr;
    TDerivedValuesSection* SectionDerivedValues = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

    // Esc and the frame's close box end here: the same as Cancel.
    void reject() override;

signals:
    // OK stored changed derived values of these device prefixes: every open window that
    // has such a device computes its derived values anew.
    void DerivedValuesChanged(const QStringList& prefixes);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* CreateCommonSettings();
    QWidget* CreateDeviceSettings();
    QWidget* CreateGraphSettings();
    void SetCaptions();
    QTreeWidgetItem* SelectedNode() const;
    // The selected value node, null when none or a device or group node is selected.
    QTreeWidgetItem* SelectedValueNode() const;
    void PaintPanelColor(TColor color);
    void EmptyTree();

    TDeviceSettings* currentDevice = nullptr;
    ChildSettings committed;
    ChildSettings edited;
};

// The dialog the analysis windows open; null before it is made.
TDialogSettings* DialogSettings();
