#include "MenuPlacement.h"

#include <algorithm>

namespace {

// Moves start so that [start, start + length) lies in [low, high), or to low
// when it is longer than that.
int clampInto(int start, int length, int low, int high)
{
    return std::max(low, std::min(start, high - length));
}

} // namespace

QPoint MenuPlacement::menuPosition(const QSize &menu) const
{
    const QRect area = workArea.isValid() ? workArea.intersected(output) : output;
    const QRect free = area.isValid() ? area : output;
    // Right and bottom edges one past the last pixel.
    const int right = free.x() + free.width();
    const int bottom = free.y() + free.height();
    const bool barAtTop = free.top() > output.top();
    const bool barAtBottom = bottom < output.y() + output.height();
    const bool barAtLeft = free.left() > output.left();
    const bool barAtRight = right < output.x() + output.width();

    // Under a top bar, and in the top right corner when there is no bar.
    QPoint at(right - menu.width(), free.top());
    if (!barAtTop && barAtBottom)
        at.setY(bottom - menu.height());
    else if (!barAtTop && barAtLeft)
        at = QPoint(free.left(), bottom - menu.height());
    else if (!barAtTop && barAtRight)
        at.setY(bottom - menu.height());

    at.setX(clampInto(at.x(), menu.width(), output.x(), output.x() + output.width()));
    at.setY(clampInto(at.y(), menu.height(), output.y(), output.y() + output.height()));
    return at;
}
