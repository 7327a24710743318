// HelpFileIndex.h - reads the keyword index of a Windows Help file: the
// file's internal directory, its keyword B-tree and the titles of the
// topics each keyword leads to. It reads bytes it did not write, so every
// read is checked against the file's end and the B-tree page it belongs to.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class HelpFileIndex
{
public:
    struct Keyword
    {
        std::string text;
        std::vector<std::string> topics; // titles of the topics it leads to
    };

    // False, with the reason in Error(), when the bytes are not a help file
    // this reader understands. A file without a keyword index loads with no
    // keywords.
    bool Load(const uint8_t* data, size_t size);
    const std::string& Error() const { return m_error; }

    const std::vector<std::string>& Files() const { return m_files; } // internal files
    const std::vector<Keyword>& Keywords() const { return m_keywords; }
    const Keyword* Find(const std::string& text) const; // exact match

private:
    std::string m_error;
    std::vector<std::string> m_files;
    std::vector<Keyword> m_keywords;
};
