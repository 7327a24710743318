// FrameworkIds.h - the string IDs of the texts the framework shows itself:
// data exchange's messages and help's failure. The application's string
// table holds the texts (its resource header includes this one and names
// these IDs nowhere else); the application hands the framework its title.
#pragma once

#define IDS_PARSE_INT 61712       // "Please enter an integer."
#define IDS_PARSE_INT_RANGE 61713 // "... between %1 and %2."
#define IDS_NO_HELP_FILE 1211     // "Cannot open help file."
