#pragma once

#include "SimulatorOptions.h"

#include <iosfwd>

// Runs the program's monitor from --from to --to on a simulated clock:
// the load at start, one tick a second (none while asleep), and with --save
// the save at exit. Returns the exit status.
int runSimulation(const SimulatorOptions &options, std::ostream &out, std::ostream &errors);
