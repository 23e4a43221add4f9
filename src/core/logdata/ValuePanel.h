#pragma once
// The device's value list as the analysis sees it: it owns one and asks it to repaint
// its rows when a field's shown or has-data state changed. The user interface subclasses
// it with the real list.

class TValuePanel {
public:
    virtual ~TValuePanel() = default;
    virtual void RefreshRows() = 0;
};
