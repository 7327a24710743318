// DriverAccess.h - test helpers for the real razuDov driver in this Wine
// prefix: start its service when installed, load a card scenario through
// the simulation's private request, and learn where the card sits.
#pragma once

#include <windows.h>

#include <string>

// Loads a scenario into the running driver; an empty result when done,
// otherwise why not (driver not installed, scenario refused).
std::string LoadDriverScenario(const char* scenarioText);
// The I/O base of the card the driver simulates.
WORD DriverCardBase();
