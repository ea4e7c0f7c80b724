#include "PopupShield.h"

#include <QKeyEvent>
#include <QMenu>
#include <QPainter>

PopupShield::PopupShield()
    : QWidget(nullptr,
        Qt::Window | Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint | Qt::WindowStaysOnTopHint
            | Qt::NoDropShadowWindowHint)
{
    setObjectName(QStringLiteral("popupShield"));
    // Nobody sees it; the name tells it apart from the menu to xdotool.
    setWindowTitle(objectName());
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::StrongFocus);
}

void PopupShield::cover(const QRect &area, QMenu *menu)
{
    if (m_menu)
        disconnect(m_menu, nullptr, this, nullptr);
    m_menu = menu;
    connect(menu, &QMenu::aboutToHide, this, &QWidget::hide);
    setGeometry(area);
    // Shown, never activated: sway gives such a window the keyboard by
    // itself, while Qt closes a popup that is open when the focus moves to
    // another window of ours.
    show();
    raise();
}

void PopupShield::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape)
        dismiss();
    event->accept();
}

void PopupShield::mousePressEvent(QMouseEvent *event)
{
    dismiss();
    event->accept();
}

void PopupShield::paintEvent(QPaintEvent *)
{
    // Alpha 1 of 255: nothing to see, yet every pixel is the window's own.
    QPainter(this).fillRect(rect(), QColor(0, 0, 0, 1));
}

void PopupShield::dismiss()
{
    if (m_menu && m_menu->isVisible())
        m_menu->close();
    hide();
}
