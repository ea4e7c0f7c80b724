#pragma once

#include <QStringView>

#include <optional>

// Reads an integer edit the way C's "%d" does: leading white space and one
// sign are accepted, and whatever follows the digits is ignored ("12abc" reads
// 12). Nothing when the text does not begin with an integer. A number beyond
// the 32-bit range stops at the range's end, so it fails every range check.
std::optional<int> ReadDecimalInteger(QStringView text);
