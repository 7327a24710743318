// LayoutHash.h - a hash of where a shared structure keeps its members, so
// that two builds agree on a memory section only when they place every
// member alike (sizes alone would let a changed layout of the same size in).
#pragma once

#include <stdint.h>

constexpr uint32_t LayoutMix(uint32_t hash, uint32_t value)
{
    for (int i = 0; i < 4; ++i) {
        hash ^= (value >> (8 * i)) & 0xFF;
        hash *= 16777619u;
    }
    return hash;
}

template <uint32_t N> constexpr uint32_t LayoutMix(uint32_t hash, const uint32_t (&values)[N])
{
    for (uint32_t value : values)
        hash = LayoutMix(hash, value);
    return hash;
}

// The start of a hash, and one member's place and size (two values).
constexpr uint32_t kLayoutSeed = 2166136261u;
#define SIM_PLACE(type, member) __builtin_offsetof(type, member), sizeof(type::member)
