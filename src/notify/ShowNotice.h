#pragma once

#include <QString>

class QWidget;

// Opens one new notice window with the text and returns at once. The window
// lives on by itself and deletes itself when dismissed. owner is the main
// frame when there is one.
void ShowNotice(const QString &text, QWidget *owner = nullptr);

// Lays out and paints a notice with the text off screen and throws it away:
// the first notice of a run no longer waits for its font to load.
void PrepareNotice(const QString &text, QWidget *owner = nullptr);
