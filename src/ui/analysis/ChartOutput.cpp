#include "ui/analysis/ChartOutput.h"

#include "core/base/DateTime.h"
#include "core/base/KalvexError.h"
#include "core/loading/AnalysisSet.h"
#include "core/logdata/LogAnalysis.h"
#include "ui/analysis/ChartView.h"
#include "ui/analysis/OutputDialogs.h"
#include "ui/analysis/PictureFiles.h"
#include "ui/common/UiText.h"

#include <qcustomplot.h>

#include <QBuffer>
#include <QPdfWriter>
#include <QPicture>
#include <QPrinter>

#include <cmath>

namespace {

constexpr int SpanMonth = 4;
constexpr int SpanQuarter = 5;
constexpr int SpanYear = 6;
constexpr int OutputSideMargin = 3;
constexpr int OutputVerticalMargin = 2;
constexpr int ScreenMargin = 1;
constexpr int PdfResolution = 600;

QString Formatted(const char* pattern, double t)
{
    return QString::fromStdString(FormatDateTime(pattern, t));
}

// The legend leaves the corner of the plot area for a row of its own above it.
void PutLegendOnTop(QCustomPlot& plot)
{
    QCPLegend* legend = plot.legend;
    QCPLayoutGrid* layout = plot.plotLayout();
    if (legend->layout() == layout)
        return;
    plot.axisRect()->insetLayout()->take(legend);
    int row = 0;
    while (row < layout->rowCount() && layout->element(row, 0) != plot.axisRect())
        ++row;
    layout->insertRow(row);
    layout->addElement(row, 0, legend);
    layout->setRowStretchFactor(row, 0.001);
    legend->setFillOrder(QCPLegend::foColumnsFirst);
    legend->setVisible(true);
}

void PutLegendBack(QCustomPlot& plot)
{
    QCPLegend* legend = plot.legend;
    legend->setVisible(false);
    if (legend->layout() != plot.plotLayout())
        return;
    plot.plotLayout()->take(legend);
    plot.plotLayout()->simplify();
    plot.axisRect()->insetLayout()->addElement(legend, Qt::AlignRight | Qt::AlignTop);
}

// As many entries side by side as the width holds, the rest in further rows.
void WrapLegend(QCustomPlot& plot, int width)
{
    QCPLegend* legend = plot.legend;
    int used = 0;
    int columns = 0;
    for (int i = 0; i < legend->itemCount(); ++i) {
        used += legend->item(i)->minimumOuterSizeHint().width() + legend->columnSpacing();
        if (used > width && columns > 0)
            break;
        ++columns;
    }
    legend->setWrap(std::max(columns, 1));
}

} // namespace

QString ProposedImageName(double windowStart, double windowEnd, int spanTime)
{
    QString name = QStringLiteral("Chart");
    if (spanTime == SpanYear)
        name += Formatted("_yyyy", windowStart);
    else if (spanTime == SpanQuarter)
        name += Formatted("_mmm", windowStart) + Formatted("-mmm_yyyy", windowEnd - OneMinute);
    else if (spanTime == SpanMonth)
        name += Formatted("_mmm_yyyy", windowStart);
    else
        name += Formatted("yyyy_mm_dd", windowStart);
    return name;
}

QString ImageFileFilters()
{
    const QString images = UiText(TextId::TxtImageFiles);
    return images + QStringLiteral(" (*.jpg)|*.jpg|") + images + QStringLiteral(" (*.bmp)|*.bmp|")
        + images + QStringLiteral(" (*.png)|*.png|PDF (*.pdf)|*.pdf|") + UiText(TextId::TxtAllFiles)
        + QStringLiteral(" (*.*)|*");
}

TPictureFormat PictureFormatFor(QString& name)
{
    const QString lower = name.toLower();
    if (lower.contains(QStringLiteral(".bmp")))
        return TPictureFormat::Bmp;
    if (lower.endsWith(QStringLiteral(".png")))
        return TPictureFormat::Png;
    if (lower.endsWith(QStringLiteral(".pdf")))
        return TPictureFormat::Pdf;
    if (!lower.contains(QStringLiteral(".jpg")))
        name += QStringLiteral(".jpg");
    return TPictureFormat::Jpeg;
}

// Dresses the charts for as long as it lives; the screen look comes back also when the
// output fails on the way.
class TChartOutput::Dressed {
public:
    explicit Dressed(TChartOutput& output)
        : output(output)
    {
        output.PrepareForOutput(true);
    }
    ~Dressed() { output.RestoreAfterOutput(); }
    Dressed(const Dressed&) = delete;
    Dressed& operator=(const Dressed&) = delete;

private:
    TChartOutput& output;
};

TChartOutput::TChartOutput(TChartView& view, TAnalysisSet& analyses, TChartOutputHost& host)
    : view(view)
    , analyses(analyses)
    , host(host)
{
}

TChartOutput::~TChartOutput() = default;

