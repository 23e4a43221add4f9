#pragma once
// The value lists of an analysis window: one scrollable list per device with its values
// in groups (inputs, other measured values, day sums, outputs), and the list of the
// "Overview" tab with the values of every device that are marked for it.

#include "core/loading/Overview.h"
#include "core/logdata/ValuePanel.h"

#include <QPointer>

class QHeaderView;
class QScrollArea;
class QWidget;
class TGraphPanel;
class TLogAnalysis;
class TValueListHandler;

// The sizes a list takes from its window.
struct TValueListMetrics {
    int headerHeight = 17; // the header control over the list
    int headlineHeight = 15; // the headline label of the left panel
};

// A device's value list as its analysis keeps it: freeing it frees the list.
class TValueListPanel : public TValuePanel {
public:
    explicit TValueListPanel(QScrollArea* list);
    ~TValueListPanel() override;
    void RefreshRows() override;
    QScrollArea* List() const { return list; }

private:
    QPointer<QScrollArea> list;
};

// A new, hidden list made like the template (the window's "Overview" list), filled with
// the device's rows; with overview boxes when the window has several devices.
QScrollArea* BuildValueSelector(QScrollArea& listTemplate, TLogAnalysis& analysis,
    bool withOverviewBoxes, TValueListHandler& handler, const TValueListMetrics& metrics);

// Refills the "Overview" list with the marked values of every device, grouped under the
// device names, or with a note that nothing is marked. The header control stays.
void BuildOverviewSelector(QScrollArea& overview, const TAnalysisSlots& analyses,
    TValueListHandler& handler, const TValueListMetrics& metrics, QWidget* header);

// Removes everything from a list but the header control.
void ClearValueList(QScrollArea& list, QWidget* header);

// The rows of a list under the header's sections: the first row by the header, every
// further one like the first; the column lines at the section borders.
void AlignRowsToHeader(QWidget& listContent, const QHeaderView& header);

// The rows of a list, top to bottom.
QList<TGraphPanel*> RowsOf(const QScrollArea& list);
