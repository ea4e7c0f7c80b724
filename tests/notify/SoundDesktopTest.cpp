// Sounds as the rig's null sink plays them, recorded from its monitor.
#include "CNoticeDlg.h"
#include "CTickwellDoc.h"
#include "DocumentSoundPlayer.h"
#include "MonitorRecording.h"
#include "NoticeWindowPresenter.h"
#include "NoticeWindows.h"
#include "RecordingMessagePresenter.h"
#include "ToneAnalysis.h"
#include "WaveFiles.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <sndfile.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

// Generous for a loaded two-core machine: only a hang or a wait for the whole
// file should exceed it.
constexpr qint64 kReturnsAtOnceMs = 1500;
constexpr double kLengthToleranceMs = 40.0;

class SoundOnDesktop : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_silence = std::make_unique<QProcess>();
        s_setupError = MonitorRecording::keepSinkRunning(*s_silence);
    }

    static void TearDownTestSuite()
    {
        s_silence->kill();
        s_silence->waitForFinished(5000);
        s_silence.reset();
    }

    void SetUp() override
    {
        ASSERT_EQ(s_setupError, QString());
        ASSERT_TRUE(dir.isValid());
    }

    QString wave(const QString &name, int frequencyHz, int durationMs, const QStringList &options)
    {
        const QString path = dir.filePath(name);
        const QString error = makeSineWave(path, frequencyHz, durationMs, options);
        EXPECT_EQ(error, QString());
        return path;
    }

    void setWave(int index, const QString &path)
    {
        doc.schedules[index].sound = ScheduleEntry::WaveFile;
        doc.schedules[index].waveFilePath = path;
    }

    qint64 timedPlay(int index)
    {
        QElapsedTimer clock;
        clock.start();
        player.PlayEntrySound(index);
        return clock.elapsed();
    }

    static inline std::unique_ptr<QProcess> s_silence;
    static inline QString s_setupError;

    QTemporaryDir dir;
    CTickwellDoc doc;
    RecordingMessagePresenter messages;
    DocumentSoundPlayer player{doc, messages};
    MonitorRecording recording;
};

std::string describe(const std::vector<ToneSpan> &spans)
{
    std::string text;
    for (const ToneSpan &span : spans)
        text += " [" + std::to_string(span.beginMs) + ", " + std::to_string(span.endMs) + "]";
    return text;
}

TEST_F(SoundOnDesktop, BeepIs100HzForHalfASecondAndTheCallWaitsForIt)
{
    ASSERT_EQ(recording.start(), QString());
    // Only 1 and 2 make a sound.
    for (int index : {0, 1, 2}) {
        doc.schedules[index].sound = index == 0 ? 0 : (index == 1 ? 3 : -1);
        player.PlayEntrySound(index);
    }
    QTest::qWait(200);
    doc.schedules[3].sound = ScheduleEntry::Beep;
    const qint64 elapsed = timedPlay(3);
    const std::vector<float> samples = recording.stop();

    // The output is stopped when the call returns, which would cut the tone
    // short had it returned early.
    EXPECT_GE(elapsed, 480);
    EXPECT_LT(elapsed, 3000);
    const ToneAnalysis analysis(samples, MonitorRecording::kRate);
    const auto spans = analysis.spans(100.0);
    ASSERT_EQ(spans.size(), 1u) << describe(spans) << " in " << analysis.lengthMs() << " ms";
    EXPECT_NEAR(spans[0].lengthMs(), 500.0, kLengthToleranceMs);
    EXPECT_NEAR(analysis.frequency(spans[0]), 100.0, 3.0);
    EXPECT_LT(analysis.peakOutside(spans, 30.0), 0.01) << "something else sounded";
    EXPECT_TRUE(messages.messages.empty());
}

QStringList soxOptions(const char *options)
{
    return QString::fromLatin1(options).split(QLatin1Char(' '));
}

struct Encoding
{
    const char *name;
    QStringList soxOptions;
    int frequencyHz;
    // How far the codec may take the tone's level from the file's 0.5.
    double levelTolerance;
    // Written by libsndfile, mono at 8 kHz, when sox cannot.
    int sndfileSubtype = 0;
};

