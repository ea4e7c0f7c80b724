#pragma once

class QWidget;

// Asks the compositor itself to give one of the program's shown windows the
// focus, where it is one that answers such a request from a program. A
// program asked through its tray icon has had no input of its own, and a
// compositor may rightly turn the window's own request into no more than an
// urgency hint (sway does so by default); the user's click on the icon is
// the reason here. Returns whether the compositor did it; nothing happens
// where there is no such compositor.
bool focusThroughCompositor(const QWidget &window);
