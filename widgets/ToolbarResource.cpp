// ToolbarResource.cpp - decoding the toolbar resource.
#include "widgets/ToolbarResource.h"

#include <cstdint>

namespace {

unsigned ReadWord(const uint8_t* p)
{
    return static_cast<unsigned>(p[0] | (p[1] << 8));
}

} // namespace

bool ToolbarResource::Parse(const void* data, size_t size, int* width, int* height,
                            std::vector<unsigned>* commands)
{
    const uint8_t* p = static_cast<const uint8_t*>(data);
    if (!p || size < 8 || ReadWord(p) != 1)
        return false;
    unsigned count = ReadWord(p + 6);
    if (size < 8u + 2u * count)
        return false;
    if (width)
        *width = static_cast<int>(ReadWord(p + 2));
    if (height)
        *height = static_cast<int>(ReadWord(p + 4));
    if (commands) {
        commands->clear();
        for (unsigned i = 0; i < count; ++i)
            commands->push_back(ReadWord(p + 8 + 2 * i));
    }
    return true;
}
