#include "ui/analysis/TableClipboard.h"

#include "core/base/Numbers.h"

#include <QMimeData>

QString ClipboardCellText(const std::string& shown, const QString& decimalPoint)
{
    const QString text = QString::fromStdString(shown);
    double number = 0;
    if (!TryParseDecimalComma(shown, number))
        return text;
    // Only the separator changes: the digits stay exactly those the table shows.
    QString copied = text;
    copied.replace(QLatin1Char(','), decimalPoint);
    return copied;
}

std::unique_ptr<QMimeData> TableClipboardData(
    const TTableContent& content, const QRect& cells, const QString& decimalPoint)
{
    QString text;
    QString html = QStringLiteral("<html><head><meta charset=\"utf-8\"></head><body><table>");
    for (int r = cells.top(); r <= cells.bottom(); ++r) {
        html += QStringLiteral("<tr>");
        for (int c = cells.left(); c <= cells.right(); ++c) {
            const QString cell = ClipboardCellText(content.Text(c, r), decimalPoint);
            if (c > cells.left())
                text += QLatin1Char('\t');
            text += cell;
            html += QStringLiteral("<td>") + cell.toHtmlEscaped() + QStringLiteral("</td>");
        }
        text += QLatin1Char('\n');
        html += QStringLiteral("</tr>");
    }
    html += QStringLiteral("</table></body></html>");
    auto data = std::make_unique<QMimeData>();
    data->setText(text);
    data->setHtml(html);
    return data;
}
