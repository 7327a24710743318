// HistoryText.cpp - filling the history's texts.
#include "tools/HistoryText.h"

std::string FillText(const std::string& pattern, const std::string& first,
                     const std::string& second, const std::string& number)
{
    std::string text;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size()) {
            const char what = pattern[i + 1];
            if (what == '1' || what == '2' || what == 'n') {
                text += what == '1' ? first : what == '2' ? second : number;
                ++i;
                continue;
            }
        }
        text += pattern[i];
    }
    return text;
}

std::string TrimReason(const std::string& reason)
{
    size_t end = reason.find_last_not_of(" \r\n\t.");
    size_t begin = reason.find_first_not_of(" \r\n\t");
    if (end == std::string::npos || begin == std::string::npos)
        return std::string();
    // The sentence keeps its full stop: only the line end goes.
    if (end + 1 < reason.size() && reason[end + 1] == '.')
        ++end;
    return reason.substr(begin, end + 1 - begin);
}