// Every encoding sox writes into a WAV file, each with a header of its own
// kind (plain WAVEFORMATEX with -t wavpcm, else what sox picks), and those
// only libsndfile writes.
TEST_F(SoundOnDesktop, EveryWaveEncodingPlaysAtItsPitchLevelAndLength)
{
    const auto o = soxOptions;
    // Tones 200 Hz apart where not 100: a tone's start and end spread over
    // its neighbours in the analysis' 20 ms windows.
    const Encoding encodings[] = {
        {"pcm8", o("-r 8000 -c 1 -e unsigned-integer -b 8"), 400, 0.02},
        {"pcm16", o("-r 44100 -c 2 -e signed-integer -b 16"), 500, 0.02},
        {"pcm24", o("-r 96000 -c 1 -e signed-integer -b 24"), 600, 0.02},
        {"pcm24Plain", o("-t wavpcm -r 32000 -c 2 -e signed-integer -b 24"), 1500, 0.02},
        {"pcm32", o("-r 48000 -c 2 -e signed-integer -b 32"), 700, 0.02},
        {"float32", o("-r 22050 -c 1 -e floating-point -b 32"), 800, 0.02},
        {"float64", o("-r 44100 -c 2 -e floating-point -b 64"), 1700, 0.02},
        {"imaAdpcm", o("-r 11025 -c 1 -e ima-adpcm"), 900, 0.03},
        {"msAdpcm", o("-r 22050 -c 2 -e ms-adpcm"), 1000, 0.03},
        {"muLaw", o("-r 8000 -c 1 -e u-law"), 1100, 0.03},
        {"aLaw", o("-r 16000 -c 2 -e a-law"), 1200, 0.03},
        // libsndfile cannot seek in these.
        {"gsm", o("-r 8000 -c 1 -e gsm-full-rate"), 1900, 0.06},
        {"g721", {}, 2100, 0.03, SF_FORMAT_G721_32},
        {"nmsAdpcm16", {}, 2300, 0.03, SF_FORMAT_NMS_ADPCM_16},
        {"nmsAdpcm24", {}, 2500, 0.03, SF_FORMAT_NMS_ADPCM_24},
        {"nmsAdpcm32", {}, 2700, 0.03, SF_FORMAT_NMS_ADPCM_32},
    };
    constexpr int kToneMs = 400;
    // A file cut off inside its data plays what it holds.
    const QString cut = wave(QStringLiteral("cut.wav"), 1300, 2 * kToneMs, o("-r 32000 -c 1 -b 16"));
    ASSERT_TRUE(truncateFile(cut, 44 + (QFileInfo(cut).size() - 44) / 4 * 2));

    ASSERT_EQ(recording.start(), QString());
    for (const Encoding &encoding : encodings) {
        SCOPED_TRACE(encoding.name);
        const QString name = QString::fromLatin1(encoding.name) + QStringLiteral(".wav");
        if (encoding.sndfileSubtype != 0) {
            const QString path = dir.filePath(name);
            ASSERT_EQ(
                makeSndfileSineWave(path, encoding.frequencyHz, kToneMs, 8000, encoding.sndfileSubtype), QString());
            setWave(0, path);
        } else {
            setWave(0, wave(name, encoding.frequencyHz, kToneMs, encoding.soxOptions));
        }
        EXPECT_LT(timedPlay(0), kReturnsAtOnceMs);
        EXPECT_EQ(doc.bDeviceOpen, 1);
        QTest::qWait(kToneMs + 400);
    }
    setWave(0, cut);
    EXPECT_LT(timedPlay(0), kReturnsAtOnceMs);
    QTest::qWait(kToneMs + 400);
    const std::vector<float> samples = recording.stop();
    EXPECT_TRUE(messages.messages.empty()) << messages.messages.front().first.toStdString();

    const ToneAnalysis analysis(samples, MonitorRecording::kRate);
    for (const Encoding &encoding : encodings) {
        SCOPED_TRACE(encoding.name);
        const auto spans = analysis.spans(encoding.frequencyHz);
        ASSERT_EQ(spans.size(), 1u) << describe(spans);
        EXPECT_NEAR(spans[0].lengthMs(), kToneMs, kLengthToleranceMs);
        EXPECT_NEAR(analysis.frequency(spans[0]), encoding.frequencyHz, encoding.frequencyHz * 0.015);
        EXPECT_NEAR(analysis.amplitude(spans[0], encoding.frequencyHz), 0.5, encoding.levelTolerance);
        std::printf("%-10s %5d Hz: %6.1f ms, %7.2f Hz, level %.3f\n", encoding.name, encoding.frequencyHz,
            spans[0].lengthMs(), analysis.frequency(spans[0]), analysis.amplitude(spans[0], encoding.frequencyHz));
    }
    const auto cutSpans = analysis.spans(1300);
    ASSERT_EQ(cutSpans.size(), 1u) << describe(cutSpans);
    EXPECT_NEAR(cutSpans[0].lengthMs(), kToneMs, kLengthToleranceMs);

    // The last file has ended, and its device is still open.
    EXPECT_EQ(doc.bDeviceOpen, 1);
    EXPECT_TRUE(player.wavePlayback().isOpen());
    EXPECT_TRUE(doc.OnNewDocument());
    EXPECT_EQ(doc.bDeviceOpen, 0);
    EXPECT_FALSE(player.wavePlayback().isOpen());
    EXPECT_TRUE(messages.messages.empty());
}

