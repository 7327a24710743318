// MenuTemplateReader.h - walks the items of a plain (version 0) menu
// template as the resource compiler writes it, checking every read against
// the template's size, so a truncated or hostile template ends the walk as a
// failure instead of reading past it. No Windows header: builds natively for
// fuzzing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class MenuTemplateReader
{
public:
    // Item flags as the template stores them (MF_POPUP, MF_END).
    static const unsigned kPopup = 0x0010;
    static const unsigned kEnd = 0x0080;

    struct Item
    {
        unsigned flags = 0; // as stored, kEnd included
        unsigned id = 0;    // command; 0 for a popup
        std::wstring text;
    };

    MenuTemplateReader(const void* data, size_t size);

    // The header is there and names version 0 (the extended form is not read).
    bool Valid() const { return m_valid; }

    // The next item. False when the data ends before the item does.
    bool Next(Item* item);

private:
    bool Word(unsigned* value);

    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
    bool m_valid = false;
};
