#pragma once

#include <QProcess>
#include <QString>

#include <memory>
#include <vector>

// The desktop rig's audio server, stopped and started again by a test. The
// server is found by its command line, which names the rig's own
// configuration file; servers started here end with this object.
class RigAudioServer
{
public:
    ~RigAudioServer();

    // Whether this runs inside tests/desktop-session.
    static bool available();
    static bool answers();

    // SIGKILL to the running server; true once it no longer answers.
    bool kill();
    // The server again, on the rig's socket with the rig's null sink; true
    // once it answers.
    bool start();

private:
    static QString config();
    static bool waitUntil(bool answering);

    std::vector<std::unique_ptr<QProcess>> m_started;
};