// A null sink of six channels in the 5.1 order, the default output while the
// object lives, kept rendering in small steps like the rig's own.
class SurroundSink
{
public:
    static constexpr int kChannels = 6;
    static inline const QString kName = QStringLiteral("tickwell_surround");
    static inline const QString kMap
        = QStringLiteral("front-left,front-right,front-center,lfe,rear-left,rear-right");

    ~SurroundSink()
    {
        m_silence.kill();
        m_silence.waitForFinished(5000);
        pactl({QStringLiteral("set-default-sink"), qEnvironmentVariable("TICKWELL_RIG_SINK")});
        if (!m_module.isEmpty())
            pactl({QStringLiteral("unload-module"), m_module});
    }

    // An empty string, or what went wrong.
    QString load()
    {
        m_module = pactl({QStringLiteral("load-module"), QStringLiteral("module-null-sink"),
            QStringLiteral("sink_name=") + kName, QStringLiteral("channels=%1").arg(kChannels),
            QStringLiteral("channel_map=") + kMap})
                       .value_or(QString());
        if (m_module.isEmpty())
            return QStringLiteral("pactl could not load a null sink of six channels");
        if (!pactl({QStringLiteral("set-default-sink"), kName}))
            return QStringLiteral("pactl could not make it the default sink");
        return MonitorRecording::keepSinkRunning(m_silence, kName);
    }

private:
    // What pactl printed, trimmed; nothing when it failed.
    static std::optional<QString> pactl(const QStringList &arguments)
    {
        QProcess process;
        process.start(QStringLiteral("pactl"), arguments);
        if (!process.waitForFinished(10000) || process.exitStatus() != QProcess::NormalExit
            || process.exitCode() != 0)
            return std::nullopt;
        return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
    }

    QString m_module;
    QProcess m_silence;
};

struct ChannelLayout
{
    const char *name;
    QStringList soxOptions;
    // Where each of the file's channels belongs among the sink's 5.1.
    std::vector<int> sinkChannels;
};

