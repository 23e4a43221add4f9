// Pictures and printouts of a real analysis window loaded from sample logs: what the
// saved files hold, the names proposed, and the charts coming back as they were.
#include "ui/analysis/ChartOutput.h"
#include "support/LoadedWindow.h"

#include "core/base/LanguageTable.h"
#include "core/loading/LoadLogFiles.h"
#include "core/logdata/LogAnalysis.h"
#include "core/settings/IniSettings.h"
#include "samplegen/SampleGenerator.h"
#include "support/GuiTestHelpers.h"
#include "ui/analysis/ChartLook.h"
#include "ui/analysis/ChartView.h"
#include "ui/analysis/Childform.h"
#include "ui/analysis/GraphPanel.h"
#include "ui/analysis/OutputFiles.h"
#include "ui/analysis/TableGrid.h"
#include "ui/analysis/ValueSelector.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMdiArea>
#include <QPrinter>
#include <QScreen>
#include <QScrollArea>
#include <QTabBar>
#include <QTest>

#include <qcustomplot.h>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

constexpr int SpanDay = 3;
constexpr int SpanMonth = 4;

class ChartOutputTest : public testing::Test {
protected:
    void SetUp() override { SelectLanguage(2); }
    void TearDown() override
    {
        area.closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ReleaseIniSettings();
        SelectLanguage(1);
    }

    void Load(const std::vector<int>& devices, CivilDate from, CivilDate to)
    {
        TSampleOptions options;
        options.outputDir = samples.path().toStdString();
        options.from = from;
        options.to = to;
        options.devices = devices;
        options.layout = TSampleLayout::Flat;
        options.faults = false;
        GenerateSampleLogs(options);
        area.resize(1100, 760);
        area.show();
        TLoadResult result;
        child = OpenLoadedWindow(area, samples.path().toStdString(),
            EncodeDate(from.year, from.month, from.day), EncodeDate(to.year, to.month, to.day),
            result);
        ASSERT_TRUE(result.failures.empty());
    }

    TLogAnalysis& Device(int index) { return *child->AnalysisSet().Analysis(index); }
    int Field(int device, const std::string& name)
    {
        int index = -1;
        Device(device).DeviceSettings()->IndexOfValue(name, index);
        return index;
    }
    void Tick(int device, const std::string& name)
    {
        for (QScrollArea* scroll : child->findChildren<QScrollArea*>())
            if (scroll->isVisible())
                for (TGraphPanel* row : RowsOf(*scroll))
                    if (&row->Analysis() == &Device(device)
                        && row->ValueIndex() == Field(device, name)) {
                        QTest::mouseClick(row->PlotBox, Qt::LeftButton, {}, QPoint(6, 8));
                        return;
                    }
        FAIL() << "no row " << name;
    }
    // Plots the value on its device's tab and marks it for "Overview".
    void MarkForOverview(int device, const std::string& name)
    {
        Tick(device, name);
        for (QScrollArea* scroll : child->findChildren<QScrollArea*>())
            if (scroll->isVisible())
                for (TGraphPanel* row : RowsOf(*scroll))
                    if (&row->Analysis() == &Device(device)
                        && row->ValueIndex() == Field(device, name) && row->OverviewBox)
                        QTest::mouseClick(row->OverviewBox, Qt::LeftButton, {}, QPoint(6, 8));
    }
    QColor ColourOf(int device, const std::string& name)
    {
        return ChartColor(Device(device).Series(Field(device, name))->Style().color);
    }
    // Saves through the output with the file name a user would choose.
    void SaveAs(const QString& name)
    {
        TOutputDialogs dialogs = child->ChartOutput().Dialogs();
        dialogs.saveFile = [this, name](const QString& proposed, const QString& filters) {
            proposedName = proposed;
            offeredFilters = filters;
            return name;
        };
        child->ChartOutput().SetDialogs(dialogs);
        child->SaveChartImage();
    }
    // Prints to a PDF file at the resolution; the print dialog answers OK.
    void PrintToPdf(const QString& path, int dpi)
    {
        TOutputDialogs dialogs = child->ChartOutput().Dialogs();
        dialogs.printer = [path, dpi](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(path);
            printer.setResolution(dpi);
            printer.setPageSize(QPageSize(QPageSize::A4));
            return true;
        };
        child->ChartOutput().SetDialogs(dialogs);
        child->PrintWindow();
    }
    // Lays a chart out as the picture does and maps a data point into the picture.
    QPoint InPicture(QCustomPlot& plot, QSize size, int top, double x, double y, QCPAxis* axis)
    {
        child->ChartOutput().PrepareForOutput(true);
        QImage scratch(size, QImage::Format_RGB32);
        QCPPainter painter(&scratch);
        child->ChartView().DrawAtSize(plot, painter, size);
        painter.end();
        const QPoint p(static_cast<int>(plot.xAxis->coordToPixel(x)),
            top + static_cast<int>(axis->coordToPixel(y)));
        child->ChartOutput().PrepareForOutput(false);
        child->ChartView().RepaintNow();
        return p;
    }
    QString Temp(const QString& name) const { return files.filePath(name); }

