#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

// The command line of tickwell-sim:
//   --store FILE --from YYYY-MM-DDTHH:MM:SS --to YYYY-MM-DDTHH:MM:SS
//   [--asleep FROM/TO]... [--save]
// Times are local times of the process's zone, kept as epoch seconds.
struct SimulatorOptions
{
    QString storeFile;
    std::int64_t from = 0;
    std::int64_t to = 0;
    std::vector<std::pair<std::int64_t, std::int64_t>> asleep;
    bool save = false;

    // The options, or an error text for a one-line message.
    static std::optional<SimulatorOptions> parse(const std::vector<QString> &arguments, QString &error);
};
