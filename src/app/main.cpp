#include "app/Mainform.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    TMainform mainform;
    mainform.show();
    return app.exec();
}
