#pragma once
// One row of a value list: a colour swatch, the value's name, a check box that plots the
// value and, in a window with several devices, a check box that marks the value for the
// "Overview" tab. The row reads everything it shows from its analysis; the window
// handles the clicks.

#include <QFrame>

class QCheckBox;
class QHeaderView;
class QLabel;
class TGraphPanel;
class TLogAnalysis;

// What happens when a row's boxes are clicked.
class TValueListHandler {
public:
    virtual ~TValueListHandler() = default;
    virtual void ShowGraphClick(TGraphPanel& row, QObject* sender) = 0;
    virtual void ShowOverviewClick(TGraphPanel& row, QObject* sender) = 0;
};

class TGraphPanel : public QFrame {
    Q_OBJECT
public:
    // Height of the check boxes; the row is one pixel lower.
    static constexpr int BoxHeight = 17;
    static constexpr int RowHeight = BoxHeight - 1;

    // A row at the given top of the list, as wide as the list. The label shows the name
    // of value labelValueIndex; everything else belongs to value valueIndex.
    TGraphPanel(QWidget* list, bool withOverviewBox, int labelValueIndex, int valueIndex,
        TLogAnalysis& analysis, TValueListHandler& handler, int top);

    // Colour, name, states and enabling anew from the analysis.
    void Refresh();
    // Name column and boxes under the header's sections (the first row of a list).
    void LayOutByHeader(const QHeaderView& header);
    // Width, name column and box positions of another row.
    void LayOutLike(const TGraphPanel& first);

    TLogAnalysis& Analysis() const { return analysis; }
    int ValueIndex() const { return valueIndex; }
    QString Name() const { return name; }
    int NameColumnEdge() const { return nameColumnEdge; }

    QFrame* Swatch;
    QLabel* Label;
    QCheckBox* PlotBox;
    QCheckBox* OverviewBox; // null in a row without overview box

private:
    void SetNameColumnEdge(int edge);
    void ShowName();

    TLogAnalysis& analysis;
    int labelValueIndex;
    int valueIndex;
    QString name;
    int nameColumnEdge = -1; // -1 until laid out: the name shows in full
};
