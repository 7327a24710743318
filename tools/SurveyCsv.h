// SurveyCsv.h - the lines of the site survey log: a header, then one line a
// monitor tick with the local time, the quality, its band, the cell and the
// user's mark, as RFC 4180 comma-separated values in the ANSI code page. No
// Windows header, so it also builds natively.
#pragma once

#include "adapter/LinkHistory.h"

#include <string>

struct SurveyLine
{
    HistoryTime time = 0;
    int quality = 0;         // as read; 102 no connection, 103 scanning
    bool noResponse = false; // the last line of a log whose adapter failed
    std::string essid, bssid, mark;
};

// "Time,Quality,Band,ESSID,BSSID,Mark" and the line end.
std::string SurveyCsvHeader();
// One whole line with its "\r\n".
std::string SurveyCsvLine(const SurveyLine& line);
// A field as RFC 4180 wants it: in double quotes (each one doubled) when it
// holds a comma, a double quote, a carriage return or a line feed.
std::string CsvField(const std::string& text);
// The band column of a reading.
const char* SurveyBandText(int quality, bool noResponse);
