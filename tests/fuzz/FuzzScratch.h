#pragma once

#include <QString>
#include <QTemporaryDir>

// A private folder for the files a fuzz target writes, one fresh name per
// input, so that no cache keyed by path or time stamp sees an older input.
class FuzzScratch
{
public:
    explicit FuzzScratch(const QString &suffix)
        : m_suffix(suffix)
    {
    }

    QString nextPath() { return m_dir.filePath(QStringLiteral("input-%1%2").arg(++m_count).arg(m_suffix)); }

private:
    QTemporaryDir m_dir;
    QString m_suffix;
    qint64 m_count = 0;
};
