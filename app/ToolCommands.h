// ToolCommands.h - the tools and the argument letters that open them, one
// table for start-up (which hands a second start's request to the running
// copy) and for the tool window (which acts on its own argument and on such
// requests). No Windows header.
#pragma once

#include <string>

// The tools, numbered as the requests of a second start (WM_OPEN_TOOL).
enum ToolNumber
{
    TOOL_NONE = 0,
    TOOL_PROPERTIES = 1,
    TOOL_WATCHER = 2,
    TOOL_SIGNAL = 3,
    TOOL_THROUGHPUT = 4,
    TOOL_HISTORY = 5,
};

// The tool an argument such as "/m" asks for (the letter after the first
// character), or TOOL_NONE.
ToolNumber ToolForArgument(const std::string& arg);
