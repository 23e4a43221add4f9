// The table view of a real analysis window loaded from sample logs, as a user sees and
// uses it: the month, quarter and year tables, the device tabs, scrolling, the columns
// that grow to their texts, copying for a spreadsheet, the header over the value lists
// and a language change.
#include "ui/analysis/Childform.h"

#include "core/base/LanguageTable.h"
#include "core/base/Numbers.h"
#include "core/loading/LoadLogFiles.h"
#include "core/logdata/LogAnalysis.h"
#include "core/settings/DeviceSettings.h"
#include "core/settings/IniSettings.h"
#include "samplegen/SampleGenerator.h"
#include "support/GuiTestHelpers.h"
#include "ui/analysis/TableCellPainter.h"
#include "ui/analysis/TableClipboard.h"
#include "ui/analysis/TableGrid.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QMdiArea>
#include <QMenu>
#include <QMimeData>
#include <QTabBar>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextTable>
#include <QTimer>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace {

using Texts = QStringList;

class TableViewTest : public testing::Test {
protected:
    void SetUp() override
    {
        SelectLanguage(2);
        area.resize(1400, 900);
        area.show();
    }
    void TearDown() override
    {
        area.closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ReleaseIniSettings();
        SelectLanguage(1);
    }
    TChildform* NewWindow()
    {
        auto* child = new TChildform;
        area.addSubWindow(child);
        child->showMaximized();
        return child;
    }
    // Sample logs every quarter of an hour, without faults, loaded into a new window.
    TChildform* Load(CivilDate from, CivilDate to, std::vector<int> devices = {10, 21, 30})
    {
        TSampleOptions options;
        options.outputDir = samples.path().toStdString();
        options.from = from;
        options.to = to;
        options.devices = std::move(devices);
        options.intervalMinutes = 15;
        options.layout = TSampleLayout::Flat;
        options.faults = false;
        GenerateSampleLogs(options);
        TChildform* child = NewWindow();
        const TLoadResult result
            = LoadLogFiles(child->AnalysisSet(), FindLogFiles(samples.path().toStdString()),
                EncodeDate(from.year, from.month, from.day), EncodeDate(to.year, to.month, to.day));
        EXPECT_TRUE(result.failures.empty());
        child->FinishLoad();
        return child;
    }
    static void SelectSpan(TChildform* child, int span)
    {
        // The time-window list's own handler belongs to the navigation.
        const QSignalBlocker quiet(child->SpanTime);
        child->SpanTime->setCurrentIndex(span);
    }
    static Texts Row(const TTableGrid& grid, int r)
    {
        Texts texts;
        for (int c = 0; c < grid.ColumnCount(); ++c)
            texts << QString::fromStdString(grid.Content().Text(c, r));
        return texts;
    }
    static Texts Column(const TTableGrid& grid, int c)
    {
        Texts texts;
        for (int r = 0; r < grid.RowCount(); ++r)
            texts << QString::fromStdString(grid.Content().Text(c, r));
        return texts;
    }
    static QString Name(TChildform* child, int device)
    {
        return QString::fromStdString(
            child->AnalysisSet().Analysis(device)->DeviceSettings()->GetDisplayName());
    }
    static QString Day(int year, int month, int day)
    {
        return QString::fromStdString(
            FormatDateTime("dd. mmm. yyyy", EncodeDate(year, month, day)));
    }
    static void Settle(TTableGrid& grid)
    {
        for (int i = 0; i < 10; ++i) {
            grid.viewport()->repaint();
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents();
        }
    }
    static void ExpectTotalsAreColumnSums(const TTableGrid& grid)
    {
        const int last = grid.RowCount() - 1;
        for (int c = 1; c < grid.ColumnCount(); ++c) {
            double sum = 0;
            for (int r = 2; r < last; ++r) {
                double amount = 0;
                if (TryParseDecimalComma(grid.Content().Text(c, r), amount))
                    sum += amount;
            }
            EXPECT_EQ(grid.Content().Text(c, last), FormatAmount(sum)) << "column " << c;
        }
    }

    TemporarySettingsLocation location;
    QTemporaryDir samples;
    QMdiArea area;
};

