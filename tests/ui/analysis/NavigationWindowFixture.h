#pragma once
// A real analysis window loaded from sample logs of a solar controller and a heating
// circuit for 1, 2 and 5 March 2024 (3 and 4 March have no logs), used by mouse and
// keyboard as a user does: the time-window list, the slider, the buttons and the charts.

#include "support/GuiTestHelpers.h"
#include "ui/analysis/Childform.h"

#include <QMdiArea>
#include <QTemporaryDir>

#include <gtest/gtest.h>

class NavigationWindowFixture : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    static TDateTime At(int month, int day, int hour = 0, int minute = 0);
    double Start() const;
    double End() const;
    QString Title() const;
    // Picks an entry of the time-window list as the user does.
    void Choose(int entry);
    // Ticks a value of a device in its value list.
    void Tick(int device, const std::string& name);
    // Repaints so that axis pixels are known.
    void Repaint();
    // The chart pixel of a time and of a value on the upper chart's left axis.
    QPoint PixelAt(QCustomPlot* chart, double time, double value) const;
    // Presses, moves and releases a mouse button over a widget.
    static void Drag(QWidget* widget, QPoint from, QPoint to, Qt::MouseButton button,
        Qt::KeyboardModifiers modifiers = {});
    static void Move(QWidget* widget, QPoint to);

    TemporarySettingsLocation location;
    QTemporaryDir samples;
    QMdiArea area;
    TChildform* child = nullptr;
};
