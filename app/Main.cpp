// Main.cpp - the program's entry point: hands control to the application object.
#include "app/CUtilityApp.h"
#include "sim/PortTrap.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR cmdLine, int)
{
    // On the simulated machine the card's ports live behind the driver; a
    // real Windows 95/98 machine runs the port instructions as they are.
    InstallPortTrapIfWine();

    CUtilityApp app;
    app.m_lpCmdLine = cmdLine;
    if (!app.InitInstance())
        return app.ExitInstance();
    return app.Run();
}