TEST_F(TableViewTest, TheTableShowsTheMonthOfTheDisplayedDayForTheSelectedDevice)
{
    TChildform* child = Load({2024, 3, 1}, {2024, 4, 30});
    const TTableGrid& grid = *child->Grid;
    EXPECT_EQ(grid.ColumnCount(), 1) << "nothing is filled while the charts are shown";
    child->ShowTableView(true);
    ASSERT_TRUE(grid.isVisible());
    ASSERT_EQ(grid.RowCount(), 31 + 3);
    const Texts dates = Column(grid, 0);
    EXPECT_EQ(dates.first(), QStringLiteral("Daily overview"));
    EXPECT_EQ(dates[1], QStringLiteral("Date"));
    EXPECT_EQ(dates[2], Day(2024, 3, 1));
    EXPECT_EQ(dates[32], Day(2024, 3, 31));
    EXPECT_EQ(dates.last(), QStringLiteral("Total"));
    EXPECT_EQ(grid.Content().cells.Tag(0, 2), DayNumber(EncodeDate(2024, 3, 1)));
    ASSERT_GE(grid.ColumnCount(), 2);
    const Texts header = Row(grid, 0);
    EXPECT_EQ(header[1], Name(child, 0));
    for (int c = 2; c < grid.ColumnCount(); ++c)
        EXPECT_EQ(header[c], QString()) << "one name over the device's group";
    for (const QString& amount : Row(grid, 1).mid(1))
        EXPECT_TRUE(amount.endsWith("[kWh]") || amount.endsWith("[l]")) << amount.toStdString();
    ExpectTotalsAreColumnSums(grid);
    EXPECT_EQ(grid.FixedRows(), 2);
    EXPECT_EQ(grid.FixedColumns(), 1);

    // The "Overview" tab: every device's columns, each group under its device's name.
    const int deviceColumns = grid.ColumnCount() - 1;
    child->TabSetDevices->setCurrentIndex(child->TabSetDevices->count() - 1);
    EXPECT_GT(grid.ColumnCount() - 1, deviceColumns);
    Texts names;
    for (const QString& name : Row(grid, 0).mid(1))
        if (!name.isEmpty())
            names << name;
    // The heating circuit logs no power or flow with day totals: no columns of its own.
    EXPECT_EQ(names, (Texts{Name(child, 0), Name(child, 2)}));
    EXPECT_EQ(Row(grid, 0)[1 + deviceColumns], Name(child, 2));
    ExpectTotalsAreColumnSums(grid);

    // Another month: the table follows the window start.
    child->SetTimeWindow(EncodeDate(2024, 4, 11), EncodeDate(2024, 4, 10));
    child->ShowTableView(true);
    EXPECT_EQ(grid.RowCount(), 30 + 3);
    EXPECT_EQ(Column(grid, 0)[2], Day(2024, 4, 1));
}

TEST_F(TableViewTest, AMonthWithoutDataAQuarterIntoTheNextYearAndTheYearWindow)
{
    TChildform* child = Load({2023, 11, 20}, {2024, 2, 10}, {10, 21});
    const TTableGrid& grid = *child->Grid;
    child->ShowTableView(true);
    EXPECT_EQ(grid.RowCount(), 11 + 3) << "20 … 30 November";

    SelectSpan(child, 5);
    child->ShowTableView(true);
    const Texts quarter = Column(grid, 0);
    ASSERT_EQ(quarter.size(), 11 + 31 + 31 + 3);
    EXPECT_EQ(quarter[2], Day(2023, 11, 20));
    EXPECT_EQ(quarter[quarter.size() - 2], Day(2024, 1, 31));
    ExpectTotalsAreColumnSums(grid);

    SelectSpan(child, 4);
    child->SetTimeWindow(EncodeDate(2023, 10, 15), EncodeDate(2023, 10, 14));
    child->ShowTableView(true);
    ASSERT_EQ(grid.RowCount(), 3);
    EXPECT_EQ(Row(grid, 0).first(), QStringLiteral("Daily overview"));
    EXPECT_EQ(Row(grid, 1).first(), QStringLiteral("Date"));
    for (const QString& total : Row(grid, 2).mid(1))
        EXPECT_EQ(total, QStringLiteral("0,00"));
    EXPECT_EQ(grid.FixedRows(), 2);

    SelectSpan(child, 6);
    child->ShowTableView(true);
    const Texts months = Column(grid, 0);
    ASSERT_EQ(months.size(), 4 + 3);
    EXPECT_EQ(months.first(), QStringLiteral("Monthly overview"));
    EXPECT_EQ(
        months[2], QString::fromStdString(FormatDateTime("mmm. yyyy", EncodeDate(2023, 11, 1))));
    EXPECT_EQ(
        months[5], QString::fromStdString(FormatDateTime("mmm. yyyy", EncodeDate(2024, 2, 1))));
    ExpectTotalsAreColumnSums(grid);
}

