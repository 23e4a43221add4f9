#include "app/Mainform.h"

#include <QMdiArea>

TMainform::TMainform(QWidget* parent)
    : QMainWindow(parent)
    , mdiArea(new QMdiArea(this))
{
    setWindowTitle(QStringLiteral("Velmora Kalvex 2"));
    setCentralWidget(mdiArea);
    resize(790, 590);
}
