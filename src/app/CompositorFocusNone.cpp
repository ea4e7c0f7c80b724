#include "CompositorFocus.h"

// The window manager honours the program's own request here.
bool focusThroughCompositor(const QWidget &)
{
    return false;
}
