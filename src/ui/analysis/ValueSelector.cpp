#include "ui/analysis/ValueSelector.h"

#include "core/logdata/LogAnalysis.h"
#include "ui/analysis/GraphPanel.h"
#include "ui/common/UiText.h"

#include <QApplication>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QScrollArea>

namespace {

constexpr char AnchoredProperty[] = "kalvexAnchoredLeftRight";
constexpr char FollowerProperty[] = "kalvexWidthFollower";
constexpr char ColumnLine1[] = "VSpace1";
constexpr char ColumnLine2[] = "VSpace2";

// Keeps the children marked as anchored as wide as the list.
class TWidthFollower : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Resize)
            if (auto* content = qobject_cast<QWidget*>(watched))
                for (QWidget* child :
                    content->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
                    if (child->property(AnchoredProperty).toBool())
                        child->resize(content->width(), child->height());
        return false;
    }
};

QWidget& ContentOf(QScrollArea& list)
{
    if (!list.widget())
        list.setWidget(new QWidget);
    QWidget& content = *list.widget();
    if (!content.property(FollowerProperty).toBool()) {
        content.installEventFilter(new TWidthFollower(&content));
        content.setProperty(FollowerProperty, true);
    }
    return content;
}

QColor SeparatorColour()
{
    return QApplication::palette().color(QPalette::Dark);
}

void Fill(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QFont Bold(QFont font)
{
    font.setBold(true);
    return font;
}

// Places the parts of a list from the top down.
class TListBuilder {
public:
    TListBuilder(QWidget& content, TValueListHandler& handler, const TValueListMetrics& metrics)
        : content(content)
        , handler(handler)
        , metrics(metrics)
        , y(metrics.headerHeight + 1)
    {
    }

    int Y() const { return y; }
    void SetY(int top) { y = top; }
    bool MadeRows() const { return rows > 0; }

    void RoomForGroupHeader() { y += metrics.headlineHeight + 3; }

    void Separator()
    {
        auto* line = new QFrame(&content);
        line->setFrameShape(QFrame::NoFrame);
        Fill(line, SeparatorColour());
        line->setGeometry(0, y + 1, content.width(), 1);
        line->setProperty(AnchoredProperty, true);
        line->show();
        y += 3;
    }

    void Row(TLogAnalysis& analysis, int value, bool withOverviewBox)
    {
        auto* row = new TGraphPanel(&content, withOverviewBox, value, value, analysis, handler, y);
        row->setProperty(AnchoredProperty, true);
        row->show();
        y += row->height();
        ++rows;
    }

    void GroupHeader(const QString& caption, int groupStart)
    {
        auto* header = new QLabel(caption, &content);
        header->setFont(Bold(content.font()));
        header->setAlignment(Qt::AlignCenter);
        Fill(header, content.palette().color(QPalette::Window));
        header->setGeometry(0, groupStart - 1, content.width(), metrics.headlineHeight + 5);
        header->setProperty(AnchoredProperty, true);
        header->show();
        groupHeaders.append(header);
    }

    void ColumnLines(bool second)
    {
        ColumnLine(ColumnLine1);
        if (second)
            ColumnLine(ColumnLine2);
    }

    // The headers over the lines, and the list as tall as its content.
    void Finish()
    {
        for (QLabel* header : groupHeaders)
            header->raise();
        content.setMinimumHeight(y);
    }

private:
    void ColumnLine(const char* name)
    {
        auto* line = new QFrame(&content);
        line->setObjectName(QString::fromLatin1(name));
        line->setFrameShape(QFrame::NoFrame);
        Fill(line, SeparatorColour());
        line->setGeometry(0, 0, 1, std::max(y - 1, 0));
        line->show();
    }

    QWidget& content;
    TValueListHandler& handler;
    const TValueListMetrics& metrics;
    int y;
    int rows = 0;
    QList<QLabel*> groupHeaders;
};

bool IsDaySum(const TDeviceSettings& device, int value)
{
    return device.IsSumValue(value) && device.GetValueName(value).find("tag") != std::string::npos;
}

// A titled group: room for its header, a row per value that is no sum, the header last.
void AddGroup(TListBuilder& builder, TLogAnalysis& analysis, TextId title, int first, int end,
    bool withOverviewBoxes)
{
    const TDeviceSettings& device = *analysis.DeviceSettings();
    const int groupStart = builder.Y();
    if (end > first)
        builder.RoomForGroupHeader();
    for (int value = first; value < end; ++value) {
        if (device.IsSumValue(value))
            continue;
        builder.Separator();
        builder.Row(analysis, value, withOverviewBoxes);
    }
    if (end > first) {
        builder.Separator();
        builder.GroupHeader(UiText(title), groupStart);
    }
}

} // namespace

TValueListPanel::TValueListPanel(QScrollArea* list)
    : list(list)
{
}

TValueListPanel::~TValueListPanel()
{
    delete list.data();
}

