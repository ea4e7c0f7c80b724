#pragma once

#include <QString>
#include <QStringList>

class QFont;
class QWidget;

// Checks that a dialog reads whole with whatever Japanese font it got, and
// runs a test again under each Japanese font that scripts/install-deps
// installs, with the others hidden from fontconfig.
namespace DialogFit {

// The visible child controls of dialog whose text does not fit (measured
// with the control's own font and the style's indicator and frame sizes),
// which overlap another without one holding the other, or which stick out of
// the dialog; and a calendar that does not show all its seven columns and six
// weeks. One line per fault, empty when there is none.
QStringList faults(const QWidget &dialog);

// The family of the font that draws Japanese text in font (itself or the
// font fontconfig falls back to).
QString japaneseFamily(const QFont &font);

// In a run of the test below, the one Japanese family left visible; empty in
// an ordinary run.
QString onlyJapaneseFamily();

// Runs the test testName ("Suite.Name") of this executable once for each
// Japanese font the project installs, each time in a child process whose
// fontconfig knows no other Japanese font, and fails for each run that fails.
void expectPassesUnderEachJapaneseFont(const char *testName);

} // namespace DialogFit
