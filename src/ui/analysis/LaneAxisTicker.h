#pragma once
// The left axis of the output chart: a tick every 50 units, and instead of numbers the
// names of the output lanes. Lane k has its zero line at −150 × k and its name at the
// middle of its 0 … 100 % range, 50 − 150 × k; every other tick stays unlabelled.

#include <qcustomplot.h>

#include <QStringList>

class TLaneAxisTicker : public QCPAxisTickerFixed {
public:
    static constexpr int LaneHeight = 150;
    static constexpr int TickStep = 50;

    TLaneAxisTicker();

    void SetLaneNames(const QStringList& names) { laneNames = names; }
    const QStringList& LaneNames() const { return laneNames; }
    // The name of lane k, empty outside the list.
    QString LaneName(int k) const;

    // The label for a tick value: the lane name when the value is a lane's middle.
    QString LabelAt(double value) const;

protected:
    QString getTickLabel(
        double tick, const QLocale& locale, QChar formatChar, int precision) override;
    int getSubTickCount(double tickStep) override;

private:
    QStringList laneNames;
};
