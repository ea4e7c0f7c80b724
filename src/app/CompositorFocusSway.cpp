#include "CompositorFocus.h"

#include "SwayIpc.h"
#include "SwayWorkArea.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QWidget>

#include <optional>

namespace {

// sway's container of this process's window with this title.
std::optional<qint64> containerOf(const QJsonObject &node, qint64 pid, const QString &title)
{
    if (node.value(QStringLiteral("pid")).toInteger() == pid
        && node.value(QStringLiteral("name")).toString() == title)
        return node.value(QStringLiteral("id")).toInteger();
    for (const char *children : {"nodes", "floating_nodes"}) {
        for (const QJsonValue &child : node.value(QLatin1String(children)).toArray()) {
            if (const auto found = containerOf(child.toObject(), pid, title))
                return found;
        }
    }
    return std::nullopt;
}

} // namespace

bool focusThroughCompositor(const QWidget &window)
{
    const QString socket = SwayWorkArea::socketPath();
    if (socket.isEmpty() || !window.isVisible())
        return false;
    SwayIpc ipc(socket, 500);
    const auto tree = ipc.request(SwayIpc::GetTree);
    if (!tree)
        return false;
    const auto container = containerOf(
        QJsonDocument::fromJson(*tree).object(), QCoreApplication::applicationPid(), window.windowTitle());
    if (!container)
        return false;
    const auto reply
        = ipc.request(SwayIpc::RunCommand, QStringLiteral("[con_id=%1] focus").arg(*container).toUtf8());
    return reply
        && QJsonDocument::fromJson(*reply)
               .array()
               .first()
               .toObject()
               .value(QStringLiteral("success"))
               .toBool();
}
