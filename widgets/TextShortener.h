// TextShortener.h - decides how much of a text fits a width when the rest is
// replaced by "...". Measuring is the caller's, so this builds without windows.
#pragma once

#include <functional>

// Width in pixels of the first `length` characters of a text.
using TextMeasure = std::function<int(const char* text, int length)>;

// Number of leading characters to keep before "...", or -1 when the text is
// used unchanged (empty, or its extent plus the margin fits the width). At
// least one character is kept, even when that does not fit.
int ShortenedLength(const char* text, int width, int margin, int dotsWidth,
                    const TextMeasure& measure);

// Writes the text to use into out (outSize characters, at least 5): the
// text itself or its kept part followed by "...". Returns whether it was cut.
bool ShortenText(const char* text, int width, int margin, const TextMeasure& measure, char* out,
                 int outSize);
