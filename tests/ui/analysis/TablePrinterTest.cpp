// The table on paper: pages in bands of columns and rows, portrait, every cell painted
// by the table's cell painter, read back from the PDF the printer wrote.
#include "ui/analysis/TablePrinter.h"

#include "ui/analysis/OutputFiles.h"

#include <QPrinter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Column c, row r holds "cCrR"; two fixed rows and one fixed column, as the table view.
TTableContent NumberedTable(int columns, int rows)
{
    TTableContent table;
    table.cells = TOverviewTable(columns, rows);
    for (int c = 0; c < columns; ++c)
        for (int r = 0; r < rows; ++r)
            table.cells.SetText(c, r, "c" + std::to_string(c) + "r" + std::to_string(r));
    SetFixedCounts(table);
    return table;
}

TTablePrintMetrics ScreenMetrics()
{
    TTablePrintMetrics metrics;
    metrics.columnWidth = 80;
    metrics.rowHeight = 17;
    metrics.lineWidth = 1;
    metrics.screenDpiY = 96;
    metrics.font = QFont(QStringLiteral("Arial"), 8);
    return metrics;
}

class TablePrinterTest : public testing::Test {
protected:
    // Prints through the print dialog (answered OK) to a PDF of the page size at 600 dpi.
    QString Print(const TTableContent& table, QPageSize::PageSizeId size, bool accept = true)
    {
        const QString path = dir.filePath(QStringLiteral("table.pdf"));
        QPrinter printer(QPrinter::HighResolution);
        printer.setPageOrientation(QPageLayout::Landscape);
        PrintTable(
            printer,
            [&](QPrinter& chosen) {
                orientationInDialog = chosen.pageLayout().orientation();
                chosen.setOutputFormat(QPrinter::PdfFormat);
                chosen.setOutputFileName(path);
                chosen.setResolution(600);
                chosen.setPageSize(QPageSize(size));
                return accept;
            },
            table, ScreenMetrics());
        return path;
    }

    QTemporaryDir dir;
    QPageLayout::Orientation orientationInDialog = QPageLayout::Landscape;
};

TEST(TablePages, BandsFollowTheAreaAndTheCellSize)
{
    // An A4 page at 600 dpi: 4960 × 7015 pixels, cells of 500 × 106 and lines of 1.
    const QRect area = TablePrintArea(4960, 7015);
    EXPECT_EQ(area.left(), 248);
    EXPECT_EQ(area.top(), 350);
    EXPECT_EQ(area.right() + 1, 4712);
    EXPECT_EQ(area.bottom() + 1, 6664);
    const TTablePages pages = PlanTablePages(area, 500, 106, 1, 30, 40);
    EXPECT_EQ(pages.columnsPerPage, (4464 - 1) / 501);
    EXPECT_EQ(pages.rowsPerPage, (6314 - 1) / 107);
    EXPECT_EQ(pages.across, 4);
    EXPECT_EQ(pages.down, 1);

    // A page too small for a single cell still prints one per page.
    const TTablePages tiny = PlanTablePages(QRect(0, 0, 100, 50), 500, 106, 1, 3, 2);
    EXPECT_EQ(tiny.columnsPerPage, 1);
    EXPECT_EQ(tiny.rowsPerPage, 1);
    EXPECT_EQ(tiny.Count(), 6);
}

TEST_F(TablePrinterTest, AWideTablePrintsItsColumnBandsOnPortraitPages)
{
    if (!PopplerAvailable())
        GTEST_SKIP() << "pdfinfo and pdftotext (poppler-utils) are not installed";
    const QString path = Print(NumberedTable(30, 40), QPageSize::A4);
    EXPECT_EQ(orientationInDialog, QPageLayout::Portrait);
    EXPECT_EQ(PdfInfo(path, "Pages"), "4");
    const QStringList size = PdfInfo(path, "Page size").split(' ');
    ASSERT_GE(size.size(), 3);
    EXPECT_LT(size[0].toDouble(), size[2].toDouble()); // portrait

    // Eight columns a page, all 40 rows on each; the fixed column only on the first.
    const QString first = PdfPageText(path, 1);
    for (const char* cell : {"c0r0", "c0r39", "c7r0", "c7r39"})
        EXPECT_TRUE(first.contains(cell)) << cell;
    EXPECT_FALSE(first.contains("c8r"));
    const QString second = PdfPageText(path, 2);
    EXPECT_TRUE(second.contains("c8r0"));
    EXPECT_TRUE(second.contains("c15r39"));
    EXPECT_FALSE(second.contains("c0r"));
    EXPECT_TRUE(PdfPageText(path, 4).contains("c29r39"));
}

TEST_F(TablePrinterTest, ATallTablePrintsTheColumnBandsOfARowBandFirst)
{
    if (!PopplerAvailable())
        GTEST_SKIP() << "pdfinfo and pdftotext (poppler-utils) are not installed";
    // A6 at 600 dpi holds 4 columns and about 29 rows a page.
    const QString path = Print(NumberedTable(30, 40), QPageSize::A6);
    EXPECT_EQ(PdfInfo(path, "Pages"), "16"); // 8 across, 2 down
    const QString page1 = PdfPageText(path, 1);
    int lastRow = 0;
    while (page1.contains(QStringLiteral("c0r%1").arg(lastRow + 1)))
        ++lastRow;
    EXPECT_GT(lastRow, 20);
    EXPECT_LT(lastRow, 39);
    EXPECT_TRUE(page1.contains(QStringLiteral("c3r%1").arg(lastRow)));
    EXPECT_FALSE(page1.contains("c4r"));
    const QString page2 = PdfPageText(path, 2);
    EXPECT_TRUE(page2.contains("c4r0"));
    EXPECT_FALSE(page2.contains(QStringLiteral("r%1").arg(lastRow + 1)));
    // Page 9 starts the second row band, again from the first column; the fixed rows
    // are not repeated.
    const QString page9 = PdfPageText(path, 9);
    EXPECT_TRUE(page9.contains(QStringLiteral("c0r%1").arg(lastRow + 1)));
    EXPECT_TRUE(page9.contains("c3r39"));
    EXPECT_FALSE(page9.contains("c0r0"));
    EXPECT_TRUE(PdfPageText(path, 16).contains("c29r39"));
}

TEST_F(TablePrinterTest, ACancelledDialogPrintsNothing)
{
    const QString path = Print(NumberedTable(3, 5), QPageSize::A4, false);
    EXPECT_FALSE(QFile::exists(path));
}

} // namespace