    // What the screen shows that an output must give back.
    struct ScreenLook {
        QString title, lowerTitle;
        QMargins margins, margins2;
        bool legend, legend2;
        QString firstSeriesName;
        bool operator==(const ScreenLook&) const = default;
    };
    ScreenLook Look()
    {
        child->ChartView().RepaintNow();
        ScreenLook look;
        look.title = child->ChartView().Title();
        look.lowerTitle = child->ChartView().LowerTitle();
        look.margins = child->Chart->plotLayout()->margins();
        look.margins2 = child->Chart2->plotLayout()->margins();
        look.legend = child->Chart->legend->visible()
            || child->Chart->legend->layout() != child->Chart->axisRect()->insetLayout();
        look.legend2 = child->Chart2->legend->visible()
            || child->Chart2->legend->layout() != child->Chart2->axisRect()->insetLayout();
        if (child->Chart->plottableCount() > 0)
            look.firstSeriesName
                = child->Chart->plottable(child->Chart->plottableCount() - 1)->name();
        return look;
    }

    TemporarySettingsLocation location;
    QTemporaryDir samples;
    QTemporaryDir files;
    QMdiArea area;
    TChildform* child = nullptr;
    QString proposedName;
    QString offeredFilters;
};

bool Near(const QColor& a, const QColor& b, int tolerance = 24)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
        && std::abs(a.blue() - b.blue()) <= tolerance;
}

bool ColourAround(const QImage& image, QPoint p, const QColor& colour, int radius = 3)
{
    for (int dx = -radius; dx <= radius; ++dx)
        for (int dy = -radius; dy <= radius; ++dy)
            if (image.rect().contains(p + QPoint(dx, dy))
                && Near(image.pixelColor(p + QPoint(dx, dy)), colour))
                return true;
    return false;
}

// The leftmost and rightmost columns that are dark over most of the rows: the value
// axes' lines at the edges of a plot area.
std::pair<int, int> AxisLines(const QImage& image, int fromY, int toY)
{
    int left = -1, right = -1;
    for (int x = 0; x < image.width(); ++x) {
        int dark = 0;
        for (int y = fromY; y < toY; ++y)
            dark += qGray(image.pixel(x, y)) < 100;
        if (dark > (toY - fromY) * 8 / 10) {
            if (left < 0)
                left = x;
            right = x;
        }
    }
    return {left, right};
}

// What a time label of the charts' 8-point font measures in a PDF.
double ChartTextHeight()
{
    static const double height = PdfHeightOfText(ChartFont(), "12:00");
    return height;
}

// The width of the upper chart's left value axis on the printed page: the ink of the
// columns around it, read from the page rendered at 300 dots per inch.
double AxisLineWidthMm(const QString& pdf)
{
    constexpr int Dpi = 300;
    const QImage page = PdfPageImage(pdf, 1, Dpi);
    if (page.isNull())
        return 0;
    const int fromY = page.height() / 5;
    const int toY = page.height() * 2 / 5;
    const int axis = AxisLines(page, fromY, toY).first;
    if (axis < 0)
        return 0;
    double ink = 0;
    for (int x = std::max(axis - 4, 0); x <= std::min(axis + 4, page.width() - 1); ++x)
        for (int y = fromY; y < toY; ++y)
            ink += (255 - qGray(page.pixel(x, y))) / 255.0;
    return ink / (toY - fromY) * 25.4 / Dpi;
}

