#pragma once

#include <QMainWindow>

class QMdiArea;

// The multiple-document frame of the program.
class TMainform : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainform(QWidget* parent = nullptr);

private:
    QMdiArea* mdiArea = nullptr;
};
