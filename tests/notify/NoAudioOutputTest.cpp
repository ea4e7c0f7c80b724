// With no audio server at all (on Windows: no audio driver, as in the tests'
// Wine prefix): the WAV file opens but cannot play, which is shown as a
// warning where the platform tells; the beep gives up at once; nothing hangs.
#include "CTickwellDoc.h"
#include "DocumentSoundPlayer.h"
#include "RecordingMessagePresenter.h"
#include "WaveFiles.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Qt connects to the audio server the first time a test asks for a device;
// by then this points it at a socket that does not exist.
const bool kNoAudioServer = qputenv("PULSE_SERVER", "unix:/nonexistent/tickwell-no-audio-server");

// What the play shows. Elsewhere the output's failure is shown. On Windows
// the MCI device plays in a thread of its own and its play reports no
// failure (under Wine without an audio driver, as the tests run): nothing.
#ifdef Q_OS_WIN
constexpr std::size_t kPlayMessages = 0;
#else
constexpr std::size_t kPlayMessages = 1;
#endif

class NoAudioOutput : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(kNoAudioServer);
        ASSERT_TRUE(dir.isValid());
        wave = dir.filePath(QStringLiteral("chime.wav"));
        ASSERT_EQ(makeSineWave(wave, 440, 300, {QStringLiteral("-r"), QStringLiteral("22050")}), QString());
        doc.schedules[0].sound = ScheduleEntry::WaveFile;
        doc.schedules[0].waveFilePath = wave;
        doc.schedules[1].sound = ScheduleEntry::Beep;
    }

    QTemporaryDir dir;
    QString wave;
    CTickwellDoc doc;
    RecordingMessagePresenter messages;
    DocumentSoundPlayer player{doc, messages};
};

TEST_F(NoAudioOutput, WaveOpensButCannotPlayAndTheBeepGivesUpAtOnce)
{
    QElapsedTimer clock;
    clock.start();
    player.PlayEntrySound(0);
    EXPECT_LT(clock.elapsed(), 5000);
    ASSERT_EQ(messages.messages.size(), kPlayMessages);
    if (kPlayMessages == 1) {
        EXPECT_TRUE(messages.messages[0].first.contains(QStringLiteral("音声の出力装置")))
            << messages.messages[0].first.toStdString();
        EXPECT_EQ(messages.messages[0].second, MessagePresenter::Icon::Warning);
    }
    // The file stays open until the next WAV or a new document.
    EXPECT_EQ(doc.bDeviceOpen, 1);
    EXPECT_TRUE(player.wavePlayback().isOpen());

    clock.restart();
    player.PlayEntrySound(1);
    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_EQ(messages.messages.size(), kPlayMessages) << "a failed beep says nothing";
    EXPECT_EQ(doc.bDeviceOpen, 1) << "a beep leaves the WAV device alone";

    EXPECT_TRUE(doc.OnNewDocument());
    EXPECT_EQ(doc.bDeviceOpen, 0);
    EXPECT_FALSE(player.wavePlayback().isOpen());
    EXPECT_EQ(messages.messages.size(), kPlayMessages) << "closing worked: nothing more to say";
}

TEST_F(NoAudioOutput, NextWaveClosesTheOpenOneFirst)
{
    player.PlayEntrySound(0);
    ASSERT_EQ(doc.bDeviceOpen, 1);
    doc.schedules[0].waveFilePath = dir.filePath(QStringLiteral("gone.wav"));
    player.PlayEntrySound(0);
    EXPECT_EQ(doc.bDeviceOpen, 0);
    EXPECT_FALSE(player.wavePlayback().isOpen());
    ASSERT_EQ(messages.messages.size(), kPlayMessages + 1);
    EXPECT_EQ(messages.messages.back().first, QStringLiteral("wavファイルのパスが見当たりません。"));
}

} // namespace
