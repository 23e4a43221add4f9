#pragma once
// The dialogs of the window's outputs: the save dialog for chart pictures and the
// print dialog.

#include "ui/analysis/ChartOutput.h"

class QPrinter;
class QWidget;

// The program's save dialog with the proposed name in the current folder, ".jpg" or the
// chosen type's extension added to a name without one; the print dialog over the
// window's printer.
TOutputDialogs StandardOutputDialogs(QWidget* parent);

// Raises "The document could not be printed." when the printer ended in an error.
void FailWhenPrinterFailed(const QPrinter& printer);
