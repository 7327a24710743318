// Main.cpp - the program's entry point: hands control to the application object.
#include "app/CUtilityApp.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR cmdLine, int)
{
    CUtilityApp app;
    app.m_lpCmdLine = cmdLine;
    if (!app.InitInstance())
        return app.ExitInstance();
    return app.Run();
}
