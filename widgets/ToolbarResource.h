// ToolbarResource.h - the toolbar resource (type 241): version 1, the button
// size and the command of each button, separators as 0. No Windows header:
// builds natively for fuzzing.
#pragma once

#include <cstddef>
#include <vector>

class ToolbarResource
{
public:
    // False when the data is missing, of another version or shorter than
    // the buttons it counts; the outputs (each may be null) are then left
    // as they were.
    static bool Parse(const void* data, size_t size, int* width, int* height,
                      std::vector<unsigned>* commands);
};
