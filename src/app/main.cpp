#include "CTickwellApp.h"
#include "PlatformChoice.h"

int main(int argc, char *argv[])
{
    preferXWayland(argc, argv);
    CTickwellApp app(argc, argv);
    return app.Run();
}
