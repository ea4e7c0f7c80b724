#include "SwayWorkArea.h"

#include "SwayIpc.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtGlobal>

namespace {

QRect rectOf(const QJsonValue &value)
{
    const QJsonObject rect = value.toObject();
    return QRect(rect.value(QStringLiteral("x")).toInt(), rect.value(QStringLiteral("y")).toInt(),
        rect.value(QStringLiteral("width")).toInt(), rect.value(QStringLiteral("height")).toInt());
}

} // namespace

std::optional<SwayWorkArea::Area> SwayWorkArea::query(const QString &socketPath, int timeoutMs)
{
    SwayIpc ipc(socketPath, timeoutMs);
    const auto workspaces = ipc.request(SwayIpc::GetWorkspaces);
    const auto outputs = workspaces ? ipc.request(SwayIpc::GetOutputs) : std::nullopt;
    if (!outputs)
        return std::nullopt;
    return fromReplies(*workspaces, *outputs);
}

QString SwayWorkArea::socketPath()
{
    const QString sway = qEnvironmentVariable("SWAYSOCK");
    return sway.isEmpty() ? qEnvironmentVariable("I3SOCK") : sway;
}

std::optional<SwayWorkArea::Area> SwayWorkArea::fromReplies(
    const QByteArray &workspaces, const QByteArray &outputs)
{
    const QJsonArray workspaceList = QJsonDocument::fromJson(workspaces).array();
    const QJsonArray outputList = QJsonDocument::fromJson(outputs).array();
    for (const QJsonValue &workspace : workspaceList) {
        const QJsonObject object = workspace.toObject();
        if (!object.value(QStringLiteral("focused")).toBool())
            continue;
        const QString outputName = object.value(QStringLiteral("output")).toString();
        for (const QJsonValue &output : outputList) {
            const QJsonObject candidate = output.toObject();
            if (candidate.value(QStringLiteral("name")).toString() != outputName)
                continue;
            Area area{rectOf(candidate.value(QStringLiteral("rect"))),
                rectOf(object.value(QStringLiteral("rect")))};
            if (area.output.isEmpty())
                return std::nullopt;
            // A workspace sway has not laid out yet, or one that claims more
            // than its output: no bar to go by.
            if (!area.output.contains(area.workArea))
                area.workArea = area.output;
            return area;
        }
    }
    return std::nullopt;
}
