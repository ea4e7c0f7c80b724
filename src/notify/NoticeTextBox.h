#pragma once

#include <QString>
#include <QTextEdit>

// The notice window's read-only text box. Its lines are as far apart as its
// font asks, and the part of the box that shows text is a whole number of
// lines high, so no line is ever shown cut: not when the window opens, and
// not as the box scrolls, which it does by whole lines. The box keeps the
// place and size it is given; what is left over above and below the lines
// is shared between the two.
class NoticeTextBox final : public QTextEdit
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(NoticeTextBox)

public:
    explicit NoticeTextBox(QWidget *parent = nullptr);

    // Lays the box out for its font and its size as they are now; the
    // notice calls it once both are final.
    void fitLines();

    // Puts text in, one block a line (line feeds only).
    void showText(const QString &text);

private:
    void snapToLine(int value);

    int m_linePitch = 1; // the distance between two lines, in pixels
    int m_lastValue = 0; // where the scroll bar was
};
