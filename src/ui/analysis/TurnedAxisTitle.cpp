#include "ui/analysis/TurnedAxisTitle.h"

#include <qcustomplot.h>

namespace {

// Draws the axis as the library does, but the title of a right axis in its own band
// turned by −90 degrees.
class TTurnedTitlePainter : public QCPAxisPainterPrivate {
public:
    using QCPAxisPainterPrivate::QCPAxisPainterPrivate;

    void draw(QCPPainter* painter) override
    {
        if (type != QCPAxis::atRight || label.isEmpty()) {
            QCPAxisPainterPrivate::draw(painter);
            return;
        }
        // The title's band ends where the axis' room ends.
        const int outer = axisRect.right() + offset + size();
        const QString title = label;
        label.clear();
        QCPAxisPainterPrivate::draw(painter);
        label = title;

        painter->setFont(labelFont);
        painter->setPen(QPen(labelColor));
        const QRect bounds
            = painter->fontMetrics().boundingRect(0, 0, 0, 0, Qt::TextDontClip, title);
        const QTransform before = painter->transform();
        painter->translate(outer - bounds.height(), axisRect.bottom());
        painter->rotate(-90);
        painter->drawText(
            0, 0, axisRect.height(), bounds.height(), Qt::TextDontClip | Qt::AlignCenter, title);
        painter->setTransform(before);
    }
};

// The axis' painter, which the library keeps to itself.
struct TAxisPainterAccess : QCPAxis {
    static QCPAxisPainterPrivate*& Of(QCPAxis& axis)
    {
        return axis.*(&TAxisPainterAccess::mAxisPainter);
    }
};

void CopySettings(const QCPAxisPainterPrivate& from, QCPAxisPainterPrivate& to)
{
    to.type = from.type;
    to.basePen = from.basePen;
    to.lowerEnding = from.lowerEnding;
    to.upperEnding = from.upperEnding;
    to.labelPadding = from.labelPadding;
    to.labelFont = from.labelFont;
    to.labelColor = from.labelColor;
    to.label = from.label;
    to.tickLabelPadding = from.tickLabelPadding;
    to.tickLabelRotation = from.tickLabelRotation;
    to.tickLabelSide = from.tickLabelSide;
    to.substituteExponent = from.substituteExponent;
    to.numberMultiplyCross = from.numberMultiplyCross;
    to.tickLengthIn = from.tickLengthIn;
    to.tickLengthOut = from.tickLengthOut;
    to.subTickLengthIn = from.subTickLengthIn;
    to.subTickLengthOut = from.subTickLengthOut;
    to.tickPen = from.tickPen;
    to.subTickPen = from.subTickPen;
    to.tickLabelFont = from.tickLabelFont;
    to.tickLabelColor = from.tickLabelColor;
    to.offset = from.offset;
    to.abbreviateDecimalPowers = from.abbreviateDecimalPowers;
    to.reversedEndings = from.reversedEndings;
}

} // namespace

void TurnTitleLikeLeftAxis(QCPAxis& rightAxis)
{
    QCPAxisPainterPrivate*& painter = TAxisPainterAccess::Of(rightAxis);
    auto* turned = new TTurnedTitlePainter(rightAxis.parentPlot());
    CopySettings(*painter, *turned);
    delete painter;
    painter = turned;
}