// Each channel of the file carries a tone of its own; each tone must come out
// of its own speaker and no other of the file's speakers.
TEST_F(SoundOnDesktop, EachChannelOfAMultichannelWavePlaysWhereItBelongs)
{
    const auto o = soxOptions;
    const ChannelLayout layouts[] = {
        // WAVE_FORMAT_EXTENSIBLE, mask 0x3F: FL FR FC LFE BL BR.
        {"surround51Mask", o("-r 48000 -c 6 -b 16"), {0, 1, 2, 3, 4, 5}},
        // No mask: the WAV order.
        {"sixChannelsPlain", o("-t wavpcm -r 44100 -c 6 -b 16"), {0, 1, 2, 3, 4, 5}},
        // Mask 0x33: FL FR BL BR, not the first four of the WAV order.
        {"quadMask", o("-r 48000 -c 4 -b 24"), {0, 1, 4, 5}},
    };
    const int tonesHz[] = {330, 470, 610, 750, 890, 1030};
    constexpr int kToneMs = 400;
    SurroundSink sink;
    ASSERT_EQ(sink.load(), QString());

    for (const ChannelLayout &layout : layouts) {
        SCOPED_TRACE(layout.name);
        const std::vector<int> frequencies(tonesHz, tonesHz + layout.sinkChannels.size());
        const QString path = dir.filePath(QString::fromLatin1(layout.name) + QStringLiteral(".wav"));
        ASSERT_EQ(makeChannelTones(path, frequencies, kToneMs, layout.soxOptions), QString());
        setWave(0, path);
        MonitorRecording surround(SurroundSink::kName + QStringLiteral(".monitor"), SurroundSink::kMap);
        ASSERT_EQ(surround.start(), QString());
        player.PlayEntrySound(0);
        QTest::qWait(kToneMs + 400);
        const std::vector<float> frames = surround.stop();

        for (std::size_t at = 0; at < layout.sinkChannels.size(); ++at) {
            const int sinkChannel = layout.sinkChannels[at];
            SCOPED_TRACE("sink channel " + std::to_string(sinkChannel));
            const std::vector<float> samples = MonitorRecording::channel(frames, sinkChannel, SurroundSink::kChannels);
            const ToneAnalysis analysis(samples, MonitorRecording::kRate);
            const auto spans = analysis.spans(frequencies[at]);
            ASSERT_EQ(spans.size(), 1u) << describe(spans);
            EXPECT_NEAR(spans[0].lengthMs(), kToneMs, kLengthToleranceMs);
            const double own = analysis.amplitude(spans[0], frequencies[at]);
            EXPECT_NEAR(own, 0.5, 0.03);
            double strayest = 0.0;
            for (std::size_t other = 0; other < frequencies.size(); ++other) {
                if (other != at)
                    strayest = std::max(strayest, analysis.amplitude(spans[0], frequencies[other]));
            }
            EXPECT_LT(strayest, 0.02) << "another channel's tone sounds here";
            std::printf("%-16s channel %zu -> %d: %4d Hz level %.3f, strayest other tone %.4f\n", layout.name, at,
                sinkChannel, frequencies[at], own, strayest);
        }
    }
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(SoundOnDesktop, ANewWaveCutsOffThePlayingOne)
{
    setWave(0, wave(QStringLiteral("long.wav"), 500, 3000, {QStringLiteral("-r"), QStringLiteral("44100")}));
    setWave(1, wave(QStringLiteral("short.wav"), 800, 400, {QStringLiteral("-r"), QStringLiteral("22050")}));
    ASSERT_EQ(recording.start(), QString());
    player.PlayEntrySound(0);
    QTest::qWait(600);
    player.PlayEntrySound(1);
    QTest::qWait(700);
    const std::vector<float> samples = recording.stop();

    const ToneAnalysis analysis(samples, MonitorRecording::kRate);
    const auto first = analysis.spans(500);
    const auto second = analysis.spans(800);
    ASSERT_EQ(first.size(), 1u) << describe(first);
    ASSERT_EQ(second.size(), 1u) << describe(second);
    EXPECT_GT(first[0].lengthMs(), 300.0);
    EXPECT_LT(first[0].lengthMs(), 1200.0) << "the first file played on";
    EXPECT_LE(first[0].endMs, second[0].beginMs + 30.0) << "both files sounded together";
    EXPECT_NEAR(second[0].lengthMs(), 400.0, kLengthToleranceMs);
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(SoundOnDesktop, ClosingTheNoticeAndABeepLeaveAPlayingWaveAlone)
{
    setWave(0, wave(QStringLiteral("music.wav"), 600, 2000, {QStringLiteral("-r"), QStringLiteral("48000")}));
    doc.schedules[1].sound = ScheduleEntry::Beep;
    NoticeWindowPresenter notices;
    ASSERT_EQ(recording.start(), QString());

    player.PlayEntrySound(0);
    notices.ShowNotice(QStringLiteral("音楽の時間です"));
    const auto opened = openNotices();
    ASSERT_EQ(opened.size(), 1u);
    CNoticeDlg *notice = opened.front();
    ASSERT_TRUE(QTest::qWaitFor([&] { return notice->isEnabled(); }, 3000));
    QTest::mouseClick(notice->findChild<QPushButton *>(QStringLiteral("noticeOk")), Qt::LeftButton);
    flushDeletions();
    EXPECT_TRUE(openNotices().empty());

    QTest::qWait(100);
    // The beep holds the event loop that feeds the WAV output for half a
    // second; what the server holds must carry the file through.
    player.PlayEntrySound(1);
    QTest::qWait(1400);
    const std::vector<float> samples = recording.stop();

    const ToneAnalysis analysis(samples, MonitorRecording::kRate);
    const auto music = analysis.spans(600);
    const auto beep = analysis.spans(100);
    ASSERT_EQ(music.size(), 1u) << describe(music);
    EXPECT_NEAR(music[0].lengthMs(), 2000.0, kLengthToleranceMs);
    ASSERT_EQ(beep.size(), 1u) << describe(beep);
    EXPECT_NEAR(beep[0].lengthMs(), 500.0, kLengthToleranceMs);
    EXPECT_GT(beep[0].beginMs, music[0].beginMs);
    EXPECT_LT(beep[0].endMs, music[0].endMs);
    EXPECT_EQ(doc.bDeviceOpen, 1);
}

} // namespace
