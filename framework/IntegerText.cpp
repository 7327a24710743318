// IntegerText.cpp - the strict integer reader of the data exchange.
#include "framework/IntegerText.h"

bool ParseInteger(const char* text, long& value)
{
    if (!text)
        return false;
    const char* p = text;
    while (*p == ' ' || *p == '\t')
        ++p;
    bool negative = false;
    if (*p == '-' || *p == '+')
        negative = *p++ == '-';
    // The magnitude may reach 2^31 only for a negative number.
    const long long limit = negative ? 2147483648LL : 2147483647LL;
    long long magnitude = 0;
    const char* digits = p;
    while (*p >= '0' && *p <= '9') {
        magnitude = magnitude * 10 + (*p - '0');
        if (magnitude > limit)
            return false;
        ++p;
    }
    if (p == digits || *p != '\0')
        return false;
    value = (long)(negative ? -magnitude : magnitude);
    return true;
}