TEST_F(ChartOutputTest, ASavedJpegIsTheWholePictureAtQualityHundred)
{
    Load({10}, {2024, 3, 1}, {2024, 3, 2});
    Tick(0, "T1"); // a line on the left axis
    Tick(0, "P"); // an area on the right axis
    Tick(0, "R1"); // an output lane
    const QString path = Temp(QStringLiteral("Result.jpg"));
    SaveAs(path);
    EXPECT_EQ(proposedName, "Chart2024_03_01");
    EXPECT_TRUE(offeredFilters.startsWith("Image files (*.jpg)|*.jpg|Image files (*.bmp)|*.bmp|"));
    EXPECT_TRUE(offeredFilters.endsWith("All files (*.*)|*"));

    const DecodedJpeg jpeg = ReadJpeg(path);
    ASSERT_EQ(jpeg.picture.size(), QSize(1280, 1024));
    ASSERT_FALSE(jpeg.tables.empty());
    for (const auto& table : jpeg.tables)
        for (unsigned entry : table)
            EXPECT_EQ(entry, 1u); // quality 100

    // The upper chart takes its share of the height by the screen heights.
    const int total = child->Chart->height() + child->Chart2->height();
    const int upper = child->Chart->height() * 1024 / total;
    const TFieldSeries& t1 = *Device(0).Series(Field(0, "T1"));
    const int at = t1.Points().LowerBound(EncodeDate(2024, 3, 1) + 0.5);
    const QPoint line = InPicture(*child->Chart, QSize(1280, upper), 0, t1.Points().X(at),
        t1.Points().Y(at), child->Chart->yAxis);
    EXPECT_TRUE(ColourAround(jpeg.picture, line, ColourOf(0, "T1")));

    const TFieldSeries& p = *Device(0).Series(Field(0, "P"));
    const int sunny = p.Points().LowerBound(EncodeDate(2024, 3, 1) + 13.0 / 24);
    const QPoint area = InPicture(*child->Chart, QSize(1280, upper), 0, p.Points().X(sunny),
        p.Points().Y(sunny) / 2, child->Chart->yAxis2);
    EXPECT_TRUE(ColourAround(jpeg.picture, area, ColourOf(0, "P")));

    // The pump's lane: its zero line and full range lie in the lower part.
    const TFieldSeries& r1 = *Device(0).Series(Field(0, "R1"));
    int running = 0;
    for (int i = 0; i < r1.Points().Count(); ++i)
        if (!r1.Points().IsNull(i) && r1.Points().Y(i) > r1.Points().Y(running))
            running = i;
    ASSERT_GT(r1.Points().Y(running), 0);
    const QPoint lane = InPicture(*child->Chart2, QSize(1280, 1024 - upper), upper,
        r1.Points().X(running) + 1.0 / 1440, r1.Points().Y(running), child->Chart2->yAxis);
    EXPECT_GT(lane.y(), upper);
    EXPECT_TRUE(ColourAround(jpeg.picture, lane, ColourOf(0, "R1")));

    // Both plot areas start and end at the same x.
    const auto [left1, right1] = AxisLines(jpeg.picture, upper / 3, upper * 2 / 3);
    const auto [left2, right2]
        = AxisLines(jpeg.picture, upper + (1024 - upper) / 3, upper + (1024 - upper) * 2 / 3);
    EXPECT_GT(left1, 0);
    EXPECT_EQ(left1, left2);
    EXPECT_EQ(right1, right2);
    EXPECT_GT(right1, left1 + 1000);
}

TEST_F(ChartOutputTest, BothChartsOfAPictureChooseTheirTimeLabelsForThePicturesWidth)
{
    Load({10}, {2024, 3, 1}, {2024, 3, 31});
    Tick(0, "T1");
    Tick(0, "R1");
    child->SpanTime->setCurrentIndex(SpanMonth);
    // The ticks each chart is drawn into the picture with, taken when its layout is done.
    QVector<double> upperTicks, lowerTicks;
    const auto takeTicks = [](QCustomPlot* chart, QVector<double>& ticks) {
        QObject::connect(chart, &QCustomPlot::afterLayout, [chart, &ticks] {
            if (chart->viewport().width() == 1280)
                ticks = chart->xAxis->tickVector();
        });
    };
    takeTicks(child->Chart, upperTicks);
    takeTicks(child->Chart2, lowerTicks);
    ASSERT_LT(child->Chart->axisRect()->width(), 1000); // fewer labels fit on the screen
    SaveAs(Temp(QStringLiteral("month.jpg")));
    EXPECT_FALSE(lowerTicks.isEmpty());
    EXPECT_EQ(lowerTicks, upperTicks);
}