void TChartOutput::SetDialogs(TOutputDialogs newDialogs)
{
    dialogs = std::move(newDialogs);
}

QPrinter& TChartOutput::Printer()
{
    // Made on first use: finding the printers may take a moment.
    if (!printer)
        printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer;
}

bool TChartOutput::UpperTakesPart() const
{
    return view.UpperTarget().SeriesCount() > 0;
}

bool TChartOutput::LowerTakesPart() const
{
    return view.LowerTarget().SeriesCount() > 0;
}

void TChartOutput::PrepareForOutput(bool output)
{
    if (!output) {
        view.SetSideMargins(ScreenMargin);
        view.SetVerticalMargins(ScreenMargin);
        if (screenTitle)
            view.SetTitle(*screenTitle);
        screenTitle.reset();
        view.SetLowerTitle(QString());
        for (const auto& analysis : analyses.Analyses())
            if (analysis)
                analysis->UpdateSeriesTitles(false);
        PutLegendBack(view.Chart());
        PutLegendBack(view.Chart2());
        for (const QPointer<QCPAbstractItem>& item : hiddenItems)
            if (item)
                item->setVisible(true);
        hiddenItems.clear();
        return;
    }
    // Marks laid over the charts for the screen (the markers A and B) stay off paper and
    // pictures, as the box that explains them does.
    for (QCustomPlot* plot : {&view.Chart(), &view.Chart2()})
        for (int i = 0; i < plot->itemCount(); ++i)
            if (QCPAbstractItem* item = plot->item(i); item->visible()) {
                item->setVisible(false);
                hiddenItems.append(item);
            }
    if (!screenTitle)
        screenTitle = view.Title();
    view.SetSideMargins(OutputSideMargin);
    view.SetVerticalMargins(OutputVerticalMargin);
    QStringList lines = view.Title().isEmpty() ? QStringList() : view.Title().split(u'\n');
    if (const QString tab = host.SelectedTabText(); !tab.isEmpty()) {
        if (lines.isEmpty())
            lines.append(tab + QStringLiteral(": "));
        else
            lines.first().prepend(tab + QStringLiteral(": "));
    }
    if (const QString heading = host.PrintTitle(); !heading.isEmpty())
        lines.prepend(heading);
    view.SetTitle(lines.join(u'\n'));
    // Without values above, the lower chart carries the heading alone.
    if (!UpperTakesPart())
        view.SetLowerTitle(view.Title());
    if (host.OverviewTabActive())
        for (const auto& analysis : analyses.Analyses())
            if (analysis)
                analysis->UpdateSeriesTitles(true);
    PutLegendOnTop(view.Chart());
    PutLegendOnTop(view.Chart2());
}

void TChartOutput::RestoreAfterOutput()
{
    try {
        PrepareForOutput(false);
        host.UpdateChartTitle();
        view.RepaintNow();
    } catch (const std::exception&) {
        // Restoring the screen look runs on the way out of a failed output; the
        // failure that brought us here is the one to report.
    }
}

std::pair<int, int> TChartOutput::Shares(int total) const
{
    const int upper = UpperTakesPart() ? view.Chart().height() : 0;
    const int lower = LowerTakesPart() ? view.Chart2().height() : 0;
    const int sum = upper + lower;
    if (sum <= 0)
        return {UpperTakesPart() ? total : 0, UpperTakesPart() ? 0 : total};
    return {upper * total / sum, lower * total / sum};
}

QSize TChartOutput::LayoutSize(QSize pagePart, int dpiX, int dpiY)
{
    // The charts are recorded in the pixels of a picture, whose resolution is the
    // screen's: laid out in as many of them as cover the page part, texts and lines
    // keep on paper the size they have in points on the screen, whatever the printer's
    // resolution.
    const QPicture recording;
    const auto inPicturePixels = [](int devicePixels, int deviceDpi, int pictureDpi) {
        return std::max(
            int(std::lround(double(devicePixels) * pictureDpi / std::max(deviceDpi, 1))), 1);
    };
    return QSize(inPicturePixels(pagePart.width(), dpiX, recording.logicalDpiX()),
        inPicturePixels(pagePart.height(), dpiY, recording.logicalDpiY()));
}

QPicture TChartOutput::RecordChart(QCustomPlot& plot, QSize layout)
{
    WrapLegend(plot, layout.width() * (100 - 2 * OutputSideMargin) / 100);
    // Recorded at the screen's resolution, so texts and lines keep the proportions of
    // the layout on a device of any resolution.
    QPicture picture;
    QCPPainter recorder(&picture);
    recorder.setMode(QCPPainter::pmVectorized);
    // Hairlines would come out one printer dot thin; a pixel of the layout is visible.
    recorder.setMode(QCPPainter::pmNonCosmetic);
    view.DrawAtSize(plot, recorder, layout);
    recorder.end();
    return picture;
}

