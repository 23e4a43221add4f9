// The settings dialog on devices of its own, used as a user does: clicking nodes, typing
// labels and numbers, choosing colours, confirming and cancelling.
#include "ui/settings/DialogSettings.h"

#include "SettingsDialogDriver.h"
#include "core/base/LanguageTable.h"
#include "support/GuiTestHelpers.h"
#include "ui/common/ApplicationErrors.h"
#include "ui/settings/ColorChooser.h"
#include "ui/settings/SettingsTree.h"
#include "ui/settings/UpDown.h"

#include <QColorDialog>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

const TColor Red = 255;
const TColor Teal = 0x808000; // red 0, green 128, blue 128

class DialogSettingsTest : public testing::Test {
protected:
    void SetUp() override
    {
        SelectLanguage(2);
        previousHandler = SetApplicationErrorHandler([this](const QString& m) { reported << m; });
        solar = MakeDevice(10, "Solar", true);
        store = MakeDevice(40, "Store", false);
    }
    void TearDown() override
    {
        dialog.hide();
        SetApplicationErrorHandler(previousHandler);
        ReleaseIniSettings();
        SelectLanguage(1);
    }

    // Two temperatures, a power with its day total and year counter, a flow, an
    // irradiance and, when asked, an output.
    static std::unique_ptr<TDeviceSettings> MakeDevice(int number, const char* name, bool outputs)
    {
        auto device = std::make_unique<TDeviceSettings>(number, name, false);
        device->AddValue("T1", "[°C]", KindInput);
        device->AddValue("T2", "[°C]", KindInput);
        device->AddValue("P", "[kW]", KindOther);
        device->AddValue("V", "[l/min]", KindOther);
        device->AddValue("Ptag", "[kWh]", KindOther);
        device->AddValue("Pjahr", "[kWh]", KindOther);
        device->AddValue("E", "[W/m²]", KindOther);
        if (outputs)
            device->AddValue("R1", "[%]", KindOutput);
        for (const char* sum : {"Ptag", "Pjahr"}) {
            int index = -1;
            device->IndexOfValue(sum, index);
            device->SetSumValue(index, true);
            device->SetLabel(index, "Sum of energy (Q)");
        }
        return device;
    }
    static int Index(const TDeviceSettings& device, const char* name)
    {
        int index = -1;
        device.IndexOfValue(name, index);
        return index;
    }
    void Show()
    {
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    }
    QTreeWidgetItem* DeviceNode(int device) const { return dialog.Tree->topLevelItem(device); }
    // A node by the texts on its way down from a device node.
    QTreeWidgetItem* NodeAt(int device, int group, int value = -1) const
    {
        QTreeWidgetItem* node = DeviceNode(device)->child(group);
        return value < 0 ? node : node->child(value);
    }
    void Click(QTreeWidgetItem* node) { ASSERT_TRUE(ClickNode(*dialog.Tree, node)); }
    // The colour the tree paints at the swatch of a value node.
    QColor SwatchPixel(QTreeWidgetItem* node) const
    {
        const QImage picture = dialog.Tree->viewport()->grab().toImage();
        const QRect row = dialog.Tree->visualItemRect(node);
        const qreal ratio = picture.devicePixelRatio();
        return picture.pixelColor(
            QPoint(dialog.Tree->viewport()->width() - 40, row.center().y()) * ratio);
    }

    TemporarySettingsLocation location;
    std::unique_ptr<TDeviceSettings> solar;
    std::unique_ptr<TDeviceSettings> store;
    TDialogSettings dialog;
    QStringList reported;
    ApplicationErrorHandler previousHandler;
};

