// HelpFileIndex.cpp - the reader of a help file's keyword index. The layout:
// a 16-byte file header names the offset of the internal directory; every
// internal file starts with a 9-byte header (reserved size, used size,
// flags); the directory, |KWBTREE and |TTLBTREE are B+ trees (38-byte header,
// then fixed-size pages: index pages lead down to a chain of leaf pages);
// |KWDATA holds the topic offsets of each keyword as 32-bit numbers.
#include "HelpFileIndex.h"

#include <algorithm>
#include <functional>
#include <map>
#include <utility>

namespace {

const uint32_t kFileMagic = 0x00035F3F;
const uint16_t kTreeMagic = 0x293B;
const size_t kFileHeaderSize = 16;
const size_t kInternalHeaderSize = 9;
const size_t kTreeHeaderSize = 38;
const size_t kIndexPageHeaderSize = 6;
const size_t kLeafPageHeaderSize = 8;
const uint16_t kMaxLevels = 16;

// A checked view of bytes: every read says whether it fitted.
struct Span
{
    const uint8_t* data = nullptr;
    size_t size = 0;

    bool U8(size_t at, uint8_t& v) const
    {
        if (at >= size)
            return false;
        v = data[at];
        return true;
    }
    bool U16(size_t at, uint16_t& v) const
    {
        if (at > size || size - at < 2)
            return false;
        v = (uint16_t)(data[at] | data[at + 1] << 8);
        return true;
    }
    bool U32(size_t at, uint32_t& v) const
    {
        if (at > size || size - at < 4)
            return false;
        v = (uint32_t)data[at] | (uint32_t)data[at + 1] << 8 | (uint32_t)data[at + 2] << 16 |
            (uint32_t)data[at + 3] << 24;
        return true;
    }
    // A zero-terminated text starting at `at`; `next` is the byte after its zero.
    bool Text(size_t at, std::string& v, size_t& next) const
    {
        if (at >= size)
            return false;
        const uint8_t* end = std::find(data + at, data + size, 0);
        if (end == data + size)
            return false;
        v.assign((const char*)data + at, (const char*)end);
        next = (size_t)(end - data) + 1;
        return true;
    }
    Span Sub(size_t at, size_t length) const { return Span{data + at, length}; }
};

// Reads one leaf entry at `at` inside `page`; returns the offset after it,
// or 0 when the entry does not fit.
using EntryReader = std::function<size_t(const Span& page, size_t at)>;

class Reader
{
public:
    explicit Reader(Span file) : m_file(file) {}
    std::string error;

    bool InternalFile(uint32_t offset, const char* name, Span& body)
    {
        uint32_t reserved, used;
        uint8_t flags;
        if (!m_file.U32(offset, reserved) || !m_file.U32(offset + 4, used) ||
            !m_file.U8(offset + 8, flags))
            return Fail(std::string(name) + ": header beyond the end of the file");
        size_t start = (size_t)offset + kInternalHeaderSize;
        if (used > m_file.size - start)
            return Fail(std::string(name) + ": longer than the file");
        body = m_file.Sub(start, used);
        return true;
    }

    // Calls `entry` for every leaf entry of the B+ tree in `tree`, in key order.
    bool Walk(const Span& tree, const char* name, const EntryReader& entry)
    {
        std::string what(name);
        uint16_t magic, pageSize, root, pages, levels;
        uint32_t total;
        if (!tree.U16(0, magic) || !tree.U16(4, pageSize) || !tree.U16(26, root) ||
            !tree.U16(30, pages) || !tree.U16(32, levels) || !tree.U32(34, total))
            return Fail(what + ": B-tree header cut short");
        if (magic != kTreeMagic)
            return Fail(what + ": not a B-tree");
        if (pageSize < kLeafPageHeaderSize || levels == 0 || levels > kMaxLevels || root >= pages)
            return Fail(what + ": B-tree header out of range");
        if ((size_t)pages * pageSize > tree.size - kTreeHeaderSize)
            return Fail(what + ": B-tree pages beyond the end of the file");
        auto pageAt = [&](uint16_t n) {
            return tree.Sub(kTreeHeaderSize + (size_t)n * pageSize, pageSize);
        };

        // Down the leftmost branch to the first leaf.
        uint16_t page = root;
        for (uint16_t level = 1; level < levels; ++level) {
            uint16_t first;
            pageAt(page).U16(4, first); // fits: pageSize >= the leaf header
            if (first >= pages)
                return Fail(what + ": index page points outside the tree");
            page = first;
        }
        // Along the leaves.
        uint32_t seen = 0;
        for (uint32_t visited = 0;; ++visited) {
            if (visited >= pages)
                return Fail(what + ": leaf pages form a loop");
            Span leaf = pageAt(page);
            uint16_t count, next;
            leaf.U16(2, count);
            leaf.U16(6, next);
            size_t at = kLeafPageHeaderSize;
            for (uint16_t i = 0; i < count; ++i) {
                at = entry(leaf, at);
                if (at == 0)
                    return Fail(what + ": entry beyond its page");
                ++seen;
            }
            if (next == 0xFFFF)
                break;
            if (next >= pages)
                return Fail(what + ": leaf points outside the tree");
            page = next;
        }
        if (seen != total)
            return Fail(what + ": B-tree counts " + std::to_string(total) +
                        " entries, leaves hold " + std::to_string(seen));
        return true;
    }

