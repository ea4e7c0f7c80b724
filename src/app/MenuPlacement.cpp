#include "MenuPlacement.h"

#include <algorithm>

namespace {

// Moves start so that [start, start + length) lies in [low, high), or to low
// when it is longer than that.
int clampInto(int start, int length, int low, int high)
{
    return std::max(low, std::min(start, high - length));
}

// How far from the output's edge a panel's icon lies at the most.
constexpr int kPanelReach = 64;

} // namespace

QRect MenuPlacement::freeArea() const
{
    const QRect area = workArea.isValid() ? workArea.intersected(output) : output;
    return area.isValid() ? area : output;
}

QPoint MenuPlacement::besideIcon(const QRect &icon, const QSize &menu) const
{
    const QRect free = freeArea();
    const int outputRight = output.x() + output.width();
    const int outputBottom = output.y() + output.height();
    // The panel's edge: the side of the work area the icon lies beyond;
    // inside it (a panel without a strut), the top or bottom edge when the
    // icon is near one, as panels mostly lie along them, else the nearest.
    const QPoint middle = icon.center();
    enum class Edge { Top, Bottom, Left, Right } edge;
    const int toTop = middle.y() - output.top();
    const int toBottom = outputBottom - middle.y();
    const int toLeft = middle.x() - output.left();
    const int toRight = outputRight - middle.x();
    if (middle.y() < free.top())
        edge = Edge::Top;
    else if (middle.y() >= free.y() + free.height())
        edge = Edge::Bottom;
    else if (middle.x() < free.left())
        edge = Edge::Left;
    else if (middle.x() >= free.x() + free.width())
        edge = Edge::Right;
    else if (std::min(toTop, toBottom) <= kPanelReach || std::min(toTop, toBottom) <= std::min(toLeft, toRight))
        edge = toTop <= toBottom ? Edge::Top : Edge::Bottom;
    else
        edge = toLeft <= toRight ? Edge::Left : Edge::Right;

    QPoint at;
    if (edge == Edge::Top || edge == Edge::Bottom) {
        // Along the panel from the icon's left edge, or back to its right
        // edge when the output ends first.
        at.setX(icon.x() + menu.width() <= outputRight ? icon.x() : icon.x() + icon.width() - menu.width());
        if (edge == Edge::Top)
            at.setY(std::max(icon.y() + icon.height(), free.top()));
        else
            at.setY(std::min(icon.y(), free.y() + free.height()) - menu.height());
    } else {
        at.setY(icon.y() + menu.height() <= outputBottom ? icon.y() : icon.y() + icon.height() - menu.height());
        if (edge == Edge::Left)
            at.setX(std::max(icon.x() + icon.width(), free.left()));
        else
            at.setX(std::min(icon.x(), free.x() + free.width()) - menu.width());
    }
    at.setX(clampInto(at.x(), menu.width(), output.x(), outputRight));
    at.setY(clampInto(at.y(), menu.height(), output.y(), outputBottom));
    return at;
}

QPoint MenuPlacement::menuPosition(const QSize &menu) const
{
    const QRect free = freeArea();
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
