// ToolCommands.cpp - the table of argument letters.
#include "app/ToolCommands.h"

namespace {

struct ToolLetter
{
    char letter;
    ToolNumber tool;
};

const ToolLetter kToolLetters[] = {
    {'p', TOOL_PROPERTIES}, {'s', TOOL_WATCHER}, {'m', TOOL_SIGNAL},
    {'v', TOOL_THROUGHPUT}, {'h', TOOL_HISTORY},
};

} // namespace

ToolNumber ToolForArgument(const std::string& arg)
{
    if (arg.size() < 2)
        return TOOL_NONE;
    for (const ToolLetter& entry : kToolLetters) {
        if (entry.letter == arg[1])
            return entry.tool;
    }
    return TOOL_NONE;
}