TEST_F(TableViewTest, FixedRowsAndColumnStayWhileTheWheelScrollsOneRowAtATime)
{
    TChildform* child = Load({2024, 3, 1}, {2024, 3, 31});
    child->TabSetDevices->setCurrentIndex(child->TabSetDevices->count() - 1);
    child->ShowTableView(true);
    TTableGrid& grid = *child->Grid;
    grid.resize(260, 200); // room for a few rows and columns only
    QCoreApplication::processEvents();
    ASSERT_LT(grid.VisibleRowCount() + grid.FixedRows(), grid.RowCount());
    const auto wheel = [&](int delta) {
        const QPoint at(50, 50);
        QWheelEvent event(at, grid.viewport()->mapToGlobal(at), {}, {0, delta}, Qt::NoButton,
            Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(grid.viewport(), &event);
    };
    wheel(120);
    EXPECT_EQ(grid.TopRow(), 2) << "already at the top";
    wheel(-120);
    wheel(-120);
    EXPECT_EQ(grid.TopRow(), 4);
    wheel(120);
    EXPECT_EQ(grid.TopRow(), 3);
    for (int i = 0; i < 100; ++i)
        wheel(-120);
    EXPECT_EQ(grid.VisibleRowCount() + grid.TopRow(), grid.RowCount()) << "stops at the end";
    grid.SetLeftColumn(3);

    // The header rows and the date column are where they were; the rest moved.
    EXPECT_EQ(grid.CellRect(0, 0).topLeft(), QPoint(0, 0));
    EXPECT_EQ(grid.CellRect(1, 0).top(), 0);
    EXPECT_EQ(grid.CellRect(0, 1).top(), TTableGrid::DefaultRowHeight + 1);
    EXPECT_TRUE(grid.CellRect(0, 2).isEmpty());
    EXPECT_TRUE(grid.CellRect(1, 0).isEmpty());
    const QRect firstShown = grid.CellRect(0, grid.TopRow());
    EXPECT_EQ(firstShown.top(), 2 * (TTableGrid::DefaultRowHeight + 1));
    EXPECT_EQ(grid.CellRect(3, 0).left(), grid.ColumnWidth(0) + 1);

    // And they are painted there in the fixed colour.
    Settle(grid);
    const QImage picture = grid.viewport()->grab().toImage();
    // (Beside the texts, which start two pixels in and three down.)
    EXPECT_EQ(picture.pixelColor(1, 1), TableFixedColour);
    EXPECT_EQ(picture.pixelColor(grid.ColumnWidth(0) + 10, 1), TableFixedColour);
    EXPECT_EQ(picture.pixelColor(1, firstShown.center().y()), TableFixedColour);
    const QRect value = grid.CellRect(3, grid.TopRow() + 1);
    EXPECT_EQ(picture.pixelColor(value.left() + 2, value.center().y()), QColor(Qt::white));
}

TEST_F(TableViewTest, AColumnTooNarrowForItsTextGrowsToTextWidthPlusThreeAfterThePaint)
{
    TChildform* child = Load({2024, 3, 1}, {2024, 3, 5}, {10});
    TLogAnalysis& solar = *child->AnalysisSet().Analysis(0);
    int power = -1;
    ASSERT_TRUE(solar.DeviceSettings()->IndexOfValue("P", power));
    solar.DeviceSettings()->SetLabel(power, "Power of the solar collector field");
    child->ShowTableView(true);
    TTableGrid& grid = *child->Grid;
    QCoreApplication::processEvents();
    int column = -1;
    for (int c = 1; c < grid.ColumnCount(); ++c)
        if (grid.Content().Text(c, 1).starts_with("Qower"))
            column = c;
    ASSERT_GT(column, 0);
    const QFontMetrics metrics(grid.font());
    const int textWidth
        = metrics.horizontalAdvance(QString::fromStdString(grid.Content().Text(column, 1)));
    ASSERT_GT(textWidth + 3, TTableGrid::DefaultColumnWidth);

    // The pass that finds the column too narrow paints nothing in it.
    const QRect cell = grid.CellRect(column, 1);
    const QImage first = grid.viewport()->grab().toImage();
    EXPECT_EQ(first.pixelColor(cell.left() + 3, cell.center().y()), QColor(Qt::white));
    EXPECT_EQ(grid.ColumnWidth(column), TTableGrid::DefaultColumnWidth) << "not inside the paint";
    QCoreApplication::processEvents();
    EXPECT_EQ(grid.ColumnWidth(column), textWidth + 3);
    const QImage second = grid.viewport()->grab().toImage();
    EXPECT_EQ(second.pixelColor(cell.left() + 3, cell.center().y()), TableFixedColour);
}

TEST(TableClipboardTest, NumbersTakeTheLocalesSeparatorAndEverythingElseStaysAsShown)
{
    const struct {
        std::string shown;
        QString point, comma;
    } cases[] = {
        {"2609,60", "2609.60", "2609,60"},
        {"-0,50", "-0.50", "-0,50"},
        {"01. Mär. 2024", "01. Mär. 2024", "01. Mär. 2024"},
        {"Qtag [kWh]", "Qtag [kWh]", "Qtag [kWh]"},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ClipboardCellText(c.shown, "."), c.point) << c.shown;
        EXPECT_EQ(ClipboardCellText(c.shown, ","), c.comma) << c.shown;
    }
}