TEST_F(DialogSettingsTest, TheTreeListsGroupsWithMembersAndDayTotalsAfterTheOtherValues)
{
    EXPECT_EQ(DialogSettings(), &dialog);
    dialog.AddDevice(*solar);
    dialog.AddDeviceAndSelect(*store);
    Show();
    ASSERT_EQ(dialog.Tree->topLevelItemCount(), 2);
    EXPECT_EQ(DeviceNode(0)->text(0), "Solar");
    EXPECT_EQ(
        ChildTexts(DeviceNode(0)), (QStringList{"Inputs", "Other measured values", "Outputs"}));
    // A device without outputs has no "Outputs" group.
    EXPECT_EQ(ChildTexts(DeviceNode(1)), (QStringList{"Inputs", "Other measured values"}));
    EXPECT_EQ(ChildTexts(NodeAt(1, 0)), (QStringList{"T1", "T2"}));
    // The day total follows all other measured values, under its label; the year counter
    // is not listed.
    EXPECT_EQ(ChildTexts(NodeAt(1, 1)), (QStringList{"P", "V", "E", "Sum of energy (Q)"}));
    EXPECT_EQ(ChildTexts(NodeAt(0, 2)), QStringList{"R1"});

    // Device nodes start collapsed with their groups open inside; the selected device is
    // opened whole when the dialog shows, and the tree has the focus.
    EXPECT_FALSE(DeviceNode(0)->isExpanded());
    EXPECT_TRUE(NodeAt(0, 1)->isExpanded());
    EXPECT_EQ(dialog.Tree->currentItem(), DeviceNode(1));
    EXPECT_TRUE(DeviceNode(1)->isExpanded());
    EXPECT_TRUE(dialog.Tree->hasFocus());
    EXPECT_EQ(dialog.CurrentDevice(), store.get());
}

TEST_F(DialogSettingsTest, ItSpeaksTheUsersLanguage)
{
    Show();
    EXPECT_EQ(dialog.windowTitle(), "Settings");
    EXPECT_EQ(dialog.LabelTreeHeadline->text(), "Devices and measurements");
    EXPECT_EQ(dialog.GroupCommonSettings->title(), "General settings");
    EXPECT_EQ(dialog.GroupOutputTitle->title(), "Output heading");
    EXPECT_EQ(dialog.GroupAxisLabels->title(), "Scale Y-axis ");
    EXPECT_EQ(dialog.RadioAxisDynamic->text(), "dynamic");
    EXPECT_EQ(dialog.RadioAxisFixed->text(), "fixed");
    EXPECT_EQ(dialog.LabelYMin->text(), "Min");
    EXPECT_EQ(dialog.LabelYMax->text(), "Max");
    EXPECT_EQ(dialog.GroupDeviceSettings->title(), "Device-specific");
    EXPECT_EQ(dialog.GroupLineWidth->title(), "Line width ");
    EXPECT_EQ(dialog.GroupOthersType->title(), "Other measured values");
    EXPECT_EQ(dialog.GroupOutputsType->title(), "Outputs");
    EXPECT_EQ(dialog.LabelOthersHeader->text(), "Display as:");
    EXPECT_EQ(dialog.RadioOutputsUseLines->text(), "Lines");
    EXPECT_EQ(dialog.RadioOutputsUseBars->text(), "Bars");
    EXPECT_EQ(dialog.GroupGraphSettings->title(), "Graph settings");
    EXPECT_EQ(dialog.LabelLogFileEntry->text(), "Log file entry:");
    EXPECT_EQ(dialog.LabelDisplayName->text(), "Display name:");
    EXPECT_EQ(dialog.LabelDisplayColor->text(), "Display colour:");
    EXPECT_EQ(dialog.OKBtn->text(), "OK");
    EXPECT_EQ(dialog.CancelBtn->text(), "Cancel");
    EXPECT_TRUE(dialog.OKBtn->isDefault());
    EXPECT_EQ(dialog.EditYMin->alignment() & Qt::AlignRight, Qt::AlignRight);
    EXPECT_EQ(dialog.EditLineWidth->maxLength(), 2);
    // The border is fixed: the dialog cannot be resized.
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    dialog.hide();
    SelectLanguage(1);
    Show();
    EXPECT_EQ(dialog.windowTitle().toStdString(), Text(TextId::TxtSettings));
    EXPECT_EQ(dialog.GroupGraphSettings->title().toStdString(), Text(TextId::TxtGraphSettings));
}

