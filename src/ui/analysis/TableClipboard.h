#pragma once
// What copying cells of the table puts on the clipboard: the cells as tab-separated text
// and the same cells as an HTML table, so that a paste keeps the columns in any program.
// The table shows its numbers with a fixed decimal comma; on the clipboard they carry the
// decimal separator of the system's locale, so that a spreadsheet set to that locale
// reads them as numbers. Dates and texts stay as shown.

#include "core/loading/TableContent.h"

#include <QRect>
#include <QString>

#include <memory>

class QMimeData;

// A shown cell as it goes to the clipboard: a number with the given decimal separator,
// anything else unchanged.
QString ClipboardCellText(const std::string& shown, const QString& decimalPoint);

// The cells of the rectangle (columns x …, rows y …): rows ended by line feeds and cells
// separated by tabs, and as text/html.
std::unique_ptr<QMimeData> TableClipboardData(
    const TTableContent& content, const QRect& cells, const QString& decimalPoint);
