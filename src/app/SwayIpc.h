#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QString>

#include <cstdint>
#include <optional>

// One connection to sway's IPC socket, the i3 IPC protocol: each message is
// "i3-ipc", the payload's length and the message type (both 32 bits, in the
// machine's byte order), then the payload; a reply has the request's type.
// Every call gives up after the time given to the constructor, so a sway
// that hangs never holds up the program for long.
class SwayIpc
{
public:
    enum Message : std::uint32_t { RunCommand = 0, GetWorkspaces = 1, GetOutputs = 3, GetTree = 4 };

    SwayIpc(const QString &socketPath, int timeoutMs);
    ~SwayIpc();
    SwayIpc(const SwayIpc &) = delete;
    SwayIpc &operator=(const SwayIpc &) = delete;

    bool connected() const { return m_fd >= 0; }
    // The reply's payload, or nothing on any failure (the connection is then
    // closed).
    std::optional<QByteArray> request(Message type, const QByteArray &payload = {});

private:
    bool writeAll(const char *data, std::size_t size);
    bool readAll(char *data, std::size_t size);
    bool waitFor(short events);
    void close();

    int m_fd = -1;
    QDeadlineTimer m_deadline;
};