TEST_F(DialogSettingsTest, TheSelectionDecidesWhatCanBeEdited)
{
    dialog.AddDevice(*solar);
    solar->SetOutputsUseBars(true);
    solar->SetLineWidth(3);
    Show();
    // Nothing selected: nothing device-specific to edit.
    EXPECT_FALSE(dialog.GroupDeviceSettings->isEnabled());
    EXPECT_FALSE(dialog.GroupLineWidth->isEnabled());
    EXPECT_FALSE(dialog.GroupGraphSettings->isEnabled());
    EXPECT_FALSE(dialog.EditLabel->isVisible());
    EXPECT_FALSE(dialog.PanelColor->isVisible());

    Click(NodeAt(0, 1));
    EXPECT_TRUE(dialog.GroupDeviceSettings->isEnabled());
    EXPECT_TRUE(dialog.GroupGraphSettings->isEnabled());
    EXPECT_FALSE(dialog.EditLabel->isVisible());
    EXPECT_FALSE(dialog.LabelField->isVisible());
    EXPECT_EQ(dialog.EditLineWidth->text(), "3");
    EXPECT_TRUE(dialog.RadioOthersUseBars->isChecked());
    EXPECT_TRUE(dialog.RadioOutputsUseBars->isChecked());

    Click(NodeAt(0, 1, 0));
    EXPECT_TRUE(dialog.EditLabel->isVisible());
    EXPECT_TRUE(dialog.PanelColor->isVisible());
    EXPECT_EQ(dialog.LabelField->text(), "P");
    EXPECT_EQ(dialog.EditLabel->text(), "P");
    EXPECT_EQ(dialog.PanelColor->palette().color(QPalette::Window),
        ToQColor(solar->GetColor(Index(*solar, "P"))));

    Click(NodeAt(0, 1, 3));
    EXPECT_EQ(dialog.LabelField->text(), "Total (P)");
    EXPECT_EQ(dialog.EditLabel->text(), "Sum of energy (Q)");
}

TEST_F(DialogSettingsTest, TypingALabelRenamesTheValueAtOnceAndAnEmptyLabelIsIgnored)
{
    dialog.AddDeviceAndSelect(*solar);
    Show();
    QTreeWidgetItem* power = NodeAt(0, 1, 0);
    Click(power);
    Retype(dialog.EditLabel, "Collector power");
    EXPECT_EQ(solar->GetLabel(Index(*solar, "P")), "Collector power");
    EXPECT_EQ(power->text(0), "P (Collector power)");
    // The entry name itself as label shows just the entry name.
    Retype(dialog.EditLabel, "P");
    EXPECT_EQ(power->text(0), "P");
    dialog.EditLabel->selectAll();
    QTest::keyClick(dialog.EditLabel, Qt::Key_Backspace);
    EXPECT_EQ(solar->GetLabel(Index(*solar, "P")), "P");

    QTreeWidgetItem* total = NodeAt(0, 1, 3);
    Click(total);
    Retype(dialog.EditLabel, "Yield");
    EXPECT_EQ(total->text(0), "Yield");
    EXPECT_EQ(solar->GetLabel(Index(*solar, "Ptag")), "Yield");
}

TEST_F(DialogSettingsTest, TheLineWidthIsClampedAtOnceAndOkRefusesAWidthOutsideOneToTen)
{
    dialog.AddDeviceAndSelect(*solar);
    Show();
    Retype(dialog.EditLineWidth, "15");
    EXPECT_EQ(solar->GetLineWidth(), 10);
    EXPECT_EQ(dialog.EditLineWidth->text(), "15");
    dialog.OKBtn->setFocus();
    QTest::mouseClick(dialog.OKBtn, Qt::LeftButton);
    EXPECT_EQ(
        reported, QStringList{"Invalid line thickness. Please enter a number between 1 and 10."});
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.EditLineWidth->hasFocus());
    Retype(dialog.EditLineWidth, "abc");
    EXPECT_EQ(dialog.EditLineWidth->text(), "ab");
    EXPECT_EQ(solar->GetLineWidth(), 10);

    // The up-down steps from what the edit holds, within 1 … 10 and without wrapping.
    Retype(dialog.EditLineWidth, "15");
    QTest::mouseClick(dialog.UpDownLineWidth->ButtonDown, Qt::LeftButton);
    EXPECT_EQ(dialog.EditLineWidth->text(), "9");
    EXPECT_EQ(solar->GetLineWidth(), 9);
    for (int i = 0; i < 3; ++i)
        QTest::mouseClick(dialog.UpDownLineWidth->ButtonUp, Qt::LeftButton);
    EXPECT_EQ(dialog.EditLineWidth->text(), "10");
    Retype(dialog.EditLineWidth, "2");
    QTest::keyClick(dialog.EditLineWidth, Qt::Key_Down);
    QTest::keyClick(dialog.EditLineWidth, Qt::Key_Down);
    EXPECT_EQ(dialog.EditLineWidth->text(), "1");
    EXPECT_EQ(solar->GetLineWidth(), 1);
}

