// The help file reader against bytes it did not write: the help file built
// from the topic sources, then that file damaged at random and on purpose.
// Built with the sanitizers, so a read outside the file ends the run; a
// damaged file must load or be refused, never loop.
#include "tests/help/HelpFileIndex.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes SampleFile(const char* path = HELP_SAMPLE_FILE)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Loads a copy exactly as long as the bytes, on the heap, so the sanitizer
// sees any read past the end.
bool LoadExact(HelpFileIndex& index, const Bytes& bytes, size_t size)
{
    std::unique_ptr<uint8_t[]> copy(new uint8_t[size ? size : 1]);
    if (size)
        memcpy(copy.get(), bytes.data(), size);
    return index.Load(copy.get(), size);
}

uint16_t Get16(const Bytes& b, size_t at)
{
    return (uint16_t)(b[at] | b[at + 1] << 8);
}
uint32_t Get32(const Bytes& b, size_t at)
{
    return Get16(b, at) | (uint32_t)Get16(b, at + 2) << 16;
}
void Put16(Bytes& b, size_t at, uint16_t v)
{
    b[at] = (uint8_t)v;
    b[at + 1] = (uint8_t)(v >> 8);
}

// Offsets inside the sample's internal directory: its B-tree header and the
// leaf page that its root is (the sample's directory is one page).
struct Directory
{
    size_t tree, leaf;
};
Directory DirectoryOf(const Bytes& b)
{
    size_t tree = Get32(b, 4) + 9;
    return {tree, tree + 38 + (size_t)Get16(b, tree + 26) * Get16(b, tree + 4)};
}

TEST(HelpFileIndex, ReadsTheBuiltFile)
{
    Bytes bytes = SampleFile();
    ASSERT_GT(bytes.size(), 1000u) << HELP_SAMPLE_FILE;
    HelpFileIndex index;
    ASSERT_TRUE(LoadExact(index, bytes, bytes.size())) << index.Error();
    const HelpFileIndex::Keyword* contents = index.Find("Contents");
    ASSERT_NE(nullptr, contents);
    EXPECT_EQ(std::vector<std::string>{"Contents"}, contents->topics);
    EXPECT_EQ(nullptr, index.Find("contents")); // exact, as the program asks
    for (const char* file : {"|KWBTREE", "|KWDATA", "|TTLBTREE", "|TOPIC", "|SYSTEM"})
        EXPECT_NE(index.Files().end(),
                  std::find(index.Files().begin(), index.Files().end(), std::string(file)))
            << file;
}

TEST(HelpFileIndex, WalksAKeywordTreeOfSeveralLevels)
{
    Bytes bytes = SampleFile(HELP_MANY_FILE);
    HelpFileIndex index;
    ASSERT_TRUE(LoadExact(index, bytes, bytes.size())) << index.Error();
    // 601 keywords of 17 bytes and more fill several 2048-byte leaf pages.
    ASSERT_EQ(601u, index.Keywords().size());
    for (int n = 100; n < 700; ++n) {
        const HelpFileIndex::Keyword* keyword = index.Find("keyword " + std::to_string(n));
        ASSERT_NE(nullptr, keyword) << n;
        EXPECT_EQ(std::vector<std::string>{"Chapter 1: One"}, keyword->topics) << n;
    }
    ASSERT_NE(nullptr, index.Find("last keyword"));
    EXPECT_EQ(std::vector<std::string>{"Chapter 2: Two"}, index.Find("last keyword")->topics);
}

