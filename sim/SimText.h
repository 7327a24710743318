// SimText.h - the few text and memory helpers the freestanding card code
// needs (it may not call the C library inside the driver).
#pragma once

#include <stdint.h>

namespace SimText {

uint32_t Length(const char* text);
// Copies at most size - 1 characters and always terminates (size > 0).
void Copy(char* dest, uint32_t size, const char* src);
void CopyN(char* dest, uint32_t size, const char* src, uint32_t count);
bool Equal(const char* a, const char* b);
bool EqualNoCase(const char* a, const char* b);
void Fill(void* dest, uint8_t value, uint32_t count);
void Move(void* dest, const void* src, uint32_t count);
bool SameBytes(const void* a, const void* b, uint32_t count);

// Numbers: decimal, or hexadecimal with a 0x prefix. False on anything else
// or on a value above max.
bool ParseNumber(const char* text, uint32_t max, uint32_t* value);
// Hexadecimal digits only (no prefix).
bool ParseHex(const char* text, uint32_t max, uint32_t* value);
// "00:A0:C5:12:34:56", "00-A0-C5-12-34-56" or twelve hexadecimal digits.
bool ParseMac(const char* text, uint8_t mac[6]);

// Appends to a terminated text in a buffer of size bytes.
void Append(char* dest, uint32_t size, const char* text);
void AppendNumber(char* dest, uint32_t size, uint32_t value);

} // namespace SimText
