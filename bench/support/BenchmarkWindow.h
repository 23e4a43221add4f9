#pragma once
// The benchmarks of the analysis window: an analysis window maximised in a 1280 × 900 area,
// with the benchmark's logs loaded and finished as the open dialog leaves it.

#include "core/loading/LoadLogFiles.h"
#include "support/BenchmarkYear.h"

#include <QMdiArea>

class TChildform;
class TLogAnalysis;

// The offscreen platform unless the caller chose one; call before making the QApplication.
void UseOffscreenUnlessChosen();
// Ticks every value of the device's list that can be ticked; returns how many.
int ShowEveryValue(TLogAnalysis& analysis);

class TBenchmarkWindow {
public:
    explicit TBenchmarkWindow(const TBenchmarkLogs& logs);
    // Closes the window and releases the settings store.
    ~TBenchmarkWindow();
    TBenchmarkWindow(const TBenchmarkWindow&) = delete;
    TBenchmarkWindow& operator=(const TBenchmarkWindow&) = delete;

    TChildform* Window() const { return window; }
    size_t LoadedFiles() const { return loaded.loadedFiles.size(); }

private:
    QMdiArea area;
    TChildform* window = nullptr;
    TLoadResult loaded;
};