TEST_F(DialogSettingsTest, AxisLimitsMustBeWholeNumbersEvenWhenScalingIsDynamic)
{
    ChildSettings window;
    window.PrintTitle = "Old heading";
    dialog.SetWindowSettings(window);
    dialog.AddDeviceAndSelect(*solar);
    Show();
    EXPECT_TRUE(dialog.RadioAxisDynamic->isChecked());
    EXPECT_EQ(dialog.EditYMin->text(), "-10");
    EXPECT_EQ(dialog.EditYMax->text(), "120");
    EXPECT_EQ(dialog.EditOutputHeadline->text(), "Old heading");
    Retype(dialog.EditYMin, "abc");
    QTest::mouseClick(dialog.OKBtn, Qt::LeftButton);
    EXPECT_EQ(reported, QStringList{"Please only enter the value of the Y-axis in figures."});
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.GetWindowSettings().PrintTitle, "Old heading");

    Retype(dialog.EditYMin, "0");
    Retype(dialog.EditYMax, "80");
    Choose(dialog.RadioAxisFixed);
    Retype(dialog.EditOutputHeadline, "House");
    Retype(dialog.EditLineWidth, "4");
    QTest::mouseClick(dialog.OKBtn, Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const ChildSettings confirmed = dialog.GetWindowSettings();
    EXPECT_EQ(confirmed.AxisMin, 0);
    EXPECT_EQ(confirmed.AxisMax, 80);
    EXPECT_FALSE(confirmed.DynamicScaling);
    EXPECT_EQ(confirmed.PrintTitle, "House");
    EXPECT_EQ(solar->GetLineWidth(), 4);
    EXPECT_EQ(solar->GetBackup(), nullptr);
    EXPECT_EQ(dialog.Tree->topLevelItemCount(), 0);
    EXPECT_EQ(dialog.CurrentDevice(), nullptr);
}

TEST_F(DialogSettingsTest, CancelPutsBackEveryEditOnEveryDevice)
{
    dialog.ChooseColor = [](QWidget*, TColor) { return std::optional<TColor>(Teal); };
    ChildSettings window;
    dialog.SetWindowSettings(window);
    dialog.AddDeviceAndSelect(*solar);
    dialog.AddDevice(*store);
    Show();
    Click(NodeAt(0, 0, 0));
    Retype(dialog.EditLabel, "Collector");
    QTest::mouseClick(dialog.PanelColor, Qt::LeftButton);
    Choose(dialog.RadioOthersUseLines);
    Choose(dialog.RadioOutputsUseBars);
    EXPECT_EQ(solar->GetColor(0), Teal);
    EXPECT_FALSE(solar->OthersUseBars());
    EXPECT_TRUE(solar->OutputsUseBars());
    Click(NodeAt(1, 1, 1));
    Retype(dialog.EditLabel, "Flow");
    Retype(dialog.EditLineWidth, "7");
    QTest::mouseClick(dialog.PanelColor, Qt::LeftButton);
    EXPECT_EQ(store->GetLabel(Index(*store, "V")), "Flow");
    EXPECT_EQ(store->GetLineWidth(), 7);
    Retype(dialog.EditOutputHeadline, "Not wanted");

    QTest::mouseClick(dialog.CancelBtn, Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(solar->GetLabel(0), "T1");
    EXPECT_EQ(solar->GetColor(0), Red);
    EXPECT_TRUE(solar->OthersUseBars());
    EXPECT_FALSE(solar->OutputsUseBars());
    EXPECT_EQ(store->GetLabel(Index(*store, "V")), "V");
    EXPECT_EQ(store->GetColor(Index(*store, "V")), DefaultPalette[3]);
    EXPECT_EQ(store->GetLineWidth(), 2);
    EXPECT_EQ(solar->GetBackup(), nullptr);
    EXPECT_EQ(store->GetBackup(), nullptr);
    EXPECT_EQ(dialog.Tree->topLevelItemCount(), 0);
    EXPECT_EQ(dialog.GetWindowSettings().PrintTitle, "");
    // The next showing starts from the window's settings again.
    Show();
    EXPECT_EQ(dialog.EditOutputHeadline->text(), "");
}

TEST_F(DialogSettingsTest, RestoringTheMinimisedDialogKeepsTheEditsThatCancelUndoes)
{
    dialog.AddDeviceAndSelect(*solar);
    Show();
    Click(NodeAt(0, 0, 0));
    Retype(dialog.EditLabel, "Collector");
    Retype(dialog.EditOutputHeadline, "Typed");
    dialog.setWindowState(Qt::WindowMinimized);
    dialog.setWindowState(Qt::WindowNoState);
    ASSERT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.EditOutputHeadline->text(), "Typed");
    EXPECT_EQ(solar->GetLabel(0), "Collector");
    QTest::mouseClick(dialog.CancelBtn, Qt::LeftButton);
    EXPECT_EQ(solar->GetLabel(0), "T1");
}

