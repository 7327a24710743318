// ToolbarFuzz.cpp - the toolbar resource the menu takes its pictures' order from.
#include "widgets/ToolbarResource.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    int width = -1, height = -1;
    std::vector<unsigned> commands{7};
    bool ok = ToolbarResource::Parse(data, size, &width, &height, &commands);
    if (ok ? 8 + 2 * commands.size() > size : (width != -1 || commands.size() != 1))
        std::abort();
    return 0;
}
