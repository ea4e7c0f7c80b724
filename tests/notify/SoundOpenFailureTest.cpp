// Paths that name no playable WAV file: each gives the one message and leaves
// no device open, and none of them can hold the caller up.
#include "CTickwellDoc.h"
#include "DocumentSoundPlayer.h"
#include "RecordingMessagePresenter.h"
#include "WaveFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <functional>

#ifdef Q_OS_WIN
#include "WavePlayback.h"

#include <windows.h>

#include <mmsystem.h>
#else
#include <sys/stat.h>
#endif

#include <gtest/gtest.h>

namespace {

const QString kPathMissing = QStringLiteral("wavファイルのパスが見当たりません。");

struct BadPath
{
    const char *name;
    // Prepares the path inside dir; returns it, or an empty string on failure.
    std::function<QString(const QDir &dir)> make;
};

void PrintTo(const BadPath &path, std::ostream *out)
{
    *out << path.name;
}

QString writeFile(const QDir &dir, const QString &name, const QByteArray &content)
{
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        return {};
    return file.fileName();
}

const BadPath kBadPaths[] = {
    {"Missing", [](const QDir &dir) { return dir.filePath(QStringLiteral("無い.wav")); }},
    {"DefaultPattern", [](const QDir &) { return QStringLiteral("*.wav"); }},
    {"Empty", [](const QDir &) { return QString(); }},
    {"TextFile",
        [](const QDir &dir) {
            return writeFile(dir, QStringLiteral("memo.wav"), "これは音ではありません\n");
        }},
    {"EmptyFile", [](const QDir &dir) { return writeFile(dir, QStringLiteral("empty.wav"), {}); }},
    {"HeaderCutShort",
        [](const QDir &dir) {
            const QString path = dir.filePath(QStringLiteral("cut.wav"));
            if (!makeSineWave(path, 440, 200, {QStringLiteral("-r"), QStringLiteral("8000")}).isEmpty()
                || !truncateFile(path, 30))
                return QString();
            return path;
        }},
    {"AiffNamedWav",
        [](const QDir &dir) {
            const QString path = dir.filePath(QStringLiteral("aiff.aiff"));
            const QString renamed = dir.filePath(QStringLiteral("aiff.wav"));
            if (!makeSineWave(path, 440, 200, {QStringLiteral("-r"), QStringLiteral("8000")}).isEmpty()
                || !QFile::rename(path, renamed))
                return QString();
            return renamed;
        }},
    {"Directory",
        [](const QDir &dir) {
            dir.mkdir(QStringLiteral("folder.wav"));
            return dir.filePath(QStringLiteral("folder.wav"));
        }},
#ifdef Q_OS_WIN
    // Devices: the null device, the console, a drive.
    {"NulDevice", [](const QDir &) { return QStringLiteral("NUL"); }},
    {"ConsoleDevice", [](const QDir &) { return QStringLiteral("CON"); }},
    {"DriveRoot", [](const QDir &) { return QStringLiteral("C:\\"); }},
#else
    // Opening a FIFO without a writer blocks; reading a device never ends.
    {"Fifo",
        [](const QDir &dir) {
            const QString path = dir.filePath(QStringLiteral("fifo.wav"));
            return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0 ? path : QString();
        }},
    {"DevZero", [](const QDir &) { return QStringLiteral("/dev/zero"); }},
    {"DevRandom", [](const QDir &) { return QStringLiteral("/dev/random"); }},
#endif
};

class SoundOpenFailure : public ::testing::TestWithParam<BadPath>
{
};

TEST_P(SoundOpenFailure, ShowsThePathMessageAndOpensNothing)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = GetParam().make(QDir(dir.path()));
    ASSERT_TRUE(!path.isEmpty() || std::string(GetParam().name) == "Empty");

    CTickwellDoc doc;
    RecordingMessagePresenter messages;
    DocumentSoundPlayer player(doc, messages);
    doc.schedules[4].sound = ScheduleEntry::WaveFile;
    doc.schedules[4].waveFilePath = path;

    QElapsedTimer clock;
    clock.start();
    player.PlayEntrySound(4);
    EXPECT_LT(clock.elapsed(), 5000);

    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].first, kPathMissing);
    EXPECT_EQ(messages.messages[0].second, MessagePresenter::Icon::None);
    EXPECT_EQ(doc.bDeviceOpen, 0);
    EXPECT_FALSE(player.wavePlayback().isOpen());
}

