#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

// A pair of arrow buttons beside an edit, its buddy: each step reads the
// buddy's number, moves it by one within the range, wrapping at both ends,
// and writes it back. The arrow keys in the buddy step as well. Text that
// does not read as a number in the range steps from the last position.
class UpDownControl final : public QWidget
{
    Q_OBJECT

public:
    explicit UpDownControl(QWidget *parent = nullptr);

    void setBuddy(QLineEdit *buddy);
    QLineEdit *buddy() const { return m_buddy; }
    void setRange(int lowest, int highest);
    int position() const { return m_position; }

    // Moves by delta steps (+1 up, -1 down).
    void stepBy(int delta);

    QToolButton *upButton() const { return m_up; }
    QToolButton *downButton() const { return m_down; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QToolButton *m_up;
    QToolButton *m_down;
    QLineEdit *m_buddy = nullptr;
    int m_lowest = 0;
    int m_highest = 100;
    int m_position = 0;
};
