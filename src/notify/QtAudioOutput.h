#pragma once

#include "AudioOutput.h"

#include <QAudioFormat>
#include <QTimer>

#include <memory>
#include <vector>

class QAudioSink;

// Audio through Qt's audio output, written by hand: from a timer of the event
// loop while the program runs, and from pump() while the caller holds the
// loop. After the source's last frame comes silence until the output has
// played that frame, so that a clip shorter than the output's pre-buffer is
// heard too.
class QtAudioOutput final : public AudioOutput
{
public:
    QtAudioOutput();
    ~QtAudioOutput() override;

    Start start(const AudioFormat &format, QIODevice *source, int bufferMs) override;
    void pump() override;
    bool isDone() const override;
    State state() const override;
    void stop() override;

private:
    QTimer m_feeder;
    std::unique_ptr<QAudioSink> m_sink;
    QIODevice *m_output = nullptr;
    QIODevice *m_source = nullptr;
    QAudioFormat m_format;
    qint64 m_sourceBytes = 0;
    bool m_sourceEnded = false;
    bool m_done = false;
    std::vector<char> m_chunk;
};