TEST_F(ChartOutputTest, DaySumsAppearAsBarsAndTheLegendAtTheTop)
{
    Load({10}, {2024, 3, 1}, {2024, 3, 3});
    child->SetTimeWindow(EncodeDate(2024, 4, 1), EncodeDate(2024, 3, 1));
    Device(0).SetSumFieldsAvailable(true);
    Device(0).DeviceSettings()->SetOthersUseBars(true);
    Device(0).ApplyDisplaySettings();
    Tick(0, "Ptag");
    ASSERT_TRUE(
        child->ChartView().UpperTarget().PlottableOf(*Device(0).Series(Field(0, "Ptag")))->Bars());
    const QImage picture = child->ChartOutput().RenderPicture();
    const TFieldSeries& sums = *Device(0).Series(Field(0, "Ptag"));
    const QPoint bar = InPicture(*child->Chart, QSize(1280, 1024), 0, sums.Points().X(1),
        sums.Points().Y(1) / 2, child->Chart->yAxis);
    EXPECT_TRUE(ColourAround(picture, bar, ColourOf(0, "Ptag")));
    // The legend's swatch stands in a row above the plot area, not in the plot area.
    int swatchRow = -1;
    for (int y = 0; y < 200 && swatchRow < 0; ++y)
        for (int x = 0; x < 1280; ++x)
            if (Near(picture.pixelColor(x, y), ColourOf(0, "Ptag"), 8)) {
                swatchRow = y;
                break;
            }
    EXPECT_GE(swatchRow, 0);
    EXPECT_LT(swatchRow, bar.y());
}

TEST_F(ChartOutputTest, ABitmapAndAPngAreWrittenByTheirNames)
{
    Load({10}, {2024, 3, 1}, {2024, 3, 1});
    Tick(0, "T1");
    const QString bmp = Temp(QStringLiteral("Result.BMP"));
    SaveAs(bmp);
    QFile file(bmp);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_GT(bytes.size(), 54);
    EXPECT_EQ(bytes.left(2), "BM");
    const auto word = [&](int at) {
        return static_cast<unsigned char>(bytes[at])
            | static_cast<unsigned char>(bytes[at + 1]) << 8;
    };
    EXPECT_EQ(word(18), 1280);
    EXPECT_EQ(word(22), 1024);
    EXPECT_EQ(word(28), 24);
    EXPECT_EQ(bytes.size(), 54 + 1280 * 3 * 1024);
    const QImage read(bmp, "BMP");
    EXPECT_EQ(read.size(), QSize(1280, 1024));
    EXPECT_FALSE(QFile::exists(bmp + ".jpg"));

    const QString png = Temp(QStringLiteral("Result.png"));
    SaveAs(png);
    EXPECT_EQ(QImage(png, "PNG").size(), QSize(1280, 1024));
    EXPECT_FALSE(QFile::exists(png + ".jpg"));

    SaveAs(Temp(QStringLiteral("Plain")));
    EXPECT_EQ(ReadJpeg(Temp(QStringLiteral("Plain.jpg"))).picture.size(), QSize(1280, 1024));
}

