// ToolScenarios.h - the simulated cards of the tool window tests: steady
// signals (no drift, no roaming), so each reading is the one set.
#pragma once

// One access point of "Corvane" at signal 72, associated.
const char* const kInfrastructure = "name tool-infra\n"
                                    "network infrastructure\n"
                                    "essid Corvane\n"
                                    "drift 0\n"
                                    "roaming off\n"
                                    "cell 00:A0:C5:00:00:01 Corvane 1 72 name=Lobby\n"
                                    "current 00:A0:C5:00:00:01\n";

// An ad-hoc cell at signal 80 with three other stations heard.
const char* const kAdHoc = "name tool-adhoc\n"
                           "network adhoc\n"
                           "essid Party\n"
                           "beacon-period 100\n"
                           "drift 0\n"
                           "cell 02:5E:10:20:30:40 Party 9 80 adhoc\n"
                           "current 02:5E:10:20:30:40\n"
                           "station 00:A0:C5:AA:00:01 ALPHA\n"
                           "station 00:A0:C5:AA:00:02 BRAVO\n"
                           "station 00:A0:C5:AA:00:04 DELTA\n";
