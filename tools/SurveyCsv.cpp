// SurveyCsv.cpp - forming the survey log's lines.
#include "tools/SurveyCsv.h"

#include "adapter/QualityScale.h"

std::string SurveyCsvHeader()
{
    return "Time,Quality,Band,ESSID,BSSID,Mark\r\n";
}

std::string CsvField(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

const char* SurveyBandText(int quality, bool noResponse)
{
    if (noResponse)
        return "no response";
    if (quality == QUALITY_SCANNING)
        return "scanning";
    switch (HistoryBandOf(quality)) {
    case HISTORY_BAND_GOOD:
        return "good";
    case HISTORY_BAND_FAIR:
        return "fair";
    case HISTORY_BAND_POOR:
        return "poor";
    default:
        return "none";
    }
}

std::string SurveyCsvLine(const SurveyLine& line)
{
    // The quality is the number as read; the special values have none.
    std::string quality;
    if (!line.noResponse && line.quality >= 0 && line.quality <= 100)
        quality = std::to_string(line.quality);
    return HistoryTimeText(line.time, 'T') + "," + quality + "," +
           SurveyBandText(line.quality, line.noResponse) + "," + CsvField(line.essid) + "," +
           CsvField(line.bssid) + "," + CsvField(line.mark) + "\r\n";
}