    bool Fail(const std::string& why)
    {
        if (error.empty())
            error = why;
        return false;
    }

private:
    Span m_file;
};

} // namespace

bool HelpFileIndex::Load(const uint8_t* data, size_t size)
{
    m_error.clear();
    m_files.clear();
    m_keywords.clear();
    Span file{data, size};
    Reader reader(file);
    auto fail = [&](const std::string& why) {
        m_error = reader.error.empty() ? why : reader.error;
        m_files.clear();
        m_keywords.clear();
        return false;
    };

    uint32_t magic, directoryAt;
    if (size < kFileHeaderSize || !file.U32(0, magic) || !file.U32(4, directoryAt))
        return fail("shorter than a help file's header");
    if (magic != kFileMagic)
        return fail("not a Windows Help file");

    // The internal directory: file name -> offset of that file's header.
    Span directory;
    std::map<std::string, uint32_t> offsets;
    if (!reader.InternalFile(directoryAt, "directory", directory))
        return fail("");
    bool walked = reader.Walk(directory, "directory", [&](const Span& page, size_t at) -> size_t {
        std::string name;
        size_t next;
        uint32_t offset;
        if (!page.Text(at, name, next) || !page.U32(next, offset))
            return 0;
        offsets[name] = offset;
        m_files.push_back(name);
        return next + 4;
    });
    if (!walked)
        return fail("");

    auto body = [&](const char* name, Span& span) {
        auto found = offsets.find(name);
        return found != offsets.end() && reader.InternalFile(found->second, name, span);
    };
    if (offsets.find("|KWBTREE") == offsets.end())
        return true; // no keyword index

    // Topic titles by topic offset, for naming where a keyword leads.
    std::vector<std::pair<uint32_t, std::string>> titles;
    Span titleTree;
    if (offsets.count("|TTLBTREE")) {
        if (!body("|TTLBTREE", titleTree))
            return fail("");
        bool ok = reader.Walk(titleTree, "|TTLBTREE", [&](const Span& page, size_t at) -> size_t {
            uint32_t offset;
            std::string title;
            size_t next;
            if (!page.U32(at, offset) || !page.Text(at + 4, title, next))
                return 0;
            titles.emplace_back(offset, title);
            return next;
        });
        if (!ok)
            return fail("");
        std::sort(titles.begin(), titles.end());
    }
    auto titleOf = [&](uint32_t offset) {
        auto after = std::upper_bound(titles.begin(), titles.end(), offset,
                                      [](uint32_t o, const auto& t) { return o < t.first; });
        if (after == titles.begin())
            return "topic at " + std::to_string(offset);
        return std::prev(after)->second;
    };

    Span keywordTree, keywordData;
    if (!body("|KWBTREE", keywordTree))
        return fail("");
    if (!body("|KWDATA", keywordData))
        return fail("keyword index without |KWDATA");
    bool ok = reader.Walk(keywordTree, "|KWBTREE", [&](const Span& page, size_t at) -> size_t {
        Keyword keyword;
        size_t next;
        uint16_t count;
        uint32_t dataAt;
        if (!page.Text(at, keyword.text, next) || !page.U16(next, count) ||
            !page.U32(next + 2, dataAt))
            return 0;
        if (count > 0x7FFF || dataAt > keywordData.size ||
            (keywordData.size - dataAt) / 4 < count) {
            reader.Fail("|KWBTREE: topics of \"" + keyword.text + "\" beyond |KWDATA");
            return 0;
        }
        for (uint16_t i = 0; i < count; ++i) {
            uint32_t topic;
            keywordData.U32(dataAt + 4u * i, topic);
            keyword.topics.push_back(titleOf(topic));
        }
        m_keywords.push_back(std::move(keyword));
        return next + 6;
    });
    if (!ok)
        return fail("");
    return true;
}

const HelpFileIndex::Keyword* HelpFileIndex::Find(const std::string& text) const
{
    for (const Keyword& keyword : m_keywords)
        if (keyword.text == text)
            return &keyword;
    return nullptr;
}