INSTANTIATE_TEST_SUITE_P(Sound, SoundOpenFailure, ::testing::ValuesIn(kBadPaths),
    [](const auto &info) { return std::string(info.param.name); });

TEST(SoundSelection, OnlyBeepAndWaveValuesDoAnything)
{
    CTickwellDoc doc;
    RecordingMessagePresenter messages;
    DocumentSoundPlayer player(doc, messages);
    EXPECT_EQ(doc.mciOpenParms, &player.wavePlayback());
    // Values other than 1 and 2 are silent, even with a bad file named.
    for (int sound : {0, 3, -1, 100}) {
        doc.schedules[0].sound = sound;
        doc.schedules[0].waveFilePath = QStringLiteral("*.wav");
        player.PlayEntrySound(0);
    }
    // Indexes outside the table are ignored.
    doc.schedules[9].sound = ScheduleEntry::WaveFile;
    doc.schedules[9].waveFilePath = QStringLiteral("*.wav");
    player.PlayEntrySound(10);
    player.PlayEntrySound(-1);
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(doc.bDeviceOpen, 0);
}

#ifdef Q_OS_WIN

QString mciText(MCIERROR error)
{
    wchar_t text[129] = {};
    mciGetErrorStringW(error, text, 129);
    return QString::fromWCharArray(text);
}

// The MCI device taken from under the player (every device of the program
// closed): its play and its close fail, each shown with the system's own text
// for the MCI error, with the warning icon. The device counts as open until it
// is closed, and a close that failed still lets it go.
TEST(SoundMci, FailedPlayAndCloseShowTheSystemsText)
{
    // 932 for a Japanese system, where the name below is in the code page;
    // 1252 for a Western one, where it is not.
    SCOPED_TRACE(QStringLiteral("ANSI code page %1").arg(GetACP()).toStdString());
    QTemporaryDir dir;
    const QString wave = dir.filePath(QStringLiteral("チャイム.wav"));
    ASSERT_EQ(makeSineWave(wave, 440, 300, {QStringLiteral("-r"), QStringLiteral("22050")}), QString());
    const QString invalidDevice = mciText(MCIERR_INVALID_DEVICE_ID);
    ASSERT_FALSE(invalidDevice.isEmpty());

    RecordingMessagePresenter messages;
    WavePlayback playback(messages);
    ASSERT_TRUE(playback.open(wave)) << "a path in Japanese opens";
    mciSendCommandW(MCI_ALL_DEVICE_ID, MCI_CLOSE, MCI_WAIT, 0);
    EXPECT_FALSE(playback.play());
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].first, invalidDevice);
    EXPECT_EQ(messages.messages[0].second, MessagePresenter::Icon::Warning);
    EXPECT_TRUE(playback.isOpen());
    playback.close();
    ASSERT_EQ(messages.messages.size(), 2u);
    EXPECT_EQ(messages.messages[1].first, invalidDevice);
    EXPECT_EQ(messages.messages[1].second, MessagePresenter::Icon::Warning);
    EXPECT_FALSE(playback.isOpen());

    // Through the document: the next WAV closes the lost device (and says
    // so), then opens and plays its own.
    CTickwellDoc doc;
    RecordingMessagePresenter shown;
    DocumentSoundPlayer player(doc, shown);
    doc.schedules[0].sound = ScheduleEntry::WaveFile;
    doc.schedules[0].waveFilePath = wave;
    player.PlayEntrySound(0);
    ASSERT_EQ(doc.bDeviceOpen, 1);
    mciSendCommandW(MCI_ALL_DEVICE_ID, MCI_CLOSE, MCI_WAIT, 0);
    player.PlayEntrySound(0);
    ASSERT_EQ(shown.messages.size(), 1u);
    EXPECT_EQ(shown.messages[0].first, invalidDevice);
    EXPECT_EQ(doc.bDeviceOpen, 1);
    EXPECT_NE(player.wavePlayback().state(), WavePlayback::State::Stopped);
    EXPECT_TRUE(doc.OnNewDocument());
    EXPECT_EQ(shown.messages.size(), 1u) << "the device of the second WAV closes without a word";
    EXPECT_EQ(player.wavePlayback().state(), WavePlayback::State::Stopped);
}

#endif

TEST(SoundSelection, PlayerLeavesTheDocumentWhenItGoes)
{
    CTickwellDoc doc;
    RecordingMessagePresenter messages;
    {
        DocumentSoundPlayer player(doc, messages);
    }
    EXPECT_EQ(doc.mciOpenParms, nullptr);
    EXPECT_TRUE(doc.OnNewDocument());
}

} // namespace
