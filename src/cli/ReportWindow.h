#pragma once
// The analysis window of kalvex-cli report, driven as a user drives it: never shown, it is
// loaded as the open dialog loads it, and its device tabs, time-window list, value lists
// and slider are worked through their own handlers. What the report writes is read off
// the window as it shows it.

#include "cli/CliLoading.h"
#include "core/loading/TableContent.h"
#include "core/loading/TimeWindow.h"

#include <QString>
#include <QStringList>

#include <iosfwd>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

class QCheckBox;
class QScrollArea;
class TChildform;
class TGraphPanel;
class TLogAnalysis;

// A report that cannot be made as asked: 1 for a device or value the analysis does not
// have, 2 for a request that makes no sense for it (such as a date outside the period).
struct TReportError : std::runtime_error {
    TReportError(int exitCode, const std::string& message)
        : std::runtime_error(message)
        , exitCode(exitCode)
    {
    }
    int exitCode;
};

class TReportWindow {
public:
    // The program's settings store first, so the window takes the stored heading, scaling
    // and device settings; what the window would show in an error box goes to `err`.
    explicit TReportWindow(std::ostream& err);
    ~TReportWindow();
    TReportWindow(const TReportWindow&) = delete;
    TReportWindow& operator=(const TReportWindow&) = delete;

    // Nothing when there is nothing to load (the message is written to `err`).
    std::optional<TCliLoad> Load(const TLoadRequest& request);

    // The tab of a device prefix, or "overview" for the "Overview" tab.
    void SelectTab(const std::string& device);
    // Ticks PREFIX:FIELD in its device's overview column.
    void MarkForOverview(const std::string& value);
    // Chooses the entry of the time-window list.
    void ChooseTimeWindow(int entry);
    // Ticks the value in the list in front: FIELD of the selected device, or PREFIX:FIELD
    // on the "Overview" tab.
    void ShowValue(const std::string& value);
    // Moves the slider to the position whose window holds the instant; for the hour
    // windows that is the hour of the day shown, so choose the day first in "1 day".
    void MoveTo(TDateTime instant);
    void MoveSlider(int position);
    int SliderPosition() const;
    int SliderMaximum() const;

    int SpanEntry() const;
    TTimeSpan Window() const;
    std::string ChartTitle() const;
    const std::string& YieldText() const;
    // The name the window proposes for a picture of the charts, without extension.
    std::string ImageName() const;
    // The text of the selected tab; the device's name when there are no tabs.
    std::string DeviceText() const;
    // The labels of the ticked values in the list in front, top to bottom.
    std::vector<std::string> ShownLabels() const;
    struct TShownField {
        std::string label;
        const TLogAnalysis* analysis;
        int field;
    };
    // The same values with the field each one is.
    std::vector<TShownField> ShownFields() const;
    // Sets markers A and B as two Shift-clicks would; both must lie in the time window.
    void SetMarkers(TDateTime a, TDateTime b);
    // A and B when both are set.
    std::optional<std::pair<TDateTime, TDateTime>> Markers() const;
    // Saves the charts as the window's Save command does, answering its file dialog with
    // the path; false (and nothing written) when the charts show no value.
    bool SaveChartImage(const QString& path);
    // The table view's cells for the time window.
    TTableContent Table();

private:
    TLogAnalysis& DeviceAnalysis(const std::string& prefix) const;
    QScrollArea* ValueListInFront() const;
    TGraphPanel& RowOf(const QScrollArea* list, TLogAnalysis& analysis, const std::string& prefix,
        const std::string& field) const;
    void Tick(QCheckBox* box, const std::string& value) const;

    std::ostream& err;
    std::unique_ptr<TChildform> window;
    QString picturePath;
};
