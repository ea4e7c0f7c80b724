#pragma once

#include <QString>

// The quick count in `make test`; the full one when TICKWELL_RELIABILITY is
// "full", as `make reliability` sets it.
int trialCount(int quick, int full);

// One line of the figures table in docs/RELIABILITY.md: appended as
// "test|what was tried|what was lost" to the file that TICKWELL_FIGURES
// names, when it is set, and printed.
void recordFigure(const QString &test, const QString &tried, const QString &lost);
