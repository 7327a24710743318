// PeImports.cpp - the import table of a 32-bit PE image.
#include "PeImports.h"

namespace {

bool Read16(const uint8_t* data, size_t size, size_t at, uint16_t* value)
{
    if (at > size || size - at < 2)
        return false;
    *value = static_cast<uint16_t>(data[at] | data[at + 1] << 8);
    return true;
}

bool Read32(const uint8_t* data, size_t size, size_t at, uint32_t* value)
{
    if (at > size || size - at < 4)
        return false;
    *value = static_cast<uint32_t>(data[at]) | static_cast<uint32_t>(data[at + 1]) << 8 |
             static_cast<uint32_t>(data[at + 2]) << 16 | static_cast<uint32_t>(data[at + 3]) << 24;
    return true;
}

const uint16_t kPe32Magic = 0x10B;
const uint32_t kImportDirectory = 1;
const size_t kDescriptorSize = 20;
const uint32_t kOrdinalFlag = 0x80000000u;
const size_t kMaxImports = 100000; // far beyond any program; bounds a forged table

} // namespace

bool PeImports::Fail(const std::string& why)
{
    m_error = why;
    m_imports.clear();
    return false;
}

bool PeImports::Offset(uint32_t rva, size_t* offset) const
{
    for (const Section& s : m_sections) {
        if (rva >= s.address && rva - s.address < s.rawSize) {
            *offset = static_cast<size_t>(s.rawOffset) + (rva - s.address);
            return *offset < m_size;
        }
    }
    return false;
}

bool PeImports::ReadString(uint32_t rva, std::string* text) const
{
    size_t at = 0;
    if (!Offset(rva, &at))
        return false;
    text->clear();
    for (; at < m_size; ++at) {
        if (m_data[at] == 0)
            return true;
        text->push_back(static_cast<char>(m_data[at]));
    }
    return false; // runs off the end of the file
}

bool PeImports::Load(const uint8_t* data, size_t size)
{
    m_data = data;
    m_size = size;
    m_sections.clear();
    m_imports.clear();
    m_error.clear();

    uint16_t magic = 0;
    uint32_t peOffset = 0, signature = 0;
    if (!Read16(data, size, 0, &magic) || magic != 0x5A4D)
        return Fail("no MZ header");
    if (!Read32(data, size, 0x3C, &peOffset) || !Read32(data, size, peOffset, &signature) ||
        signature != 0x00004550)
        return Fail("no PE signature");
    size_t coff = static_cast<size_t>(peOffset) + 4;
    uint16_t sectionCount = 0, optionalSize = 0;
    if (!Read16(data, size, coff + 2, &sectionCount) ||
        !Read16(data, size, coff + 16, &optionalSize))
        return Fail("short file header");
    size_t optional = coff + 20;
    uint16_t optionalMagic = 0;
    uint32_t directoryCount = 0, importRva = 0;
    if (!Read16(data, size, optional, &optionalMagic) || optionalMagic != kPe32Magic)
        return Fail("not a 32-bit image");
    if (!Read32(data, size, optional + 92, &directoryCount))
        return Fail("short optional header");
    if (directoryCount <= kImportDirectory || 96 + 8 * (kImportDirectory + 1) > optionalSize)
        return true; // no import directory: imports nothing
    if (!Read32(data, size, optional + 96 + 8 * kImportDirectory, &importRva))
        return Fail("short optional header");

    size_t sectionTable = optional + optionalSize;
    for (uint16_t i = 0; i < sectionCount; ++i) {
        size_t at = sectionTable + 40u * i;
        Section s = {};
        if (!Read32(data, size, at + 12, &s.address) || !Read32(data, size, at + 16, &s.rawSize) ||
            !Read32(data, size, at + 20, &s.rawOffset))
            return Fail("short section table");
        m_sections.push_back(s);
    }
    if (importRva == 0)
        return true;

    size_t descriptor = 0;
    if (!Offset(importRva, &descriptor))
        return Fail("import directory outside every section");
    for (;; descriptor += kDescriptorSize) {
        uint32_t lookup = 0, nameRva = 0, firstThunk = 0;
        if (!Read32(data, size, descriptor, &lookup) ||
            !Read32(data, size, descriptor + 12, &nameRva) ||
            !Read32(data, size, descriptor + 16, &firstThunk))
            return Fail("import directory runs off the file");
        if (lookup == 0 && nameRva == 0 && firstThunk == 0)
            break;
        std::string dll;
        if (!ReadString(nameRva, &dll))
            return Fail("unreadable DLL name");
        size_t thunk = 0;
        if (!Offset(lookup ? lookup : firstThunk, &thunk))
            return Fail("lookup table of " + dll + " outside every section");
        for (;; thunk += 4) {
            uint32_t entry = 0;
            if (!Read32(data, size, thunk, &entry))
                return Fail("lookup table of " + dll + " runs off the file");
            if (entry == 0)
                break;
            if (m_imports.size() >= kMaxImports)
                return Fail("more imports than any program has");
            Import import;
            import.dll = dll;
            if (entry & kOrdinalFlag) {
                import.ordinal = static_cast<uint16_t>(entry & 0xFFFF);
            } else {
                size_t hint = 0;
                if (!Offset(entry, &hint) || !Read16(data, size, hint, &import.ordinal) ||
                    !ReadString(entry + 2, &import.function))
                    return Fail("unreadable import name in " + dll);
            }
            m_imports.push_back(import);
        }
    }
    return true;
}
