#include "WaveOpenCheck.h"

#include "CTickwellDoc.h"
#include "DocumentSoundPlayer.h"
#include "MessagePresenter.h"
#include "WaveFileStream.h"

#include <QFile>

#include <cstdint>
#include <limits>
#include <vector>

namespace {

class RecordingPresenter final : public MessagePresenter
{
public:
    void ShowMessage(const QString &text, Icon icon) override { shown.push_back({text, icon}); }
    struct Shown
    {
        QString text;
        Icon icon;
    };
    std::vector<Shown> shown;
};

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

QString checkOpened(WaveFileStream &stream)
{
    const AudioFormat &format = stream.format();
    if (format.channelCount() < 1 || format.channelCount() > 8 || format.sampleRate < 1000
        || format.sampleRate > 384000 || format.sample != AudioFormat::Sample::Float || stream.frames() < 0)
        return QStringLiteral("opened with a format that cannot be played: %1 channels, %2 Hz, %3 frames")
            .arg(format.channelCount())
            .arg(format.sampleRate)
            .arg(stream.frames());
    if (stream.frames() > std::numeric_limits<qint64>::max() / format.bytesPerFrame())
        return QStringLiteral("%1 frames announced: their length in bytes does not fit 64 bits")
            .arg(stream.frames());
    if (!stream.rewind())
        return {}; // the player says so in a message box
    // Everything the output would pull: at most the frames the header
    // announced.
    const qint64 limit = stream.frames() * format.bytesPerFrame();
    std::vector<char> buffer(64 * 1024);
    struct Pass
    {
        qint64 bytes = 0;
        std::uint64_t digest = 14695981039346656037ULL; // FNV-1a
    };
    const auto play = [&](Pass &pass) -> QString {
        for (;;) {
            const qint64 got = stream.read(buffer.data(), static_cast<qint64>(buffer.size()));
            if (got <= 0)
                break;
            pass.bytes += got;
            if (pass.bytes > limit)
                return QStringLiteral("read %1 bytes, more than the %2 announced").arg(pass.bytes).arg(limit);
            for (qint64 i = 0; i < got; ++i)
                pass.digest = (pass.digest ^ static_cast<unsigned char>(buffer[static_cast<std::size_t>(i)]))
                    * 1099511628211ULL;
        }
        if (stream.bytesAvailable() != 0)
            return QStringLiteral("reading stopped with %1 bytes still announced").arg(stream.bytesAvailable());
        return {};
    };
    Pass first;
    if (const QString fault = play(first); !fault.isEmpty())
        return fault;
    // Played again: the same frames from the start, also where libsndfile
    // cannot seek and the file is opened afresh.
    if (!stream.rewind())
        return QStringLiteral("went back to the start once, but not after playing");
    Pass second;
    if (const QString fault = play(second); !fault.isEmpty())
        return fault;
    if (second.bytes != first.bytes || second.digest != first.digest)
        return QStringLiteral("played again: %1 bytes, not the same as the %2 of the first time")
            .arg(second.bytes)
            .arg(first.bytes);
    stream.closeFile();
    return {};
}

QString check(const QByteArray &bytes, const QString &path)
{
    if (!writeFile(path, bytes))
        return QStringLiteral("cannot write %1").arg(path);
    if (std::unique_ptr<WaveFileStream> stream = WaveFileStream::open(path))
        return checkOpened(*stream);

    // Not a WAV file that can be played: the entry's sound says so.
    CTickwellDoc doc;
    doc.schedules[0].sound = ScheduleEntry::WaveFile;
    doc.schedules[0].waveFilePath = path;
    RecordingPresenter messages;
    {
        DocumentSoundPlayer player(doc, messages);
        player.PlayEntrySound(0);
        if (doc.bDeviceOpen != 0 || player.wavePlayback().isOpen())
            return QStringLiteral("a file that does not open left the device open");
    }
    if (messages.shown.size() != 1
        || messages.shown[0].text != QStringLiteral("wavファイルのパスが見当たりません。")
        || messages.shown[0].icon != MessagePresenter::Icon::None)
        return QStringLiteral("a file that does not open gave %1 messages, the first \"%2\"")
            .arg(messages.shown.size())
            .arg(messages.shown.empty() ? QString() : messages.shown[0].text);
    return {};
}

} // namespace

QString checkWaveOpen(const QByteArray &bytes, const QString &path)
{
    const QString fault = check(bytes, path);
    QFile::remove(path);
    return fault;
}
