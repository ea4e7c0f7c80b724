#pragma once

#include <QByteArray>
#include <QRect>
#include <QString>

#include <optional>

// The output and the work area that sway's bars leave of it, asked of sway
// over its IPC socket ($SWAYSOCK, the i3 IPC protocol): the output of the
// focused workspace, whose rectangle is the output less the bars' reserved
// strips. That is sway's own view of its bars, whichever program draws them
// (swaybar, waybar); the bar settings sway holds for waybar say nothing of
// where waybar really is.
class SwayWorkArea
{
public:
    struct Area
    {
        QRect output;
        QRect workArea;
    };

    // Asks the sway at socketPath; nothing when there is no answer within
    // timeoutMs or the answer makes no sense.
    static std::optional<Area> query(const QString &socketPath, int timeoutMs = 300);
    // The socket of the sway this program runs under: $SWAYSOCK, else $I3SOCK.
    static QString socketPath();

    // The area read from the replies to GET_WORKSPACES and GET_OUTPUTS.
    static std::optional<Area> fromReplies(const QByteArray &workspaces, const QByteArray &outputs);
};
