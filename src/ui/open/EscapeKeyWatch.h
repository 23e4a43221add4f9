#pragma once
// Watches the Esc key for one window while it works: whether it is held down and whether it was
// pressed since the last poll, counting only presses made while that window is the active one.

#include <QObject>

class QWidget;

class TEscapeKeyWatch : public QObject {
    Q_OBJECT
public:
    explicit TEscapeKeyWatch(QWidget* window);
    ~TEscapeKeyWatch() override;

    // While watching, the window itself sees no Esc (it would close as cancelled).
    void Start();
    void Stop();

    // Down or pressed since the last poll; clears the "pressed" record.
    bool Poll();
    // Processes pending input until Esc is neither down nor freshly pressed, so that a
    // press made before now cannot count.
    void Flush();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window;
    bool down = false;
    bool pressed = false;
};
