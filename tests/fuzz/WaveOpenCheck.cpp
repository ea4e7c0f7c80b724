#include "WaveOpenCheck.h"

#include "CTickwellDoc.h"
#include "DocumentSoundPlayer.h"
#include "MessagePresenter.h"
#include "WaveFileStream.h"

#include <QFile>

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
    qint64 total = 0;
    for (;;) {
        const qint64 got = stream.read(buffer.data(), static_cast<qint64>(buffer.size()));
        if (got <= 0)
            break;
        total += got;
        if (total > limit)
            return QStringLiteral("read %1 bytes, more than the %2 announced").arg(total).arg(limit);
    }
    if (stream.bytesAvailable() != 0)
        return QStringLiteral("reading stopped with %1 bytes still announced").arg(stream.bytesAvailable());
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
