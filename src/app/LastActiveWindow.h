#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

// Remembers which of the program's windows the user was in last, so that a
// second copy can bring it forward: a modal dialog first, as it is the one
// that takes input, otherwise the window last active if it is still shown.
class LastActiveWindow final : public QObject
{
    Q_OBJECT

public:
    explicit LastActiveWindow(QObject *parent = nullptr);

    // The window to bring forward, or nullptr when none is on screen.
    QWidget *window() const;

    // Restores it if minimised, raises and activates it. Returns false when
    // there is none.
    bool bringForward() const;

private:
    QPointer<QWidget> m_last;
};