void TChartOutput::PlayChart(
    QCPPainter& painter, const QPicture& picture, QRect target, QSize layout)
{
    // A picture plays in its own physical size; this makes it fill the target.
    const QPaintDevice* device = painter.device();
    const double dpiX = double(picture.logicalDpiX()) / device->logicalDpiX();
    const double dpiY = double(picture.logicalDpiY()) / device->logicalDpiY();
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(dpiX * target.width() / layout.width(), dpiY * target.height() / layout.height());
    painter.drawPicture(0, 0, picture);
    painter.restore();
}

void TChartOutput::DrawCharts(QCPPainter& painter, QSize area, QSize dpi)
{
    // A picture (no resolution) is laid out pixel for pixel, a page by its resolution.
    const auto layoutOf = [&](QSize part) {
        return dpi.isEmpty() ? part : LayoutSize(part, dpi.width(), dpi.height());
    };
    const auto [upper, lower] = Shares(area.height());
    const QRect upperArea(0, 0, area.width(), upper);
    // The lower chart reaches the bottom, whatever the integer shares left over.
    const QRect lowerArea(0, upper, area.width(), area.height() - upper);
    const QSize upperLayout = layoutOf(upperArea.size());
    const QSize lowerLayout = layoutOf(QSize(area.width(), std::max(lower, 1)));
    QPicture upperChart, lowerChart;
    if (UpperTakesPart())
        upperChart = RecordChart(view.Chart(), upperLayout);
    if (LowerTakesPart())
        lowerChart = RecordChart(view.Chart2(), lowerLayout);
    // Once more, now that the lower chart's axes are laid out at the output size too:
    // the plot areas share their left and right edges.
    if (UpperTakesPart() && LowerTakesPart())
        upperChart = RecordChart(view.Chart(), upperLayout);
    if (UpperTakesPart())
        PlayChart(painter, upperChart, upperArea, upperLayout);
    if (LowerTakesPart())
        PlayChart(painter, lowerChart, lowerArea, lowerLayout);
}

QImage TChartOutput::RenderPicture()
{
    Dressed dressed(*this);
    QImage picture(PictureWidth, PictureHeight, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QCPPainter painter(&picture);
    DrawCharts(painter, picture.size(), QSize());
    return picture;
}

void TChartOutput::PaintChartsPage(QPaintDevice& page)
{
    Dressed dressed(*this);
    QCPPainter painter;
    if (!painter.begin(&page))
        Fail(TextId::TxtPrintFailed);
    const int dpiX = page.logicalDpiX();
    const int dpiY = page.logicalDpiY();
    DrawCharts(painter, QSize(page.width(), page.height()), QSize(dpiX, dpiY));
    // The resolution in small print: two points high.
    QFont font = painter.font();
    font.setPixelSize(std::max(1, dpiY * 2 / 72));
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QRect(0, 0, page.width(), page.height()), Qt::AlignLeft | Qt::AlignTop,
        QStringLiteral("X: %1 - Y: %2").arg(dpiX).arg(dpiY));
    painter.end();
}

QByteArray TChartOutput::ChartsPdf()
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setCreator(QStringLiteral("Velmora Kalvex 2"));
        QPageLayout layout = Printer().pageLayout();
        layout.setOrientation(QPageLayout::Landscape);
        writer.setPageLayout(layout);
        writer.setResolution(PdfResolution);
        PaintChartsPage(writer);
    }
    return buffer.data();
}

void TChartOutput::SaveChartImage(int spanTime)
{
    if (!UpperTakesPart() && !LowerTakesPart())
        return;
    QString name = dialogs.saveFile
        ? dialogs.saveFile(
            ProposedImageName(view.WindowStart(), view.WindowEnd(), spanTime), ImageFileFilters())
        : QString();
    if (name.isEmpty())
        return;
    const TPictureFormat format = PictureFormatFor(name);
    QByteArray bytes;
    if (format == TPictureFormat::Pdf) {
        bytes = ChartsPdf();
    } else {
        const QImage picture = RenderPicture();
        if (format == TPictureFormat::Jpeg) {
            bytes = EncodeJpeg(picture, JpegQuality);
        } else if (format == TPictureFormat::Bmp) {
            bytes = EncodeBmp(picture);
        } else {
            QBuffer buffer(&bytes);
            if (!buffer.open(QIODevice::WriteOnly) || !picture.save(&buffer, "PNG"))
                Fail(TextId::TxtCouldNotCreateFile, ": " + name.toStdString());
        }
    }
    WritePictureFile(name, bytes);
}

void TChartOutput::PrintCharts()
{
    QPrinter& page = Printer();
    page.setPageOrientation(QPageLayout::Landscape);
    if (!dialogs.printer || !dialogs.printer(page))
        return;
    if (!UpperTakesPart() && !LowerTakesPart())
        return;
    PaintChartsPage(page);
    FailWhenPrinterFailed(page);
}
