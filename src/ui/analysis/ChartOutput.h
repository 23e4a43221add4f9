#pragma once
// The analysis window's charts on paper and in picture files: dressing them for output
// (heading, device name, legends, wider margins) and undressing them afterwards, the
// 1280 × 1024 picture in JPEG, BMP, PNG or PDF under a proposed name, and the charts on
// one landscape page of a printer.

#include <QImage>
#include <QList>
#include <QPointer>
#include <QSize>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QCPAbstractItem;
class QCPPainter;
class QCustomPlot;
class QPaintDevice;
class QPicture;
class QPrinter;
class TAnalysisSet;
class TChartView;

// What the output needs of the analysis window.
class TChartOutputHost {
public:
    virtual ~TChartOutputHost() = default;
    // The text of the selected device tab; empty without tabs.
    virtual QString SelectedTabText() const = 0;
    virtual bool OverviewTabActive() const = 0;
    // The heading of the window's settings.
    virtual QString PrintTitle() const = 0;
    // Rebuilds the upper chart's title from the time window.
    virtual void UpdateChartTitle() = 0;
};

// The dialogs an output asks; tests put their own answers in.
struct TOutputDialogs {
    // The chosen file name for a proposed one and the filters; empty when cancelled.
    std::function<QString(const QString& proposedName, const QString& filters)> saveFile;
    // Lets the user choose and set up the printer; false when cancelled.
    std::function<bool(QPrinter& printer)> printer;
};

enum class TPictureFormat { Jpeg, Bmp, Png, Pdf };

// "Chart" and the displayed window by its kind (time-window list index): "_yyyy" for a
// year, "_mmm-mmm_yyyy" for a quarter, "_mmm_yyyy" for a month, "yyyy_mm_dd" for a day
// and less; short month names of the system locale.
QString ProposedImageName(double windowStart, double windowEnd, int spanTime);
// "Image files (*.jpg)|*.jpg|", "(*.bmp)", "(*.png)", "PDF (*.pdf)" and "All files (*.*)|*",
// as the program's file dialog takes them.
QString ImageFileFilters();
// ".bmp" anywhere in the name makes a bitmap; a name ending in ".png" or ".pdf" gets
// that format; anything else is a JPEG, with ".jpg" appended when the name lacks it.
TPictureFormat PictureFormatFor(QString& name);

class TChartOutput {
public:
    static constexpr int PictureWidth = 1280;
    static constexpr int PictureHeight = 1024;
    static constexpr int JpegQuality = 100;

    TChartOutput(TChartView& view, TAnalysisSet& analyses, TChartOutputHost& host);
    ~TChartOutput();

    void SetDialogs(TOutputDialogs dialogs);
    const TOutputDialogs& Dialogs() const { return dialogs; }
    // The window's printer; it keeps what the user chose in the print dialog.
    QPrinter& Printer();

    // Dresses the charts for output (true) or restores their screen look (false).
    void PrepareForOutput(bool output);
    // A chart takes part in an output while it draws at least one value.
    bool UpperTakesPart() const;
    bool LowerTakesPart() const;

    // Asks for a file name and writes the picture of both charts; nothing happens when
    // neither chart draws a value.
    void SaveChartImage(int spanTime);
    // Prints both charts on one landscape page after the print dialog.
    void PrintCharts();
    // The picture of the dressed charts, as saved (the charts are dressed for it).
    QImage RenderPicture();
    // Paints the dressed charts onto one page of the device, as printed: the page
    // shared by their on-screen heights, laid out so that their texts keep their point
    // size on paper, and the resolution in small print at the top-left corner.
    void PaintChartsPage(QPaintDevice& page);

    // The size the charts are laid out at on a part of a page of the given pixels and
    // resolution: the screen's pixels that cover it.
    static QSize LayoutSize(QSize pagePart, int dpiX, int dpiY);

private:
    class Dressed;
    // The heights of the upper and lower chart within a total, by their screen heights.
    std::pair<int, int> Shares(int total) const;
    // Both charts into the area; laid out for a page of the given resolution, or pixel for
    // pixel for an empty one.
    void DrawCharts(QCPPainter& painter, QSize area, QSize dpi);
    QPicture RecordChart(QCustomPlot& plot, QSize layout);
    void PlayChart(QCPPainter& painter, const QPicture& picture, QRect target, QSize layout);
    QByteArray ChartsPdf();
    void RestoreAfterOutput();

    TChartView& view;
    TAnalysisSet& analyses;
    TChartOutputHost& host;
    TOutputDialogs dialogs;
    std::unique_ptr<QPrinter> printer;
    // The titles as the screen showed them before the charts were dressed.
    std::optional<QString> screenTitle;
    // What the screen shows over the charts and the output leaves out.
    QList<QPointer<QCPAbstractItem>> hiddenItems;
};
