// The audio server goes away while a WAV file plays, and comes back: the
// program must not crash or hang, the notice window must still open, and the
// next sound must play once the server is back.
#include "WavePlayback.h"
#include "CTickwellDoc.h"
#include "DocumentSoundPlayer.h"
#include "Figures.h"
#include "MonitorRecording.h"
#include "NoticeWindowPresenter.h"
#include "NoticeWindows.h"
#include "RecordingMessagePresenter.h"
#include "RigAudioServer.h"
#include "ToneAnalysis.h"
#include "WaveFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>
#include <memory>
#include <vector>

#include <sys/types.h>
#include <unistd.h>

namespace {

TEST(AudioServerLoss, KilledWhilePlayingThenBack)
{
    ASSERT_TRUE(RigAudioServer::available()) << "runs inside tests/desktop-session";
    QTemporaryDir dir;
    const QString longWave = dir.filePath(QStringLiteral("long.wav"));
    const QString shortWave = dir.filePath(QStringLiteral("short.wav"));
    ASSERT_EQ(makeSineWave(longWave, 500, 4000, {QStringLiteral("-r"), QStringLiteral("44100")}), QString());
    ASSERT_EQ(makeSineWave(shortWave, 700, 600, {QStringLiteral("-r"), QStringLiteral("22050")}), QString());

    CTickwellDoc doc;
    doc.schedules[0].sound = ScheduleEntry::WaveFile;
    doc.schedules[0].waveFilePath = longWave;
    doc.schedules[1].sound = ScheduleEntry::WaveFile;
    doc.schedules[1].waveFilePath = shortWave;
    RecordingMessagePresenter messages;
    DocumentSoundPlayer player(doc, messages);
    NoticeWindowPresenter notices;
    RigAudioServer server;

    const int trials = trialCount(1, 4);
    int playedAfterReturn = 0;
    int noticesWithoutServer = 0;
    int clearMessages = 0;
    for (int trial = 0; trial < trials; ++trial) {
        SCOPED_TRACE(trial);
        player.PlayEntrySound(0);
        QTest::qWait(400);
        EXPECT_EQ(player.wavePlayback().state(), WavePlayback::State::Playing);

        ASSERT_TRUE(server.kill());
        QTest::qWait(300);

        // The next firing while the server is gone: a clear message at once,
        // and the notice window all the same.
        const std::size_t said = messages.messages.size();
        QElapsedTimer clock;
        clock.start();
        player.PlayEntrySound(1);
        notices.ShowNotice(QStringLiteral("音が出なくても表示されます"));
        EXPECT_LT(clock.elapsed(), 3000);
        if (messages.messages.size() == said + 1
            && messages.messages.back().first
                == QStringLiteral("音声の出力装置を開けないため、wavファイルを再生できません。"))
            ++clearMessages;
        QTest::qWait(700);
        for (CNoticeDlg *notice : openNotices()) {
            noticesWithoutServer += notice->isVisible() ? 1 : 0;
            notice->close();
        }
        flushDeletions();

        // The next firing, as soon as the server is back, is heard.
        ASSERT_TRUE(server.start());
        MonitorRecording recording;
        ASSERT_EQ(recording.start(), QString());
        const std::size_t before = messages.messages.size();
        player.PlayEntrySound(1);
        QTest::qWait(1000);
        const std::vector<float> samples = recording.stop();
        EXPECT_EQ(messages.messages.size(), before) << messages.messages.back().first.toStdString();
        const ToneAnalysis analysis(samples, MonitorRecording::kRate);
        const bool played = analysis.spans(700).size() == 1;
        EXPECT_TRUE(played) << "the first sound after the server came back";
        playedAfterReturn += played ? 1 : 0;
    }
    EXPECT_EQ(clearMessages, trials);
    EXPECT_EQ(noticesWithoutServer, trials);
    recordFigure(QStringLiteral("audio server killed while a WAV plays (sound player on the rig)"),
        QStringLiteral("%1 kills during playback; the next firing without a server; the server started again "
                       "and the next firing at once")
            .arg(trials),
        QStringLiteral(
            "none: %1 of %2 firings without a server said \"音声の出力装置を開けないため、"
            "wavファイルを再生できません。\" at once and opened their notice; %3 of %2 sounds after "
            "the server came back were heard")
            .arg(clearMessages)
            .arg(trials)
            .arg(playedAfterReturn));
}

// With no server when the player is made, a WAV firing says so and a beep
// gives up at once; once the server is there, both are heard.
TEST(AudioServerLoss, GoneAtStartThenBack)
{
    ASSERT_TRUE(RigAudioServer::available()) << "runs inside tests/desktop-session";
    QTemporaryDir dir;
    const QString wave = dir.filePath(QStringLiteral("chime.wav"));
    ASSERT_EQ(makeSineWave(wave, 700, 600, {QStringLiteral("-r"), QStringLiteral("22050")}), QString());
    CTickwellDoc doc;
    doc.schedules[0].sound = ScheduleEntry::WaveFile;
    doc.schedules[0].waveFilePath = wave;
    doc.schedules[1].sound = ScheduleEntry::Beep;
    RigAudioServer server;
    // A server an earlier test started ended with that test.
    if (RigAudioServer::answers()) {
        ASSERT_TRUE(server.kill());
    }
    RecordingMessagePresenter messages;
    DocumentSoundPlayer player(doc, messages);

    const int trials = trialCount(1, 3);
    int wavesHeard = 0;
    int beepsHeard = 0;
    for (int trial = 0; trial < trials; ++trial) {
        SCOPED_TRACE(trial);
        if (trial > 0) {
            ASSERT_TRUE(server.kill());
        }
        const std::size_t said = messages.messages.size();
        QElapsedTimer clock;
        clock.start();
        player.PlayEntrySound(0);
        player.PlayEntrySound(1);
        EXPECT_LT(clock.elapsed(), 3000);
        ASSERT_EQ(messages.messages.size(), said + 1) << "the WAV says it cannot play, the beep says nothing";
        EXPECT_EQ(messages.messages.back().first,
            QStringLiteral("音声の出力装置を開けないため、wavファイルを再生できません。"));

        ASSERT_TRUE(server.start());
        MonitorRecording recording;
        ASSERT_EQ(recording.start(), QString());
        player.PlayEntrySound(1); // the beep holds the caller for its half second
        player.PlayEntrySound(0);
        QTest::qWait(1000);
        const std::vector<float> samples = recording.stop();
        EXPECT_EQ(messages.messages.size(), said + 1);
        const ToneAnalysis analysis(samples, MonitorRecording::kRate);
        const bool waveHeard = analysis.spans(700).size() == 1;
        const bool beepHeard = analysis.spans(100).size() == 1;
        EXPECT_TRUE(waveHeard) << "the WAV once the server is there";
        EXPECT_TRUE(beepHeard) << "the beep once the server is there";
        wavesHeard += waveHeard ? 1 : 0;
        beepsHeard += beepHeard ? 1 : 0;
    }
    recordFigure(QStringLiteral("audio server absent when the sound player starts (sound player on the rig)"),
        QStringLiteral("%1 times: a WAV and a beep without a server, then the server started and both again")
            .arg(trials),
        QStringLiteral("none: every WAV without a server said so, every beep gave up in silence; after the "
                       "server came back %1 of %2 WAVs and %3 of %2 beeps were heard")
            .arg(wavesHeard)
            .arg(trials)
            .arg(beepsHeard));
}

} // namespace
