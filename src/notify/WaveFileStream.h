#pragma once

#include "AudioFormat.h"

#include <QIODevice>

#include <memory>
#include <vector>

struct sf_private_tag;

// A WAV file decoded while it is read: the audio output pulls 32-bit float
// frames from it, a little at a time, so the file is never read whole. Its
// channels are where the file says, or in the WAV order (front left, front
// right, front centre, LFE, back left, back right, ...) when it does not.
class WaveFileStream final : public QIODevice
{
    Q_OBJECT

public:
    // nullptr when path is not a regular file holding a WAV file that can be
    // played. Never blocks: FIFOs, devices and directories are refused
    // before anything is read from them.
    static std::unique_ptr<WaveFileStream> open(const QString &path);
    ~WaveFileStream() override;

    const AudioFormat &format() const { return m_format; }
    // Frames of audio in the file.
    qint64 frames() const { return m_frames; }

    // Back to the first frame; false when the file cannot be read from its
    // start again.
    bool rewind();
    // false when the file could not be closed cleanly; then it is still gone.
    bool closeFile();

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *data, qint64 size) override;

private:
    WaveFileStream(sf_private_tag *file, int descriptor, bool seekable, AudioFormat format, qint64 frames);
    // Opens the file afresh, for codecs that libsndfile cannot seek in.
    bool reopen();

    sf_private_tag *m_file;
    // What the file is opened from again.
    int m_descriptor;
    bool m_seekable;
    AudioFormat m_format;
    qint64 m_frames;
    qint64 m_framesLeft = 0;
    std::vector<float> m_buffer;
};
