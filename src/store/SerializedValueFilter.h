#pragma once

#include <QByteArray>

// QSettings reads an INI value of the form "@Variant(...)" as an object
// serialized with QDataStream, and a few bytes there can ask it for
// gigabytes, or for a type that needs a running GUI, and end the process.
// Tickwell never writes such a value (a text that starts with "@" is saved as
// "@@..."), so a store file that holds one was damaged or edited by hand.
//
// Returns the INI file without the lines whose value, or one item of whose
// list, reads as text starting with "@Variant(". Lines are found by the INI
// rules of QSettings (a ';' outside quotes ends a line, quotes span line
// breaks, a backslash takes the next character with it), and everything else
// is kept byte for byte, so every other key reads as before.
QByteArray withoutSerializedVariants(const QByteArray &ini);
