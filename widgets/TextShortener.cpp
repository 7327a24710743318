// TextShortener.cpp - cutting a text to a width with "...".
#include "widgets/TextShortener.h"

#include <cstring>

int ShortenedLength(const char* text, int width, int margin, int dotsWidth,
                    const TextMeasure& measure)
{
    const int length = (int)std::strlen(text);
    if (length == 0 || measure(text, length) + margin <= width)
        return -1;
    int keep = length;
    while (keep > 1 && measure(text, keep) + margin + dotsWidth > width)
        --keep;
    return keep;
}

bool ShortenText(const char* text, int width, int margin, const TextMeasure& measure, char* out,
                 int outSize)
{
    if (outSize < 5)
        return false;
    const int keep = ShortenedLength(text, width, margin, measure("...", 3), measure);
    if (keep < 0) {
        std::strncpy(out, text, outSize - 1);
        out[outSize - 1] = '\0';
        return false;
    }
    const int room = keep < outSize - 4 ? keep : outSize - 4;
    std::memcpy(out, text, room);
    std::memcpy(out + room, "...", 4);
    return true;
}
