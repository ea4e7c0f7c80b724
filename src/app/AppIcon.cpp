#include "AppIcon.h"

#include <QImage>
#include <QImageReader>
#include <QPixmap>
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
    // Read as PNG and nothing else: an image left to find its own format
    // makes Qt load every image format plugin to ask it, at every start.
    QIcon icon;
    for (const char *path : {":/icons/tickwell-16.png", ":/icons/tickwell-32.png"}) {
        QImageReader reader(QString::fromLatin1(path), "png");
        reader.setAutoDetectImageFormat(false);
        const QImage image = reader.read();
        if (!image.isNull())
            icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}
