#include "WaveFileStream.h"

#include <QFile>

#include <sndfile.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kMaxChannels = 8;
constexpr int kMinSampleRate = 1000;
constexpr int kMaxSampleRate = 384000;

bool isWaveContainer(int format)
{
    switch (format & SF_FORMAT_TYPEMASK) {
    case SF_FORMAT_WAV:
    case SF_FORMAT_WAVEX:
    case SF_FORMAT_RF64:
        return true;
    default:
        return false;
    }
}

AudioFormat::Channel fromSndfile(int position)
{
    using C = AudioFormat::Channel;
    switch (position) {
    case SF_CHANNEL_MAP_MONO:
        return C::Mono;
    case SF_CHANNEL_MAP_LEFT:
    case SF_CHANNEL_MAP_FRONT_LEFT:
        return C::FrontLeft;
    case SF_CHANNEL_MAP_RIGHT:
    case SF_CHANNEL_MAP_FRONT_RIGHT:
        return C::FrontRight;
    case SF_CHANNEL_MAP_CENTER:
    case SF_CHANNEL_MAP_FRONT_CENTER:
        return C::FrontCenter;
    case SF_CHANNEL_MAP_LFE:
        return C::Lfe;
    case SF_CHANNEL_MAP_REAR_LEFT:
        return C::BackLeft;
    case SF_CHANNEL_MAP_REAR_RIGHT:
        return C::BackRight;
    case SF_CHANNEL_MAP_FRONT_LEFT_OF_CENTER:
        return C::FrontLeftOfCenter;
    case SF_CHANNEL_MAP_FRONT_RIGHT_OF_CENTER:
        return C::FrontRightOfCenter;
    case SF_CHANNEL_MAP_REAR_CENTER:
        return C::BackCenter;
    case SF_CHANNEL_MAP_SIDE_LEFT:
        return C::SideLeft;
    case SF_CHANNEL_MAP_SIDE_RIGHT:
        return C::SideRight;
    case SF_CHANNEL_MAP_TOP_CENTER:
        return C::TopCenter;
    case SF_CHANNEL_MAP_TOP_FRONT_LEFT:
        return C::TopFrontLeft;
    case SF_CHANNEL_MAP_TOP_FRONT_CENTER:
        return C::TopFrontCenter;
    case SF_CHANNEL_MAP_TOP_FRONT_RIGHT:
        return C::TopFrontRight;
    case SF_CHANNEL_MAP_TOP_REAR_LEFT:
        return C::TopBackLeft;
    case SF_CHANNEL_MAP_TOP_REAR_CENTER:
        return C::TopBackCenter;
    case SF_CHANNEL_MAP_TOP_REAR_RIGHT:
        return C::TopBackRight;
    default:
        return C::Aux;
    }
}

// The file's channel mask where it has one (WAVE_FORMAT_EXTENSIBLE), else the
// order that WAV files without one are read in: the speaker positions in the
// order of the mask's bits.
std::vector<AudioFormat::Channel> channelPositions(SNDFILE *file, int channels)
{
    using C = AudioFormat::Channel;
    // One channel is mono, whatever its mask says (mono is written with the
    // front centre's bit): heard at its full level on every speaker, and not
    // at half of it on the left and right of a stereo output.
    if (channels == 1)
        return {C::Mono};
    std::vector<int> map(static_cast<std::size_t>(channels), SF_CHANNEL_MAP_INVALID);
    if (sf_command(file, SFC_GET_CHANNEL_MAP_INFO, map.data(), static_cast<int>(map.size() * sizeof(int)))
            == SF_TRUE
        && std::find(map.begin(), map.end(), SF_CHANNEL_MAP_INVALID) == map.end()) {
        std::vector<C> positions;
        for (int position : map)
            positions.push_back(fromSndfile(position));
        return positions;
    }
    static constexpr C kWaveOrder[kMaxChannels] = {C::FrontLeft, C::FrontRight, C::FrontCenter, C::Lfe,
        C::BackLeft, C::BackRight, C::FrontLeftOfCenter, C::FrontRightOfCenter};
    return {std::begin(kWaveOrder), std::begin(kWaveOrder) + channels};
}

// Opens the file only if it is a regular file. Opening a FIFO with no writer,
// or reading a device such as /dev/zero, would block or never end, so the
// type is checked on the opened descriptor (no window for the path to be
// swapped in between), and the open itself cannot block. -1 when it is none.
int openRegularFile(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    if (name.isEmpty())
        return -1;
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return -1;
    struct stat status
    {
    };
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return -1;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags != -1)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return fd;
}

