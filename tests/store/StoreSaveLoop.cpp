// Saves whole tables to the store file given, one generation after another,
// until it is killed. Before each save it writes "B <generation>" and after
// it "E <generation>" to standard output, unbuffered, so whoever kills it
// knows which saves were begun and which were done.

#include "CTickwellDoc.h"
#include "ScheduleStore.h"
#include "SettingsProfileStore.h"
#include "StoreTestSupport.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void say(char what, int generation)
{
    const std::string line = what + (" " + std::to_string(generation) + "\n");
    if (::write(STDOUT_FILENO, line.data(), line.size()) != static_cast<ssize_t>(line.size()))
        std::exit(2);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s STORE-FILE FIRST-GENERATION\n", argv[0]);
        return 2;
    }
    SettingsProfileStore profile(QString::fromLocal8Bit(argv[1]));
    ScheduleStore store(profile);
    CTickwellDoc doc;
    for (int generation = std::atoi(argv[2]);; ++generation) {
        doc.THIS_YEAR = generation;
        say('B', generation);
        if (!store.StoreTable(generationTable(generation), doc))
            return 1;
        say('E', generation);
    }
}
