// SimText.cpp - text and memory helpers of the freestanding card code.
#include "sim/SimText.h"

namespace SimText {

uint32_t Length(const char* text)
{
    uint32_t n = 0;
    while (text[n])
        ++n;
    return n;
}

void Copy(char* dest, uint32_t size, const char* src)
{
    uint32_t i = 0;
    for (; i + 1 < size && src[i]; ++i)
        dest[i] = src[i];
    dest[i] = 0;
}

void CopyN(char* dest, uint32_t size, const char* src, uint32_t count)
{
    uint32_t i = 0;
    for (; i + 1 < size && i < count && src[i]; ++i)
        dest[i] = src[i];
    dest[i] = 0;
}

bool Equal(const char* a, const char* b)
{
    while (*a && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b;
}

static char Lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualNoCase(const char* a, const char* b)
{
    while (*a && Lower(*a) == Lower(*b)) {
        ++a;
        ++b;
    }
    return Lower(*a) == Lower(*b);
}

void Fill(void* dest, uint8_t value, uint32_t count)
{
    volatile uint8_t* d = static_cast<uint8_t*>(dest);
    for (uint32_t i = 0; i < count; ++i)
        d[i] = value;
}

void Move(void* dest, const void* src, uint32_t count)
{
    volatile uint8_t* d = static_cast<uint8_t*>(dest);
    const volatile uint8_t* s = static_cast<const uint8_t*>(src);
    if (d < s) {
        for (uint32_t i = 0; i < count; ++i)
            d[i] = s[i];
    } else {
        for (uint32_t i = count; i > 0; --i)
            d[i - 1] = s[i - 1];
    }
}

bool SameBytes(const void* a, const void* b, uint32_t count)
{
    const uint8_t* x = static_cast<const uint8_t*>(a);
    const uint8_t* y = static_cast<const uint8_t*>(b);
    for (uint32_t i = 0; i < count; ++i)
        if (x[i] != y[i])
            return false;
    return true;
}

static int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool ParseHex(const char* text, uint32_t max, uint32_t* value)
{
    if (!*text)
        return false;
    uint32_t v = 0;
    for (; *text; ++text) {
        int d = HexDigit(*text);
        if (d < 0 || v > (max >> 4))
            return false;
        v = (v << 4) | static_cast<uint32_t>(d);
        if (v > max)
            return false;
    }
    *value = v;
    return true;
}

bool ParseNumber(const char* text, uint32_t max, uint32_t* value)
{
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        return ParseHex(text + 2, max, value);
    if (!*text)
        return false;
    uint32_t v = 0;
    for (; *text; ++text) {
        if (*text < '0' || *text > '9')
            return false;
        uint32_t d = static_cast<uint32_t>(*text - '0');
        if (d > max || v > (max - d) / 10)
            return false;
        v = v * 10 + d;
    }
    *value = v;
    return true;
}

bool ParseMac(const char* text, uint8_t mac[6])
{
    uint8_t out[6];
    uint32_t n = Length(text);
    if (n == 12) {
        for (int i = 0; i < 6; ++i) {
            int hi = HexDigit(text[2 * i]);
            int lo = HexDigit(text[2 * i + 1]);
            if (hi < 0 || lo < 0)
                return false;
            out[i] = static_cast<uint8_t>(hi * 16 + lo);
        }
    } else if (n == 17) {
        for (int i = 0; i < 6; ++i) {
            int hi = HexDigit(text[3 * i]);
            int lo = HexDigit(text[3 * i + 1]);
            if (hi < 0 || lo < 0)
                return false;
            if (i < 5 && text[3 * i + 2] != ':' && text[3 * i + 2] != '-')
                return false;
            out[i] = static_cast<uint8_t>(hi * 16 + lo);
        }
    } else {
        return false;
    }
    for (int i = 0; i < 6; ++i)
        mac[i] = out[i];
    return true;
}

void Append(char* dest, uint32_t size, const char* text)
{
    uint32_t n = Length(dest);
    if (n < size)
        Copy(dest + n, size - n, text);
}

void AppendNumber(char* dest, uint32_t size, uint32_t value)
{
    char digits[12];
    int i = 11;
    digits[i] = 0;
    do {
        digits[--i] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value && i > 0);
    Append(dest, size, digits + i);
}

} // namespace SimText
