// CUtilityApp.h - the application object (placeholder until start-up lands).
#pragma once
#include "framework/CWinApp.h"
class CUtilityApp : public CWinApp
{
public:
    CUtilityApp() : CWinApp("Corvane") {}
};
