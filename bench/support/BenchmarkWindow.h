#pragma once
// The benchmarks of the analysis window: an analysis window maximised in a 1280 × 900 area,
// with the benchmark year loaded and finished as the open dialog leaves it.

#include "core/loading/LoadLogFiles.h"
#include "support/BenchmarkYear.h"

#include <QMdiArea>

class TChildform;

// The offscreen platform unless the caller chose one; call before making the QApplication.
void UseOffscreenUnlessChosen();

class TBenchmarkWindow {
public:
    explicit TBenchmarkWindow(const TBenchmarkYear& year);
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