TEST_F(DialogSettingsTest, EscAndTheFramesCloseBoxCancelToo)
{
    dialog.AddDeviceAndSelect(*solar);
    Show();
    Click(NodeAt(0, 0, 1));
    Retype(dialog.EditLabel, "Store");
    QTest::keyClick(dialog.EditLabel, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(solar->GetLabel(1), "T2");
    EXPECT_EQ(solar->GetBackup(), nullptr);
    EXPECT_EQ(dialog.Tree->topLevelItemCount(), 0);

    dialog.AddDeviceAndSelect(*solar);
    Show();
    Retype(dialog.EditLineWidth, "9");
    dialog.close();
    EXPECT_EQ(solar->GetLineWidth(), 2);
    EXPECT_EQ(solar->GetBackup(), nullptr);
    EXPECT_EQ(dialog.Tree->topLevelItemCount(), 0);
}

TEST_F(DialogSettingsTest, TheColourChooserOffersTheValuesColourAndThePalette)
{
    dialog.AddDeviceAndSelect(*solar);
    Show();
    QTreeWidgetItem* t1 = NodeAt(0, 0, 0);
    Click(t1);
    EXPECT_EQ(SwatchPixel(t1), ToQColor(Red));

    // Cancelled: the colour stays.
    QColor offered;
    WhenModalAppears([&](QWidget* modal) {
        auto* chooser = qobject_cast<QColorDialog*>(modal);
        ASSERT_TRUE(chooser);
        offered = chooser->currentColor();
        EXPECT_EQ(QColorDialog::customColor(0), ToQColor(Red));
        EXPECT_EQ(QColorDialog::customColor(1), ToQColor(DefaultPalette[0]));
        EXPECT_EQ(QColorDialog::customColor(2), ToQColor(DefaultPalette[1]));
        EXPECT_EQ(QColorDialog::customColor(15), ToQColor(DefaultPalette[14]));
        chooser->reject();
    });
    QTest::mouseClick(dialog.PanelColor, Qt::LeftButton);
    EXPECT_EQ(offered, ToQColor(Red));
    EXPECT_EQ(solar->GetColor(0), Red);

    // Confirmed: the value, the colour panel and the tree's swatch take the colour.
    WhenModalAppears([&](QWidget* modal) {
        auto* chooser = qobject_cast<QColorDialog*>(modal);
        ASSERT_TRUE(chooser);
        chooser->setCurrentColor(ToQColor(Teal));
        chooser->accept();
    });
    dialog.PanelColor->setFocus();
    QTest::keyClick(dialog.PanelColor, Qt::Key_Space);
    EXPECT_EQ(solar->GetColor(0), Teal);
    EXPECT_EQ(dialog.PanelColor->palette().color(QPalette::Window), ToQColor(Teal));
    EXPECT_EQ(SwatchPixel(t1), ToQColor(Teal));
}

} // namespace