// libsndfile reading the file from its first byte; the descriptor stays ours.
SNDFILE *openSndfile(int descriptor, SF_INFO *info)
{
    *info = SF_INFO{};
    if (::lseek(descriptor, 0, SEEK_SET) != 0)
        return nullptr;
    return sf_open_fd(descriptor, SFM_READ, info, SF_FALSE);
}

} // namespace

std::unique_ptr<WaveFileStream> WaveFileStream::open(const QString &path)
{
    const int descriptor = openRegularFile(path);
    if (descriptor < 0)
        return nullptr;
    SF_INFO info{};
    SNDFILE *file = openSndfile(descriptor, &info);
    if (!file || !isWaveContainer(info.format) || info.channels < 1 || info.channels > kMaxChannels
        || info.samplerate < kMinSampleRate || info.samplerate > kMaxSampleRate || info.frames < 0) {
        if (file)
            sf_close(file);
        ::close(descriptor);
        return nullptr;
    }
    // Integer data read as float comes out in -1..1.
    sf_command(file, SFC_SET_NORM_FLOAT, nullptr, SF_TRUE);
    AudioFormat format;
    format.sampleRate = info.samplerate;
    format.sample = AudioFormat::Sample::Float;
    format.channels = channelPositions(file, info.channels);
    return std::unique_ptr<WaveFileStream>(
        new WaveFileStream(file, descriptor, info.seekable != 0, std::move(format), info.frames));
}

WaveFileStream::WaveFileStream(SNDFILE *file, int descriptor, bool seekable, AudioFormat format, qint64 frames)
    : m_file(file)
    , m_descriptor(descriptor)
    , m_seekable(seekable)
    , m_format(std::move(format))
    , m_frames(frames)
    , m_framesLeft(frames)
{
}

WaveFileStream::~WaveFileStream()
{
    closeFile();
}

bool WaveFileStream::rewind()
{
    if (!m_file)
        return false;
    // libsndfile seeks in no GSM 6.10, G.721 or NMS ADPCM data, not even to
    // its start: such a file is read again from the beginning.
    if (m_seekable ? sf_seek(m_file, 0, SEEK_SET) != 0 : !reopen())
        return false;
    m_framesLeft = m_frames;
    if (!isOpen())
        QIODevice::open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    return true;
}

bool WaveFileStream::reopen()
{
    const int closed = sf_close(m_file);
    SF_INFO info{};
    m_file = closed == 0 ? openSndfile(m_descriptor, &info) : nullptr;
    // The same file, unless it was changed in between.
    if (m_file
        && (info.samplerate != m_format.sampleRate || info.channels != m_format.channelCount()
            || info.frames != m_frames)) {
        sf_close(m_file);
        m_file = nullptr;
    }
    if (!m_file) {
        m_framesLeft = 0;
        return false;
    }
    sf_command(m_file, SFC_SET_NORM_FLOAT, nullptr, SF_TRUE);
    return true;
}

bool WaveFileStream::closeFile()
{
    if (isOpen())
        QIODevice::close();
    int result = 0;
    if (m_file) {
        result = sf_close(m_file);
        m_file = nullptr;
    }
    if (m_descriptor >= 0 && ::close(m_descriptor) != 0)
        result = -1;
    m_descriptor = -1;
    m_framesLeft = 0;
    return result == 0;
}

qint64 WaveFileStream::bytesAvailable() const
{
    return m_framesLeft * m_format.bytesPerFrame() + QIODevice::bytesAvailable();
}

qint64 WaveFileStream::readData(char *data, qint64 maxSize)
{
    const int frameBytes = m_format.bytesPerFrame();
    qint64 done = 0;
    if (m_file && m_framesLeft > 0) {
        const qint64 wanted = std::min(maxSize / frameBytes, m_framesLeft);
        if (wanted > 0) {
            m_buffer.resize(static_cast<std::size_t>(wanted * m_format.channelCount()));
            const sf_count_t got = sf_readf_float(m_file, m_buffer.data(), wanted);
            // A file shorter than its header says ends where its data ends.
            m_framesLeft = got < wanted ? 0 : m_framesLeft - got;
            if (got > 0) {
                done = got * frameBytes;
                std::memcpy(data, m_buffer.data(), static_cast<std::size_t>(done));
            }
        }
    }
    return done;
}

qint64 WaveFileStream::writeData(const char *, qint64)
{
    return -1;
}