TEST(HelpFileIndex, RefusesDamageItCanSee)
{
    Bytes good = SampleFile();
    ASSERT_FALSE(good.empty());
    Directory dir = DirectoryOf(good);
    ASSERT_EQ(1, Get16(good, dir.tree + 32)) << "the sample's directory has one level";
    struct Case
    {
        const char* name;
        void (*damage)(Bytes&, const Directory&);
        const char* error;
    } cases[] = {
        {"another file kind", [](Bytes& b, const Directory&) { b[0] = 'M'; }, "not a Windows Help"},
        {"directory past the end", [](Bytes& b, const Directory&) { Put16(b, 6, 0x7FFF); },
         "beyond the end"},
        {"directory not a B-tree", [](Bytes& b, const Directory& d) { b[d.tree] ^= 1; },
         "not a B-tree"},
        {"root page beyond the page count",
         [](Bytes& b, const Directory& d) { Put16(b, d.tree + 26, Get16(b, d.tree + 30)); },
         "out of range"},
        {"more pages than the file holds",
         [](Bytes& b, const Directory& d) { Put16(b, d.tree + 30, 0xFFFF); }, "beyond the end"},
        {"leaf chained to itself",
         [](Bytes& b, const Directory& d) { Put16(b, d.leaf + 6, Get16(b, d.tree + 26)); }, "loop"},
        {"leaf claims more entries than it holds",
         [](Bytes& b, const Directory& d) { Put16(b, d.leaf + 2, 0x7FFF); }, "beyond its page"},
        {"entry count differs from the header",
         [](Bytes& b, const Directory& d) { Put16(b, d.tree + 34, Get16(b, d.tree + 34) + 1); },
         "entries"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes bytes = good;
        c.damage(bytes, dir);
        HelpFileIndex index;
        EXPECT_FALSE(LoadExact(index, bytes, bytes.size()));
        EXPECT_NE(std::string::npos, index.Error().find(c.error)) << index.Error();
        EXPECT_TRUE(index.Keywords().empty());
    }
}

TEST(HelpFileIndex, EveryShorterFileIsRefusedSafely)
{
    Bytes good = SampleFile();
    ASSERT_FALSE(good.empty());
    HelpFileIndex index;
    for (size_t size = 0; size < good.size(); size += 1 + size / 64)
        EXPECT_FALSE(LoadExact(index, good, size)) << size;
}

// Where the B-trees of a help file start: their magic number followed by
// one of the page sizes the files use.
std::vector<size_t> TreesOf(const Bytes& b)
{
    std::vector<size_t> trees;
    for (size_t at = 0; at + 38 <= b.size(); ++at)
        if (Get16(b, at) == 0x293B && (Get16(b, at + 4) == 0x400 || Get16(b, at + 4) == 0x800))
            trees.push_back(at);
    return trees;
}

TEST(HelpFileIndex, RandomDamageStaysInsideTheFile)
{
    std::mt19937 rng(16);
    for (const char* path : {HELP_SAMPLE_FILE, HELP_MANY_FILE}) {
        SCOPED_TRACE(path);
        Bytes good = SampleFile(path);
        std::vector<size_t> trees = TreesOf(good);
        ASSERT_GE(trees.size(), 3u); // directory, keywords, titles at least
        int loaded = 0;
        for (int i = 0; i < 10000; ++i) {
            Bytes bytes = good;
            for (int n = 1 + rng() % 4; n > 0; --n) {
                // Mostly the numbers the reader steers by: B-tree headers and
                // page headers, as 16-bit values; now and then any byte.
                size_t tree = trees[rng() % trees.size()];
                uint16_t pageSize = Get16(good, tree + 4), pages = Get16(good, tree + 30);
                uint16_t value = rng() % 2 ? (uint16_t)rng() : (uint16_t)(rng() % (pages + 3) - 1);
                switch (rng() % 3) {
                case 0:
                    Put16(bytes, tree + 2 * (rng() % 19), value);
                    break;
                case 1: {
                    size_t page = tree + 38 + (size_t)(rng() % pages) * pageSize;
                    if (page + 8 <= bytes.size())
                        Put16(bytes, page + 2 * (rng() % 4), value);
                    break;
                }
                default:
                    bytes[rng() % bytes.size()] = (uint8_t)rng();
                }
            }
            HelpFileIndex index;
            if (LoadExact(index, bytes, bytes.size()))
                ++loaded;
            else
                EXPECT_FALSE(index.Error().empty());
        }
        EXPECT_GT(loaded, 0); // damage the reader never looks at leaves the file readable
    }
}

} // namespace
