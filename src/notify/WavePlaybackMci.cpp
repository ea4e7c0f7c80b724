#include "WavePlayback.h"

#include "MessagePresenter.h"

#include <QDir>

#include <windows.h>

#include <mmsystem.h>

#include <iterator>
#include <string>

namespace {

// The system's own text for an MCI error code, as it would show it.
QString mciErrorText(MCIERROR error)
{
    wchar_t text[129] = {};
    if (!::mciGetErrorStringW(error, text, static_cast<UINT>(std::size(text))) || text[0] == L'\0')
        return QStringLiteral("MCI error %1").arg(error);
    return QString::fromWCharArray(text);
}

// Opens the waveform-audio device on file; 0 or the MCI error.
MCIERROR openDevice(const std::wstring &file, MCIDEVICEID *device)
{
    MCI_OPEN_PARMSW parameters{};
    // The device type is given by its number, not by its name.
    parameters.lpstrDeviceType = reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(MCI_DEVTYPE_WAVEFORM_AUDIO));
    parameters.lpstrElementName = file.c_str();
    const MCIERROR error = ::mciSendCommandW(0, MCI_OPEN,
        MCI_WAIT | MCI_OPEN_ELEMENT | MCI_OPEN_TYPE | MCI_OPEN_TYPE_ID,
        reinterpret_cast<DWORD_PTR>(&parameters));
    if (error == 0)
        *device = parameters.wDeviceID;
    return error;
}

// The file's short (8.3) name, all ASCII; empty when it has none.
std::wstring shortName(const std::wstring &file)
{
    const DWORD length = ::GetShortPathNameW(file.c_str(), nullptr, 0);
    if (length == 0)
        return {};
    std::wstring name(length, L'\0');
    const DWORD written = ::GetShortPathNameW(file.c_str(), name.data(), length);
    if (written == 0 || written >= length)
        return {};
    name.resize(written);
    return name;
}

} // namespace

// The waveform-audio device of the system's media control interface (MCI),
// reached through its wide-character calls, so that a path of any script
// opens whatever the ANSI code page is.
struct WavePlayback::Device
{
    MCIDEVICEID id = 0;
};

WavePlayback::WavePlayback(MessagePresenter &messages)
    : m_messages(messages)
    , m_device(std::make_unique<Device>())
{
}

WavePlayback::~WavePlayback()
{
    // The program is going: the sound goes with it, without a word.
    release();
}

bool WavePlayback::open(const QString &path)
{
    release();
    // With no file named, MCI opens an empty waveform to record into, which
    // then fails to play with a text about some file: this names no file.
    if (path.trimmed().isEmpty())
        return false;
    const std::wstring element = QDir::toNativeSeparators(path).toStdWString();
    MCIDEVICEID device = 0;
    MCIERROR error = openDevice(element, &device);
    if (error != 0) {
        // The device may read its file through the ANSI calls, which lose a
        // name outside the ANSI code page (Japanese on a Western system, as
        // Wine's does): the file's short name, all ASCII, still reaches it.
        const std::wstring alias = shortName(element);
        if (!alias.empty() && alias != element)
            error = openDevice(alias, &device);
    }
    if (error != 0)
        return false;
    m_device->id = device;
    return true;
}

bool WavePlayback::play()
{
    if (m_device->id == 0)
        return false;
    // From the start, without waiting for the end.
    MCI_PLAY_PARMS parameters{};
    parameters.dwFrom = 0;
    const MCIERROR error
        = ::mciSendCommandW(m_device->id, MCI_PLAY, MCI_FROM, reinterpret_cast<DWORD_PTR>(&parameters));
    if (error != 0) {
        m_messages.ShowMessage(mciErrorText(error), MessagePresenter::Icon::Warning);
        return false;
    }
    return true;
}

void WavePlayback::close()
{
    const MCIDEVICEID id = m_device->id;
    m_device->id = 0;
    if (id == 0)
        return;
    MCI_GENERIC_PARMS parameters{};
    const MCIERROR error
        = ::mciSendCommandW(id, MCI_CLOSE, MCI_WAIT, reinterpret_cast<DWORD_PTR>(&parameters));
    if (error != 0)
        m_messages.ShowMessage(mciErrorText(error), MessagePresenter::Icon::Warning);
}

bool WavePlayback::isOpen() const
{
    return m_device->id != 0;
}

WavePlayback::State WavePlayback::state() const
{
    if (m_device->id == 0)
        return State::Stopped;
    MCI_STATUS_PARMS parameters{};
    parameters.dwItem = MCI_STATUS_MODE;
    if (::mciSendCommandW(m_device->id, MCI_STATUS, MCI_WAIT | MCI_STATUS_ITEM,
            reinterpret_cast<DWORD_PTR>(&parameters))
        != 0)
        return State::Stopped;
    switch (parameters.dwReturn) {
    case MCI_MODE_PLAY:
    case MCI_MODE_SEEK:
        return State::Playing;
    case MCI_MODE_STOP:
        return State::Ended;
    default:
        return State::Stopped;
    }
}

bool WavePlayback::release()
{
    const MCIDEVICEID id = m_device->id;
    m_device->id = 0;
    if (id == 0)
        return true;
    MCI_GENERIC_PARMS parameters{};
    return ::mciSendCommandW(id, MCI_CLOSE, MCI_WAIT, reinterpret_cast<DWORD_PTR>(&parameters)) == 0;
}