TEST(ChartOutputNames, ProposedNamesFollowTheTimeWindow)
{
    EXPECT_EQ(
        ProposedImageName(EncodeDate(2009, 1, 1), EncodeDate(2009, 4, 1), 5), "Chart_Jan-Mar_2009");
    EXPECT_EQ(ProposedImageName(EncodeDate(2009, 1, 15), EncodeDate(2009, 1, 16), SpanDay),
        "Chart2009_01_15");
    EXPECT_EQ(ProposedImageName(EncodeDate(2009, 1, 15) + 0.25, EncodeDate(2009, 1, 15) + 0.3, 0),
        "Chart2009_01_15");
    EXPECT_EQ(ProposedImageName(EncodeDate(2009, 11, 1), EncodeDate(2009, 12, 1), SpanMonth),
        "Chart_Nov_2009");
    EXPECT_EQ(ProposedImageName(EncodeDate(2008, 11, 1), EncodeDate(2009, 2, 1), 5),
        "Chart_Nov-Jan_2009");
    EXPECT_EQ(ProposedImageName(EncodeDate(2009, 1, 1), EncodeDate(2010, 1, 1), 6), "Chart_2009");

    QString name = "Result.BMP";
    EXPECT_EQ(PictureFormatFor(name), TPictureFormat::Bmp);
    EXPECT_EQ(name, "Result.BMP");
    name = "x.bmp.jpg";
    EXPECT_EQ(PictureFormatFor(name), TPictureFormat::Bmp);
    name = "Result.png";
    EXPECT_EQ(PictureFormatFor(name), TPictureFormat::Png);
    name = "Result.PDF";
    EXPECT_EQ(PictureFormatFor(name), TPictureFormat::Pdf);
    name = "Result.JPG";
    EXPECT_EQ(PictureFormatFor(name), TPictureFormat::Jpeg);
    EXPECT_EQ(name, "Result.JPG");
    name = "Result.gif";
    EXPECT_EQ(PictureFormatFor(name), TPictureFormat::Jpeg);
    EXPECT_EQ(name, "Result.gif.jpg");
}

TEST_F(ChartOutputTest, TheWindowProposesTheQuarterByItsMonths)
{
    Load({10}, {2009, 1, 1}, {2009, 1, 2});
    Tick(0, "T1");
    {
        const QSignalBlocker quiet(child->SpanTime);
        child->SpanTime->setCurrentIndex(5);
    }
    child->SetTimeWindow(EncodeDate(2009, 4, 1), EncodeDate(2009, 1, 1));
    SaveAs(QString()); // cancelled
    EXPECT_EQ(proposedName, "Chart_Jan-Mar_2009");
}

TEST_F(ChartOutputTest, OnlyTheLowerChartFillsThePictureUnderTheUpperTitle)
{
    Load({10, 21}, {2024, 3, 1}, {2024, 3, 1});
    ChildSettings settings = child->CurrentChildSettings();
    settings.PrintTitle = "Plant Miller";
    child->ApplyChildSettings(settings);
    Tick(0, "R1");
    ASSERT_FALSE(child->ChartOutput().UpperTakesPart());
    const QString title = child->ChartView().Title();

    child->ChartOutput().PrepareForOutput(true);
    const QString tab = child->TabSetDevices->tabText(0);
    EXPECT_EQ(child->ChartView().LowerTitle(), "Plant Miller\n" + tab + ": " + title);
    child->ChartOutput().PrepareForOutput(false);
    EXPECT_EQ(child->ChartView().Title(), title);
    EXPECT_EQ(child->ChartView().LowerTitle(), "");

    const QImage picture = child->ChartOutput().RenderPicture();
    // The lane chart's left axis runs over most of the picture's height.
    const auto [left, right] = AxisLines(picture, 200, 900);
    EXPECT_GT(left, 0);
    const QPoint lane = InPicture(*child->Chart2, QSize(1280, 1024), 0,
        EncodeDate(2024, 3, 1) + 0.5, 50, child->Chart2->yAxis);
    EXPECT_GT(lane.y(), 200);
    // Dark title text in the top rows.
    int dark = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 1280; ++x)
            dark += qGray(picture.pixel(x, y)) < 100;
    EXPECT_GT(dark, 100);
}

TEST_F(ChartOutputTest, OverviewOutputNamesTheDevicesInTheLegend)
{
    Load({10, 21}, {2024, 3, 1}, {2024, 3, 1});
    MarkForOverview(0, "T1");
    child->TabSetDevices->setCurrentIndex(2);
    ASSERT_TRUE(child->OverviewTabActive());
    const QString label
        = QString::fromStdString(Device(0).DeviceSettings()->GetLabel(Field(0, "T1")));
    const QString device = QString::fromStdString(Device(0).DeviceSettings()->GetDisplayName());
    child->ChartOutput().PrepareForOutput(true);
    QStringList names;
    for (int i = 0; i < child->Chart->legend->itemCount(); ++i)
        if (auto* item = qobject_cast<QCPPlottableLegendItem*>(child->Chart->legend->item(i)))
            names << item->plottable()->name();
    EXPECT_EQ(names, QStringList{device + ": " + label});
    child->ChartOutput().PrepareForOutput(false);
    names.clear();
    for (int i = 0; i < child->Chart->legend->itemCount(); ++i)
        if (auto* item = qobject_cast<QCPPlottableLegendItem*>(child->Chart->legend->item(i)))
            names << item->plottable()->name();
    EXPECT_EQ(names, QStringList{label});
}

