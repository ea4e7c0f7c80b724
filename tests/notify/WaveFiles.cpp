#include "WaveFiles.h"

#include <QFile>
#include <QProcess>

QString makeSineWave(const QString &path, int frequencyHz, int durationMs, const QStringList &outputOptions)
{
    QStringList arguments{QStringLiteral("-n")};
    arguments << outputOptions << path << QStringLiteral("synth")
              << QString::number(durationMs / 1000.0, 'f', 3) << QStringLiteral("sine")
              << QString::number(frequencyHz) << QStringLiteral("vol") << QStringLiteral("0.5");
    QProcess sox;
    sox.start(QStringLiteral("sox"), arguments);
    if (!sox.waitForFinished(30000) || sox.exitStatus() != QProcess::NormalExit || sox.exitCode() != 0)
        return QStringLiteral("sox %1: %2").arg(arguments.join(QLatin1Char(' ')), sox.readAllStandardError());
    return {};
}

bool truncateFile(const QString &path, qint64 bytes)
{
    QFile file(path);
    return file.resize(bytes);
}
