#include "UpDownControl.h"

#include "DecimalIntegerReading.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>

#include <algorithm>

UpDownControl::UpDownControl(QWidget *parent)
    : QWidget(parent)
    , m_up(new QToolButton(this))
    , m_down(new QToolButton(this))
{
    for (QToolButton *button : {m_up, m_down}) {
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
    }
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    m_up->setObjectName(QStringLiteral("up"));
    m_down->setObjectName(QStringLiteral("down"));
    connect(m_up, &QToolButton::clicked, this, [this] { stepBy(1); });
    connect(m_down, &QToolButton::clicked, this, [this] { stepBy(-1); });
    setFocusPolicy(Qt::NoFocus);
}

void UpDownControl::setBuddy(QLineEdit *buddy)
{
    if (m_buddy)
        m_buddy->removeEventFilter(this);
    m_buddy = buddy;
    if (m_buddy)
        m_buddy->installEventFilter(this);
}

void UpDownControl::setRange(int lowest, int highest)
{
    m_lowest = lowest;
    m_highest = highest;
    m_position = std::clamp(m_position, m_lowest, m_highest);
}

void UpDownControl::stepBy(int delta)
{
    if (m_buddy) {
        const std::optional<int> typed = ReadDecimalInteger(m_buddy->text());
        if (typed && *typed >= m_lowest && *typed <= m_highest)
            m_position = *typed;
    }
    const long long span = static_cast<long long>(m_highest) - m_lowest + 1;
    long long offset = (static_cast<long long>(m_position) - m_lowest + delta) % span;
    if (offset < 0)
        offset += span;
    m_position = static_cast<int>(m_lowest + offset);
    if (m_buddy)
        m_buddy->setText(QString::number(m_position));
}

bool UpDownControl::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_buddy && event->type() == QEvent::KeyPress && isEnabled()) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            stepBy(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void UpDownControl::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int upper = height() / 2;
    m_up->setGeometry(0, 0, width(), upper);
    m_down->setGeometry(0, upper, width(), height() - upper);
}
