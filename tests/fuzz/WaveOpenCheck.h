#pragma once

#include <QByteArray>
#include <QString>

// Writes bytes as a WAV file at path and opens it as an entry's sound does.
// A file that opens must have a playable format and read to its end within
// the length it announced; a file that does not open must give the one
// message "wavファイルのパスが見当たりません。" and leave no device open.
// Returns what was wrong, or an empty string. The file is removed afterwards.
QString checkWaveOpen(const QByteArray &bytes, const QString &path);
