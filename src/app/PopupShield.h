#pragma once

#include <QPointer>
#include <QWidget>

class QMenu;

// An invisible window over a whole output, shown right beneath a popup menu
// where the menu cannot grab the pointer and keyboard itself (an X client
// of XWayland: the grabs end at the X server, and a click on a Wayland
// window or a key for one never reaches the menu). The click outside the
// menu lands here instead, and so does Esc, and either closes the menu; when
// the menu closes, for whatever reason, the shield goes with it.
//
// It bypasses the window manager (override-redirect): sway neither tiles
// nor decorates it, draws it above every other application window, hands it
// the keyboard while it is mapped, gives the keyboard back to the window
// that had it when it goes, and hands it even the clicks on the bar above
// it. It never becomes the window manager's active window, so no dialog of
// ours and no notice changes place or stacking because of it.
class PopupShield final : public QWidget
{
    Q_OBJECT

public:
    PopupShield();

    // Covers area and stays there until menu hides.
    void cover(const QRect &area, QMenu *menu);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void dismiss();

    QPointer<QMenu> m_menu;
};