void TValueListPanel::RefreshRows()
{
    if (list)
        for (TGraphPanel* row : RowsOf(*list))
            row->Refresh();
}

QScrollArea* BuildValueSelector(QScrollArea& listTemplate, TLogAnalysis& analysis,
    bool withOverviewBoxes, TValueListHandler& handler, const TValueListMetrics& metrics)
{
    auto* list = new QScrollArea(listTemplate.parentWidget());
    list->hide();
    list->setGeometry(listTemplate.geometry());
    list->setFrameShape(listTemplate.frameShape());
    list->setPalette(listTemplate.palette());
    list->setAutoFillBackground(listTemplate.autoFillBackground());
    list->setBackgroundRole(listTemplate.backgroundRole());
    list->setHorizontalScrollBarPolicy(listTemplate.horizontalScrollBarPolicy());
    list->setVerticalScrollBarPolicy(listTemplate.verticalScrollBarPolicy());
    list->setWidgetResizable(listTemplate.widgetResizable());
    auto* content = new QWidget;
    if (QWidget* model = listTemplate.widget())
        content->resize(model->width(), content->height());
    list->setWidget(content);

    const TDeviceSettings* device = analysis.DeviceSettings();
    if (!device)
        return list;
    TListBuilder builder(ContentOf(*list), handler, metrics);
    const int inputsEnd = device->CountUpTo(KindInput);
    const int othersEnd = device->CountUpTo(KindOther);
    AddGroup(builder, analysis, TextId::TxtInputs, 0, inputsEnd, withOverviewBoxes);
    AddGroup(builder, analysis, TextId::TxtOtherValues, inputsEnd, othersEnd, withOverviewBoxes);
    for (int value = inputsEnd; value < othersEnd; ++value) {
        if (!IsDaySum(*device, value))
            continue;
        builder.Row(analysis, value, withOverviewBoxes);
        builder.Separator();
    }
    AddGroup(
        builder, analysis, TextId::TxtOutputs, othersEnd, device->ValueCount(), withOverviewBoxes);
    builder.ColumnLines(withOverviewBoxes);
    builder.Finish();
    return list;
}

void ClearValueList(QScrollArea& list, QWidget* header)
{
    QWidget& content = ContentOf(list);
    for (QWidget* child : content.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (child != header)
            delete child;
    content.setMinimumHeight(0);
}

void BuildOverviewSelector(QScrollArea& overview, const TAnalysisSlots& analyses,
    TValueListHandler& handler, const TValueListMetrics& metrics, QWidget* header)
{
    ClearValueList(overview, header);
    QWidget& content = ContentOf(overview);
    content.resize(overview.viewport()->width(), content.height());
    TListBuilder builder(content, handler, metrics);
    bool anyRow = false;
    for (const auto& analysis : analyses) {
        const TDeviceSettings* device = analysis ? analysis->DeviceSettings() : nullptr;
        if (!device)
            continue;
        const int groupStart = builder.Y();
        builder.RoomForGroupHeader();
        bool deviceRow = false;
        for (int value = 0; value < device->ValueCount(); ++value) {
            if (!analysis->OverviewMark(value))
                continue;
            builder.Separator();
            builder.Row(*analysis, value, false);
            deviceRow = true;
        }
        if (deviceRow) {
            builder.GroupHeader(QString::fromStdString(device->GetName()), groupStart);
            builder.Separator();
            anyRow = true;
        } else {
            builder.SetY(groupStart);
        }
    }
    if (anyRow) {
        builder.ColumnLines(analyses.size() > 1);
        builder.Finish();
    } else {
        auto* note = new QLabel(UiText(TextId::TxtSelectOverviewDataFirst), &content);
        note->setFont(Bold(content.font()));
        note->setWordWrap(true);
        const int width = std::max(overview.width() - 16, 1);
        note->setGeometry(8, builder.Y() + 2, width, note->heightForWidth(width));
        note->show();
        content.setMinimumHeight(note->geometry().bottom() + 1);
    }
    if (header)
        header->raise();
}

void AlignRowsToHeader(QWidget& listContent, const QHeaderView& header)
{
    TGraphPanel* first = nullptr;
    for (QWidget* child :
        listContent.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (auto* row = qobject_cast<TGraphPanel*>(child)) {
            if (!first) {
                row->LayOutByHeader(header);
                first = row;
            } else {
                row->LayOutLike(*first);
            }
        } else if (child->y() == 0 && child->objectName() == ColumnLine1) {
            child->move(header.sectionSize(0) - 1, 0);
        } else if (child->y() == 0 && child->objectName() == ColumnLine2) {
            child->move(header.sectionSize(0) + header.sectionSize(1) - 1, 0);
        }
    }
}

QList<TGraphPanel*> RowsOf(const QScrollArea& list)
{
    if (!list.widget())
        return {};
    return list.widget()->findChildren<TGraphPanel*>(QString(), Qt::FindDirectChildrenOnly);
}
