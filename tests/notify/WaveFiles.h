#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// Test sounds made with sox: a sine of frequencyHz lasting durationMs at half
// full scale, written with the given sox output options (rate, channels,
// encoding). Returns an empty string on success, else what went wrong.
QString makeSineWave(const QString &path, int frequencyHz, int durationMs, const QStringList &outputOptions);
// The same with a sine of its own on each channel, in the order given; the
// options set as many channels.
QString makeChannelTones(
    const QString &path, const std::vector<int> &frequenciesHz, int durationMs, const QStringList &outputOptions);
// A mono sine like makeSineWave's, written by libsndfile, for the encodings
// sox cannot write into a WAV file; subtype is one of libsndfile's
// SF_FORMAT_ codecs.
QString makeSndfileSineWave(const QString &path, int frequencyHz, int durationMs, int rate, int subtype);

// Cuts a file down to its first bytes.
bool truncateFile(const QString &path, qint64 bytes);
