#pragma once

#include <QString>
#include <QStringList>

class QFont;
class QTextEdit;
class QWidget;

// Checks that a dialog reads whole with whatever Japanese font it got, and
// runs a test again under each Japanese font that scripts/install-deps
// installs, with the others hidden from fontconfig.
namespace DialogFit {

// The visible child controls of dialog whose text does not fit (measured
// with the control's own font and the style's indicator and frame sizes),
// which overlap another without one holding the other, or which stick out of
// the dialog; a calendar that does not show all its seven columns and six
// weeks; and a text box with a line cut or lines too close (textBoxFault).
// One line per fault, empty when there is none.
QStringList faults(const QWidget &dialog);

// For a multi-line text box, at the place it is scrolled to: a line shown
// only in part, or lines closer together than its font's line spacing (the
// larger of Qt's and the one in the font's horizontal header, ascender less
// descender plus line gap). Empty when there is neither, or when the box has
// no text.
QString textBoxFault(const QTextEdit &box);

// The family of the font that draws Japanese text in font (itself or the
// font fontconfig falls back to).
QString japaneseFamily(const QFont &font);

// In a run of the test below, the one Japanese family left visible (on
// Windows kSystemFonts); empty in an ordinary run.
QString onlyJapaneseFamily();

// On Windows in place of a family: whatever fonts the system has.
inline constexpr const char *kSystemFonts = "(the system's fonts)";

// Whether font draws Japanese with the one family left visible (on Windows,
// with whichever the system gives).
bool isTheOneJapaneseFamily(const QFont &font);

// Runs the test testName ("Suite.Name") of this executable once for each
// Japanese font the project installs, each time in a child process whose
// fontconfig knows no other Japanese font, and fails for each run that fails.
// On Windows, whose fonts fontconfig does not choose, it runs the test once.
void expectPassesUnderEachJapaneseFont(const char *testName);

} // namespace DialogFit
