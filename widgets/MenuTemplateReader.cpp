// MenuTemplateReader.cpp - the bounded walk over a menu template.
#include "widgets/MenuTemplateReader.h"

MenuTemplateReader::MenuTemplateReader(const void* data, size_t size)
    : m_data(static_cast<const uint8_t*>(data)), m_size(data ? size : 0)
{
    unsigned version = 0, offset = 0;
    if (m_size >= 4 && Word(&version) && Word(&offset) && version == 0) {
        m_valid = true;
        m_pos = 4 + static_cast<size_t>(offset);
    }
}

bool MenuTemplateReader::Word(unsigned* value)
{
    if (m_pos > m_size || m_size - m_pos < 2)
        return false;
    *value = static_cast<unsigned>(m_data[m_pos] | (m_data[m_pos + 1] << 8));
    m_pos += 2;
    return true;
}

bool MenuTemplateReader::Next(Item* item)
{
    if (!m_valid)
        return false;
    item->id = 0;
    item->text.clear();
    if (!Word(&item->flags))
        return false;
    if (!(item->flags & kPopup) && !Word(&item->id))
        return false;
    for (;;) {
        unsigned ch = 0;
        if (!Word(&ch))
            return false;
        if (!ch)
            return true;
        item->text += static_cast<wchar_t>(ch);
    }
}