TEST_F(ChartOutputTest, TheChartsComeBackAfterEveryKindOfOutput)
{
    Load({10, 21}, {2024, 3, 1}, {2024, 3, 1});
    ChildSettings settings = child->CurrentChildSettings();
    settings.PrintTitle = "Heading";
    child->ApplyChildSettings(settings);
    MarkForOverview(0, "T1");
    MarkForOverview(0, "R1");
    child->TabSetDevices->setCurrentIndex(2); // Overview: titles with device names
    const ScreenLook before = Look();
    EXPECT_FALSE(before.legend);

    SaveAs(Temp("one.jpg"));
    EXPECT_EQ(Look(), before);
    SaveAs(Temp("one.pdf"));
    EXPECT_EQ(Look(), before);
    PrintToPdf(Temp("print.pdf"), 600);
    EXPECT_EQ(Look(), before);

    // A file below a regular file can never be created, not even by root.
    QFile blocker(Temp("plain-file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    MessageRecorder messages;
    EXPECT_THROW(SaveAs(Temp("plain-file/chart.jpg")), std::exception);
    EXPECT_EQ(Look(), before);

    if (geteuid() != 0) {
        const QString locked = Temp("locked");
        QDir().mkdir(locked);
        QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        EXPECT_THROW(SaveAs(locked + "/chart.bmp"), std::exception);
        EXPECT_EQ(Look(), before);
    } else {
        std::cout << "note: running as root, a folder without write permission is not tried\n";
    }

    // Cancelled dialogs: nothing written, nothing changed.
    SaveAs(QString());
    EXPECT_EQ(Look(), before);
    TOutputDialogs dialogs = child->ChartOutput().Dialogs();
    dialogs.printer = [](QPrinter&) { return false; };
    child->ChartOutput().SetDialogs(dialogs);
    child->PrintWindow();
    EXPECT_EQ(Look(), before);
}

TEST_F(ChartOutputTest, TheSaveDialogOffersTheProposedNameAndWritesTheChosenFile)
{
    Load({10}, {2024, 3, 1}, {2024, 3, 1});
    Tick(0, "T1");
    const QString target = Temp("Chosen");
    WhenModalAppears([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_TRUE(dialog);
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_EQ(dialog->selectedFiles().value(0).section('/', -1), "Chart2024_03_01.jpg");
        EXPECT_EQ(dialog->nameFilters().value(1), "Image files (*.bmp)");
        dialog->selectFile(target);
        QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
    });
    child->SaveChartImage();
    EXPECT_EQ(ReadJpeg(target + ".jpg").picture.size(), QSize(1280, 1024));
}

TEST_F(ChartOutputTest, TheTypeChosenInTheSaveDialogDecidesANameWithoutExtension)
{
    Load({10}, {2024, 3, 1}, {2024, 3, 1});
    Tick(0, "T1");
    struct Case {
        int typeSteps; // presses of the down key in the file type list
        QString typed; // empty: the proposed name
        QString written;
        QByteArray firstBytes;
    };
    const Case cases[] = {
        {1, {}, "Chart2024_03_01.bmp", "BM"}, {2, {}, "Chart2024_03_01.png", "\x89PNG"},
        {3, {}, "Chart2024_03_01.pdf", "%PDF"},
        {4, {}, "Chart2024_03_01.jpg", "\xFF\xD8"}, // all files: the default type
        {1, "Typed.png", "Typed.png", "\x89PNG"}, // a known extension decides by itself
    };
    for (const Case& c : cases) {
        QDir(files.path()).removeRecursively();
        QDir().mkpath(files.path());
        WhenModalAppears([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            ASSERT_TRUE(dialog);
            // Opened in the middle of the desktop, as the program's other file dialogs.
            const QRect desktop = dialog->screen()->availableGeometry();
            EXPECT_LE((dialog->frameGeometry().center() - desktop.center()).manhattanLength(), 4);
            dialog->setDirectory(files.path());
            auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            ASSERT_TRUE(types);
            types->setFocus();
            for (int i = 0; i < c.typeSteps; ++i)
                QTest::keyClick(types, Qt::Key_Down);
            if (!c.typed.isEmpty())
                dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(c.typed);
            QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
        });
        child->SaveChartImage();
        QFile written(Temp(c.written));
        ASSERT_TRUE(written.open(QIODevice::ReadOnly)) << c.written.toStdString();
        EXPECT_EQ(written.read(c.firstBytes.size()), c.firstBytes) << c.written.toStdString();
        EXPECT_EQ(QDir(files.path()).entryList(QDir::Files).size(), 1) << c.written.toStdString();
    }
}

TEST_F(ChartOutputTest, PrintedChartsKeepTheirTextSizeAtEveryResolution)
{
    if (!PopplerAvailable())
        GTEST_SKIP() << "pdfinfo and pdftotext (poppler-utils) are not installed";
    Load({10}, {2024, 3, 1}, {2024, 3, 1});
    Tick(0, "T1");
    Tick(0, "R1");
    const QString lane
        = QString::fromStdString(Device(0).DeviceSettings()->GetLabel(Field(0, "R1")));
    for (const int dpi : {300, 600, 1200, 2400}) {
        const QString path = Temp(QString("charts%1.pdf").arg(dpi));
        PrintToPdf(path, dpi);
        EXPECT_EQ(PdfInfo(path, "Pages"), "1") << dpi;
        const QStringList size = PdfInfo(path, "Page size").split(' ');
        ASSERT_GE(size.size(), 3);
        EXPECT_GT(size[0].toDouble(), size[2].toDouble()) << dpi; // landscape
        const QString text = PdfPageText(path, 1);
        EXPECT_TRUE(text.contains(QString("X: %1 - Y: %1").arg(dpi))) << text.toStdString();
        EXPECT_TRUE(text.contains(lane)) << dpi;
        // The charts' texts are 8 points high on screen, and so on paper.
        EXPECT_NEAR(PdfWordHeight(path, 1, "12:00"), ChartTextHeight(), ChartTextHeight() / 4)
            << dpi;
        // The value axis, a line of at least a quarter of a millimetre.
        EXPECT_GE(AxisLineWidthMm(path), 0.25) << dpi;
    }
}

TEST_F(ChartOutputTest, InTheTableViewPrintGoesToPortraitPagesOfTheTable)
{
    if (!PopplerAvailable())
        GTEST_SKIP() << "pdfinfo and pdftotext (poppler-utils) are not installed";
    Load({10, 21}, {2024, 3, 1}, {2024, 3, 3});
    child->ShowTableView(true);
    ASSERT_GT(child->Grid->RowCount(), 3);
    const auto& content = child->Grid->Content();
    const QString date = QString::fromStdString(content.Text(0, content.RowCount() - 1));
    const double nominal = PdfHeightOfText(child->Grid->font(), date);
    ASSERT_GT(nominal, 0);
    for (const int dpi : {300, 600, 1200, 2400}) {
        const QString path = Temp(QString("table%1.pdf").arg(dpi));
        PrintToPdf(path, dpi);
        EXPECT_EQ(PdfInfo(path, "Pages"), "1") << dpi;
        const QStringList size = PdfInfo(path, "Page size").split(' ');
        ASSERT_GE(size.size(), 3);
        EXPECT_LT(size[0].toDouble(), size[2].toDouble()) << dpi; // portrait
        const QString text = PdfPageText(path, 1);
        for (int r : {1, content.RowCount() - 1})
            EXPECT_TRUE(text.contains(QString::fromStdString(content.Text(0, r))))
                << content.Text(0, r) << " at " << dpi;
        EXPECT_TRUE(text.contains(QString::fromStdString(
            content.Text(content.ColumnCount() - 1, content.RowCount() - 1))));
        // The screen's texts at their size on paper.
        EXPECT_NEAR(PdfWordHeight(path, 1, date), nominal, nominal / 4) << dpi;
    }
}

} // namespace
