#include "AppIcon.h"

#include <QString>

// Outside any namespace, as Q_INIT_RESOURCE requires. The resources live in
// this static library; naming them here keeps the linker from dropping them.
static void initResources()
{
    Q_INIT_RESOURCE(tickwell);
}

QIcon appIcon()
{
    initResources();
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/tickwell-16.png"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/icons/tickwell-32.png"), QSize(32, 32));
    return icon;
}