TEST_F(TableViewTest, CopiedCellsPasteAsNumbersOfTheSystemLocaleInTextAndHtml)
{
    TChildform* child = Load({2024, 3, 1}, {2024, 3, 3}, {10});
    area.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&area));
    // Ctrl+C right after switching to the table: the first value cell is selected.
    QApplication::clipboard()->clear();
    child->ShowTableView(true);
    TTableGrid& grid = *child->Grid;
    ASSERT_GE(grid.ColumnCount(), 3);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_C, Qt::ControlModifier);
    const auto shown = [&](int c, int r) { return grid.Content().Text(c, r); };
    // What a spreadsheet of the system's locale reads from the clipboard.
    const QLocale system = QLocale::system();
    const auto expectNumber = [&](const QString& pasted, const std::string& cell) {
        double expected = 0;
        ASSERT_TRUE(TryParseDecimalComma(cell, expected)) << cell;
        bool isNumber = false;
        EXPECT_DOUBLE_EQ(system.toDouble(pasted, &isNumber), expected) << pasted.toStdString();
        EXPECT_TRUE(isNumber) << pasted.toStdString();
    };
    ASSERT_EQ(QApplication::clipboard()->text().count('\t'), 0);
    expectNumber(QApplication::clipboard()->text().trimmed(), shown(1, 2));

    // A selection made with the mouse.
    Settle(grid);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.CellRect(1, 2).center());
    QTest::mouseClick(
        grid.viewport(), Qt::LeftButton, Qt::ShiftModifier, grid.CellRect(2, 3).center());
    EXPECT_EQ(grid.Selection(), QRect(1, 2, 2, 2));
    QTest::keyClick(&grid, Qt::Key_C, Qt::ControlModifier);
    const QString selection = QApplication::clipboard()->text();
    EXPECT_EQ(selection.count('\n'), 2);
    expectNumber(selection.section('\n', 1, 1).section('\t', 1, 1), shown(2, 3));

    // "Copy table" in the context menu: every row with the header rows and the date
    // column, as text and as an HTML table of the same cells.
    QStringList items;
    QTimer::singleShot(50, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_TRUE(menu);
        for (QAction* action : menu->actions())
            items << action->text();
        menu->actions().last()->trigger();
        menu->close();
    });
    QContextMenuEvent event(
        QContextMenuEvent::Keyboard, QPoint(20, 20), grid.mapToGlobal(QPoint(20, 20)));
    QCoreApplication::sendEvent(&grid, &event);
    EXPECT_EQ(items, (QStringList{"Copy", "Copy table"}));
    const QMimeData* copied = QApplication::clipboard()->mimeData();
    ASSERT_TRUE(copied && copied->hasHtml());
    QTextDocument document;
    document.setHtml(copied->html());
    QTextTable* table = nullptr;
    for (QTextFrame* frame : document.rootFrame()->childFrames())
        if (auto* found = qobject_cast<QTextTable*>(frame))
            table = found;
    ASSERT_TRUE(table);
    ASSERT_EQ(table->rows(), grid.RowCount());
    ASSERT_EQ(table->columns(), grid.ColumnCount());
    const QStringList rows = copied->text().split('\n');
    ASSERT_EQ(rows.size(), grid.RowCount() + 1);
    for (int r = 0; r < grid.RowCount(); ++r) {
        const QStringList cells = rows[r].split('\t');
        ASSERT_EQ(cells.size(), grid.ColumnCount()) << r;
        for (int c = 0; c < grid.ColumnCount(); ++c) {
            const QString html = table->cellAt(r, c).firstCursorPosition().block().text();
            EXPECT_EQ(html, cells[c]) << c << "," << r;
            if (c == 0 || r < 2)
                EXPECT_EQ(cells[c].toStdString(), shown(c, r)) << "texts as shown";
            else
                expectNumber(cells[c], shown(c, r));
        }
    }
    EXPECT_EQ(rows[grid.RowCount() - 1].section('\t', 0, 0), QStringLiteral("Total"));
}

