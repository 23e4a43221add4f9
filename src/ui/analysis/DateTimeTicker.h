#pragma once
// Ticks and labels of a time axis whose coordinates are date-times (days since
// 30 December 1899). Labels follow a date-time pattern such as "hh:mm" or " dd. mmm ".
// The increment is either chosen automatically from steps that read well on a clock and
// a calendar, or fixed; a fixed increment is multiplied when its labels would not fit
// side by side on the axis.

#include <qcustomplot.h>

#include <string>

class TDateTimeTicker : public QCPAxisTicker {
public:
    // The axis whose width and label font decide how many labels fit; may be null.
    explicit TDateTimeTicker(QCPAxis* axis = nullptr);

    void SetLabelFormat(const std::string& pattern) { labelFormat = pattern; }
    const std::string& LabelFormat() const { return labelFormat; }

    // In days; 0 chooses the increment automatically.
    void SetIncrement(double days) { increment = days > 0 ? days : 0; }
    double Increment() const { return increment; }

    // Exact date-times put whole weeks on Mondays; otherwise every step counts from
    // midnight of day 0.
    void SetExactDateTime(bool exact) { exactDateTime = exact; }
    bool ExactDateTime() const { return exactDateTime; }

    // How many labels fit on the axis without touching each other.
    int LabelsThatFit() const;

protected:
    double getTickStep(const QCPRange& range) override;
    int getSubTickCount(double tickStep) override;
    QString getTickLabel(
        double tick, const QLocale& locale, QChar formatChar, int precision) override;
    QVector<double> createTickVector(double tickStep, const QCPRange& range) override;

private:
    QPointer<QCPAxis> axis;
    std::string labelFormat = "hh:mm";
    double increment = 0;
    bool exactDateTime = true;
};
