#include "ui/app/ProgramIdentity.h"

// The resources live in a static library: registered here, where they are used.
static void InitProgramIconResource()
{
    Q_INIT_RESOURCE(ProgramIcon);
}

QIcon ProgramIcon()
{
    InitProgramIconResource();
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/kalvex-%1.png").arg(size), QSize(size, size));
    return icon;
}
