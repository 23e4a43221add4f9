#include "ui/analysis/GraphPanel.h"

#include "core/logdata/LogAnalysis.h"
#include "ui/analysis/SeriesPlottable.h"
#include "ui/common/ApplicationErrors.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>

#include <algorithm>

namespace {

const QColor RowColour(219, 224, 227);
constexpr int SwatchLeft = 2;
constexpr int LabelTop = 2;

// A failing click is reported like any error of the program, which goes on.
template <typename Action> void Handle(Action action)
{
    try {
        action();
    } catch (...) {
        ReportCurrentException();
    }
}

void SetBackground(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace

TGraphPanel::TGraphPanel(QWidget* list, bool withOverviewBox, int labelValueIndex, int valueIndex,
    TLogAnalysis& analysis, TValueListHandler& handler, int top)
    : QFrame(list)
    , analysis(analysis)
    , labelValueIndex(labelValueIndex)
    , valueIndex(valueIndex)
{
    setFrameShape(QFrame::NoFrame);
    SetBackground(this, RowColour);
    const int width = list->width();
    setGeometry(0, top, width, RowHeight);

    Swatch = new QFrame(this);
    Swatch->setGeometry(SwatchLeft, 0, RowHeight, RowHeight);
    Label = new QLabel(this);
    Label->move(Swatch->geometry().right() + 1 + 2, LabelTop);
    PlotBox = new QCheckBox(this);
    PlotBox->setGeometry(width * 168 / 200, 0, RowHeight, BoxHeight);
    connect(PlotBox, &QCheckBox::clicked, this,
        [this, &handler] { Handle([&] { handler.ShowGraphClick(*this, PlotBox); }); });
    OverviewBox = nullptr;
    if (withOverviewBox) {
        OverviewBox = new QCheckBox(this);
        OverviewBox->setGeometry(width * 184 / 200, 0, RowHeight, BoxHeight);
        connect(OverviewBox, &QCheckBox::clicked, this,
            [this, &handler] { Handle([&] { handler.ShowOverviewClick(*this, OverviewBox); }); });
    }
    Refresh();
}

void TGraphPanel::Refresh()
{
    const TDeviceSettings* device = analysis.DeviceSettings();
    const bool valid = device && labelValueIndex >= 0 && labelValueIndex < device->ValueCount()
        && valueIndex >= 0 && valueIndex < device->ValueCount();
    const bool hasData = valid && analysis.HasData(valueIndex);
    if (valid) {
        SetBackground(Swatch, ChartColor(device->GetColor(valueIndex)));
        name = QString::fromStdString(device->GetLabel(labelValueIndex));
    }
    ShowName();
    PlotBox->setChecked(analysis.IsShown(valueIndex));
    if (OverviewBox)
        OverviewBox->setChecked(analysis.OverviewMark(valueIndex) != 0);
    for (QWidget* part : {static_cast<QWidget*>(Swatch), static_cast<QWidget*>(Label),
             static_cast<QWidget*>(PlotBox), static_cast<QWidget*>(OverviewBox)})
        if (part)
            part->setEnabled(hasData);
    update();
}

void TGraphPanel::ShowName()
{
    const QFontMetrics metrics(Label->font());
    if (nameColumnEdge < 0) {
        Label->setText(name);
        Label->adjustSize();
        Label->setToolTip(QString());
        return;
    }
    const int room = std::max(nameColumnEdge - Label->x(), 0);
    Label->resize(room, Label->sizeHint().height());
    const bool cut = metrics.horizontalAdvance(name) > room;
    // A cut name shows in full as the label's tip.
    Label->setText(cut ? metrics.elidedText(name, Qt::ElideRight, room) : name);
    Label->setToolTip(cut ? name : QString());
}

void TGraphPanel::SetNameColumnEdge(int edge)
{
    nameColumnEdge = edge;
    ShowName();
}

void TGraphPanel::LayOutByHeader(const QHeaderView& header)
{
    resize(header.width(), height());
    const int sections = header.count();
    if (sections < 2) {
        // Without the sections the boxes keep their places in proportion to the list.
        SetNameColumnEdge(width() * 138 / 200);
        PlotBox->move(width() * 168 / 200, 0);
        if (OverviewBox)
            OverviewBox->move(width() * 184 / 200, 0);
        return;
    }
    const int s0 = header.sectionSize(0);
    const int s1 = header.sectionSize(1);
    const int edge = s0 - 2;
    SetNameColumnEdge(edge);
    PlotBox->move(edge + std::max(s1 / 2 - 5, 0), 0);
    if (OverviewBox) {
        const int s2 = sections > 2 ? header.sectionSize(2) : -1;
        OverviewBox->move(edge + s1 + (s2 >= 0 ? std::max(s2 / 2 - 4, 0) : 0), 0);
    }
}

void TGraphPanel::LayOutLike(const TGraphPanel& first)
{
    resize(first.width(), height());
    SetNameColumnEdge(first.nameColumnEdge);
    PlotBox->move(first.PlotBox->pos());
    if (OverviewBox && first.OverviewBox)
        OverviewBox->move(first.OverviewBox->pos());
}
