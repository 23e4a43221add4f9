#include "ui/analysis/ChartWindowFixture.h"

#include "core/logdata/LogAnalysis.h"
#include "ui/analysis/GraphPanel.h"

#include <QCheckBox>
#include <QLabel>

#include <gtest/gtest.h>

namespace {

constexpr int Solar = 0; // bus 10
constexpr int Heating = 1; // bus 21

// What a list shows from the top: group headers as "# name", rows as their names,
// separators as "-", the note as "! text".
QStringList Describe(const QScrollArea& list)
{
    QList<QWidget*> parts;
    for (QWidget* child :
        list.widget()->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (child->height() > 0 && !child->objectName().startsWith("VSpace")
            && !qobject_cast<QHeaderView*>(child))
            parts.append(child);
    std::stable_sort(
        parts.begin(), parts.end(), [](QWidget* a, QWidget* b) { return a->y() < b->y(); });
    QStringList lines;
    for (QWidget* part : parts) {
        if (auto* row = qobject_cast<TGraphPanel*>(part))
            lines << row->Name();
        else if (auto* label = qobject_cast<QLabel*>(part))
            lines << (label->wordWrap() ? "! " : "# ") + label->text();
        else if (part->height() == 1)
            lines << "-";
    }
    return lines;
}

QStringList ColumnLines(const QScrollArea& list)
{
    QStringList names;
    for (QWidget* child : list.widget()->findChildren<QWidget*>())
        if (child->objectName().startsWith("VSpace"))
            names << child->objectName();
    names.sort();
    return names;
}

} // namespace

class ValueListTest : public ChartWindowFixture { };

TEST_F(ValueListTest, ADeviceListsItsValuesInGroupsWithDaySumsAfterTheOtherValues)
{
    LoadSamples({10, 21});
    EXPECT_EQ(Describe(*ListOf(Solar)),
        (QStringList{"# Inputs", "-", "T1", "-", "T2", "-", "T3", "-", "T4", "-",
            "# Other measured values", "-", "E", "-", "V", "-", "P", "-", "Sum of energy (Q)", "-",
            "Sum of flow rate (V)", "-", "# Outputs", "-", "R1", "-", "R2", "-"}));
    EXPECT_EQ(ColumnLines(*ListOf(Solar)), (QStringList{"VSpace1", "VSpace2"}));

    // Rows hold the value's index and colour; day sums have no data in a day window.
    TGraphPanel* t2 = RowOf(Solar, "T2");
    ASSERT_TRUE(t2 && t2->OverviewBox);
    EXPECT_TRUE(t2->PlotBox->isEnabled());
    EXPECT_EQ(t2->Swatch->palette().color(QPalette::Window), QColor(0, 0, 255));
    EXPECT_EQ(t2->height(), TGraphPanel::RowHeight);
    EXPECT_FALSE(RowOf(Solar, "Ptag")->PlotBox->isEnabled());
    EXPECT_FALSE(RowOf(Solar, "Ptag")->Label->isEnabled());

    // The group headers stand over the rows' column lines.
    const QList<QWidget*> children
        = ListOf(Solar)->widget()->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    const auto position = [&](const QString& text) {
        for (int i = 0; i < children.size(); ++i)
            if (auto* label = qobject_cast<QLabel*>(children[i]); label && label->text() == text)
                return i;
        return -1;
    };
    int vspace = -1;
    for (int i = 0; i < children.size(); ++i)
        if (children[i]->objectName() == "VSpace1")
            vspace = i;
    EXPECT_GT(position("Inputs"), vspace);
}

TEST_F(ValueListTest, ASingleDeviceHasNoOverviewBoxesAndOneColumnLine)
{
    LoadSamples({21});
    for (TGraphPanel* row : RowsOf(*ListOf(0)))
        EXPECT_FALSE(row->OverviewBox) << row->Name().toStdString();
    EXPECT_EQ(ColumnLines(*ListOf(0)), QStringList{"VSpace1"});
    EXPECT_EQ(Describe(*ListOf(0)).first(), "# Inputs");
}

TEST_F(ValueListTest, OtherValuesThatAreAllSumsKeepTheirHeaderAboveNoRows)
{
    WriteLog(DayFileName("11", 2024, 3, 1),
        {"DATE & TIME;T1[°C];Qtag[kWh]", "2024-03-01 00:00;20,0;0,0", "2024-03-01 12:00;25,0;4,5"});
    LoadLogs(EncodeDate(2024, 3, 1), EncodeDate(2024, 3, 1));
    EXPECT_EQ(Describe(*ListOf(0)),
        (QStringList{"# Inputs", "-", "T1", "-", "# Other measured values", "-",
            Device(0).DeviceSettings()->GetLabel(Field(0, "Ptag")).c_str(), "-"}));
}

TEST_F(ValueListTest, NamesAreCutAtTheHeaderColumnWithTheFullNameAsTip)
{
    LoadSamples({10, 21});
    TDeviceSettings& device = *Device(Solar).DeviceSettings();
    const std::string longName = "Collector temperature, south roof";
    device.SetLabel(Field(Solar, "T1"), longName);
    Device(Solar).ValuePanel()->RefreshRows();
    AlignRowsToHeader(*ListOf(Solar)->widget(), *header);

    TGraphPanel* t1 = RowOf(Solar, "T1");
    TGraphPanel* t2 = RowOf(Solar, "T2");
    EXPECT_EQ(t1->Label->toolTip().toStdString(), longName);
    EXPECT_NE(t1->Label->text().toStdString(), longName);
    EXPECT_LE(t1->Label->geometry().right(), 128);
    EXPECT_EQ(t2->Label->toolTip(), "");
    EXPECT_EQ(t2->Label->text(), "T2");
    // Sections 130, 36, 36: name edge 128, plot box at 128 + 13, overview box at
    // 128 + 36 + 14.
    EXPECT_EQ(t2->PlotBox->x(), 141);
    EXPECT_EQ(t2->OverviewBox->x(), 178);
    EXPECT_EQ(t1->PlotBox->x(), 141);

    // A wider name column shows the name in full again.
    header->resizeSection(0, 300);
    header->resize(372, 17);
    AlignRowsToHeader(*ListOf(Solar)->widget(), *header);
    EXPECT_EQ(t1->Label->text().toStdString(), longName);
    EXPECT_EQ(t1->Label->toolTip(), "");
    EXPECT_EQ(t2->PlotBox->x(), 298 + 13);
    QWidget* vspace2 = ListOf(Solar)->widget()->findChild<QWidget*>("VSpace2");
    EXPECT_EQ(vspace2->x(), 300 + 36 - 1);
}

TEST_F(ValueListTest, TheOverviewListShowsTheMarkedValuesOfEachDevice)
{
    LoadSamples({10, 21});
    // Nothing marked yet: a note instead of rows.
    SelectDevice(2);
    EXPECT_EQ(
        Describe(*overview), QStringList{"! You must first select data for the overview display"});

    SelectDevice(Solar);
    ClickOverview(RowOf(Solar, "T1"));
    ClickOverview(RowOf(Solar, "R2"));
    EXPECT_EQ(Device(Solar).OverviewMark(Field(Solar, "T1")), 1);
    ClickPlot(RowOf(Solar, "T1"));
    ClickPlot(RowOf(Solar, "R2"));
    ClickPlot(RowOf(Solar, "T2")); // shown but not marked

    SelectDevice(2);
    EXPECT_EQ(Describe(*overview), (QStringList{"# Solar controller", "-", "T1", "-", "R2", "-"}));
    for (TGraphPanel* row : RowsOf(*overview)) {
        EXPECT_FALSE(row->OverviewBox);
        EXPECT_TRUE(row->PlotBox->isChecked());
    }
    EXPECT_EQ(ColumnLines(*overview), (QStringList{"VSpace1", "VSpace2"}));
    // Only the marked values are drawn, the output in the first lane.
    EXPECT_TRUE(Drawn(Solar, "T1"));
    EXPECT_FALSE(Drawn(Solar, "T2"));
    EXPECT_EQ(view->OutputLaneNames(), QStringList{"R2"});
    EXPECT_EQ(chart->yAxis->label(), "[°C]");

    // Unmarking leaves the list as it is until it is built again.
    SelectDevice(Solar);
    ClickOverview(RowOf(Solar, "R2"));
    EXPECT_EQ(Describe(*overview).size(), 6);
    SelectDevice(2);
    EXPECT_EQ(Describe(*overview), (QStringList{"# Solar controller", "-", "T1", "-"}));

    // Unticking on the overview list hides the value.
    ClickPlot(RowsOf(*overview).first());
    EXPECT_FALSE(Drawn(Solar, "T1"));
    EXPECT_FALSE(Device(Solar).IsShown(Field(Solar, "T1")));
    EXPECT_FALSE(Drawn(Heating, "TA"));
}
