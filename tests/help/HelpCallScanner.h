// HelpCallScanner.h - finds the program's help requests in its sources and
// the string IDs of the keywords they pass: a request is a statement naming
// HELP_KEY. Its keyword IDs are the IDS_ names in that statement or, when it
// names none (a shared help routine taking the ID as a parameter), the IDS_
// names in every call of the function around it. A request whose IDs cannot
// be told this way comes back with none.
#pragma once
#include <string>
#include <vector>

class HelpCallScanner
{
public:
    struct Source
    {
        std::string path;
        std::string text;
    };
    struct Request
    {
        std::string path;
        int line = 0;
        std::vector<std::string> ids; // keyword string IDs, sorted, no repeats
    };

    static std::vector<Request> Scan(const std::vector<Source>& sources);
};
