#include "SimulatorOptions.h"

#include <QDateTime>

namespace {

std::optional<std::int64_t> parseTime(const QString &text)
{
    const QDateTime time = QDateTime::fromString(text, QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
    if (!time.isValid())
        return std::nullopt;
    return time.toSecsSinceEpoch();
}

} // namespace

std::optional<SimulatorOptions> SimulatorOptions::parse(const std::vector<QString> &arguments, QString &error)
{
    SimulatorOptions options;
    bool haveFrom = false;
    bool haveTo = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const QString &name = arguments[i];
        if (name == QLatin1String("--save")) {
            options.save = true;
            continue;
        }
        if (name != QLatin1String("--store") && name != QLatin1String("--from")
            && name != QLatin1String("--to") && name != QLatin1String("--asleep")) {
            error = QStringLiteral("unknown argument: %1").arg(name);
            return std::nullopt;
        }
        if (i + 1 >= arguments.size()) {
            error = QStringLiteral("%1 needs a value").arg(name);
            return std::nullopt;
        }
        const QString &value = arguments[++i];
        if (name == QLatin1String("--store")) {
            options.storeFile = value;
        } else if (name == QLatin1String("--asleep")) {
            const QStringList parts = value.split(QLatin1Char('/'));
            const auto sleepFrom = parts.size() == 2 ? parseTime(parts[0]) : std::nullopt;
            const auto sleepTo = parts.size() == 2 ? parseTime(parts[1]) : std::nullopt;
            if (!sleepFrom || !sleepTo || *sleepTo < *sleepFrom) {
                error = QStringLiteral("--asleep takes FROM/TO, two times with FROM not after TO: %1")
                            .arg(value);
                return std::nullopt;
            }
            options.asleep.emplace_back(*sleepFrom, *sleepTo);
        } else {
            const auto time = parseTime(value);
            if (!time) {
                error = QStringLiteral("%1 takes a local time YYYY-MM-DDTHH:MM:SS: %2").arg(name, value);
                return std::nullopt;
            }
            (name == QLatin1String("--from") ? options.from : options.to) = *time;
            (name == QLatin1String("--from") ? haveFrom : haveTo) = true;
        }
    }
    if (options.storeFile.isEmpty() || !haveFrom || !haveTo) {
        error = QStringLiteral(
            "usage: tickwell-sim --store FILE --from TIME --to TIME [--asleep FROM/TO]... [--save]");
        return std::nullopt;
    }
    if (options.to < options.from) {
        error = QStringLiteral("--to lies before --from");
        return std::nullopt;
    }
    return options;
}
