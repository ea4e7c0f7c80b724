#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <vector>

// Records what the desktop rig's null sink plays, through its monitor source,
// as 48 kHz mono samples in -1..1; or another sink's monitor with the given
// channels (PulseAudio's names, comma-separated), as interleaved frames.
class MonitorRecording
{
public:
    static constexpr int kRate = 48000;

    MonitorRecording();
    MonitorRecording(const QString &monitor, const QString &channelMap);
    ~MonitorRecording();

    // Returns once samples arrive; an empty string, or what went wrong.
    QString start();
    // Lets the last sound reach the recording, then ends it.
    std::vector<float> stop();

    // An idle null sink renders two seconds ahead in one go and only then
    // follows the streams' latency; a stream of silence kept playing from
    // the start of a test suite makes it render in small steps, so that a
    // recording follows the clock. Returns once that is the case.
    static QString keepSinkRunning(QProcess &silence, const QString &sink = {});

    // One channel of interleaved frames.
    static std::vector<float> channel(const std::vector<float> &frames, int index, int channels);

private:
    QStringList m_arguments;
    QTemporaryDir m_dir;
    QProcess m_parec;
};
