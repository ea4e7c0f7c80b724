#pragma once

#include <QString>

class CNoticeDlg;
class QWidget;

// Opens one new notice window with the text and returns at once. The window
// lives on by itself and deletes itself when dismissed. owner is the main
// frame when there is one. A window from PrepareNotice is shown instead of a
// new one.
void ShowNotice(const QString &text, QWidget *owner = nullptr, CNoticeDlg *prepared = nullptr);

// Builds a hidden notice window with its native window and paints it once
// off screen with the text, so that the fonts and glyphs are loaded: shown
// later by ShowNotice, it appears at once. The caller owns the window until
// then (and the owner, when there is one, deletes it with itself).
CNoticeDlg *PrepareNotice(const QString &text, QWidget *owner = nullptr);