TEST_F(TableViewTest, HeaderWidthsAreStoredWithinTheirMinimumsAndHintTheSectionText)
{
    GetIniSettings();
    TChildform* first = Load({2024, 3, 1}, {2024, 3, 2});
    first->HeaderControl->resizeSection(1, 60);
    EXPECT_EQ(first->CurrentChildSettings().HeaderWidth1, 60);
    const int panel = first->PanelLeftWidth();
    first->HeaderControl->resizeSection(1, 70);
    EXPECT_EQ(first->PanelLeftWidth(), panel + 10);
    first->close();
    EXPECT_EQ(GetIniSettings().GetChildSettings().HeaderWidth1, 70);
    TChildform* next = NewWindow();
    EXPECT_EQ(next->HeaderControl->sectionSize(1), 70);

    // Stored widths below a section's minimum are raised to it.
    ChildSettings narrow = GetIniSettings().GetChildSettings();
    narrow.HeaderWidth0 = 10;
    narrow.HeaderWidth2 = 5;
    GetIniSettings().SetChildSettings(narrow);
    TChildform* third = NewWindow();
    EXPECT_EQ(third->HeaderControl->sectionSize(0), 72);
    EXPECT_EQ(third->HeaderControl->sectionSize(2), 36);

    // The pointer over a section gives its text as hint.
    TChildform* loaded = Load({2024, 3, 1}, {2024, 3, 2});
    QHeaderView* header = loaded->HeaderControl;
    QTest::mouseMove(header->viewport(), QPoint(header->sectionViewportPosition(1) + 5, 8));
    EXPECT_EQ(header->toolTip(), loaded->TabSetDevices->tabText(0));
    QTest::mouseMove(header->viewport(), QPoint(header->sectionViewportPosition(2) + 5, 8));
    EXPECT_EQ(header->toolTip(), QStringLiteral("Overview display"));
}

TEST_F(TableViewTest, OneDeviceLetsItsSecondSectionNarrowTo18)
{
    TChildform* child = Load({2024, 3, 1}, {2024, 3, 2}, {10});
    ASSERT_EQ(child->HeaderControl->count(), 2);
    child->HeaderControl->resizeSection(1, 10);
    EXPECT_EQ(child->HeaderControl->sectionSize(1), 18);
}

TEST_F(TableViewTest, TheTableFollowsALanguageChangeAtOnce)
{
    TChildform* child = Load({2024, 3, 1}, {2024, 3, 2}, {10, 21});
    child->ShowTableView(true);
    SelectLanguage(3);
    child->ApplyLanguageAndLayout();
    const TTableGrid& grid = *child->Grid;
    EXPECT_EQ(Row(grid, 0).first(), QStringLiteral("Vue journalière"));
    EXPECT_EQ(Row(grid, 1).first(), QStringLiteral("Date"));
    EXPECT_EQ(Column(grid, 0).last(), QStringLiteral("Total"));
    EXPECT_EQ(Row(grid, 0)[1], Name(child, 0));
    EXPECT_TRUE(child->TableViewActive());
    EXPECT_EQ(child->AnalysisSet().MonthlyOverview()->Text(0, 0), "Vue mensuelle");
    SelectLanguage(4);
    child->ApplyLanguageAndLayout();
    EXPECT_EQ(Column(grid, 0).last(), QStringLiteral("Total"));
    EXPECT_EQ(Row(grid, 0).first(), QStringLiteral("Resumen diario"));
    EXPECT_EQ(child->AnalysisSet().AnnualOverview()->Text(0, 0), "Resumen anual");
}

} // namespace
