#pragma once

#include <QByteArray>
#include <QString>

// Writes bytes as the store file at path (in a folder of its own), loads the
// table from it as the program does at start, and checks the result: every
// number is its default or a value the file holds (by IniOracle), every text
// is its default or comes from a key the file names, the settings open
// exactly when THIS_YEAR is 0, and the load changed nothing on disk. Then the
// table is saved over the file and must read back the same. Returns what was
// wrong, or an empty string. The file and what the save left are removed.
QString checkStoreLoad(const QByteArray &bytes, const QString &path);
