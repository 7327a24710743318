// PeImports.h - reads the import table of a 32-bit Windows program: which
// functions of which DLLs the loader must find before the program's first
// instruction runs. It reads bytes it did not write, so every read is
// checked against the file's end.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class PeImports
{
public:
    struct Import
    {
        std::string dll;      // as the program names it
        std::string function; // empty when imported by ordinal
        uint16_t ordinal = 0;
    };

    // False, with the reason in Error(), when the bytes are not a 32-bit PE
    // image this reader understands.
    bool Load(const uint8_t* data, size_t size);
    const std::string& Error() const { return m_error; }
    const std::vector<Import>& Imports() const { return m_imports; }

private:
    bool Fail(const std::string& why);
    // The file offset of an RVA, or false when no section holds it.
    bool Offset(uint32_t rva, size_t* offset) const;
    bool ReadString(uint32_t rva, std::string* text) const;

    struct Section
    {
        uint32_t address, size, rawOffset, rawSize;
    };
    const uint8_t* m_data = nullptr;
    size_t m_size = 0;
    std::vector<Section> m_sections;
    std::vector<Import> m_imports;
    std::string m_error;
};
