#include "Figures.h"

#include <QFile>

#include <cstdio>

int trialCount(int quick, int full)
{
    return qEnvironmentVariable("TICKWELL_RELIABILITY") == QLatin1String("full") ? full : quick;
}

void recordFigure(const QString &test, const QString &tried, const QString &lost)
{
    const QByteArray line = (test + u'|' + tried + u'|' + lost).toUtf8() + '\n';
    std::fputs(line.constData(), stdout);
    const QString path = qEnvironmentVariable("TICKWELL_FIGURES");
    if (path.isEmpty())
        return;
    QFile file(path);
    if (file.open(QIODevice::Append))
        file.write(line);
}
