// ImportTableTest.cpp - the built program against what Windows 95, Windows 98
// and NT 4.0 export: Wine exports every function whatever version it plays,
// so only the import table itself shows whether the program would load there.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "binary/PeImports.h"

namespace {

struct Fact
{
    std::string systems[3]; // win95, win98, nt40
    std::string source;
    std::string calls;
    std::string file;
};
const char* const kSystems[3] = {"Windows 95", "Windows 98", "NT 4.0"};

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return std::tolower(c); });
    return text;
}

std::string Key(const std::string& dll, const std::string& function)
{
    return Lower(dll) + "!" + function;
}

std::vector<uint8_t> ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>());
}

// A source names the page that documents the fact: at least one web
// address. "none", "-", "?", "n/a", "see note" or an empty column do not.
bool IsSourced(const std::string& source)
{
    for (const char* scheme : {"https://", "http://"}) {
        size_t at = source.find(scheme);
        if (at == std::string::npos)
            continue;
        // A host with a dot in it follows.
        size_t host = at + std::string(scheme).size();
        size_t end = source.find_first_of(" /()\"\t", host);
        std::string name = source.substr(host, end == std::string::npos ? end : end - host);
        if (!name.empty() && name.find('.') != std::string::npos && name.front() != '.' &&
            name.back() != '.')
            return true;
    }
    return false;
}

// Every row of every table file; a malformed row is a failure of its own.
std::map<std::string, Fact> LoadTable()
{
    static const char* const kFiles[] = {"advapi32", "comctl32", "comdlg32", "gdi32",  "kernel32",
                                         "msvcrt",   "shell32",  "user32",   "version"};
    static const char* const kValues[] = {"yes", "stub", "no", "redist"};
    std::map<std::string, Fact> table;
    for (const char* name : kFiles) {
        std::string path = std::string(IMPORT_TABLE_DIR) + "/" + name + ".tsv";
        std::ifstream in(path);
        EXPECT_TRUE(in.good()) << "cannot read " << path;
        std::string line;
        int number = 0;
        while (std::getline(in, line)) {
            ++number;
            if (line.empty() || line[0] == '#')
                continue;
            std::vector<std::string> cols;
            std::stringstream fields(line);
            for (std::string col; std::getline(fields, col, '\t');)
                cols.push_back(col);
            std::string where = std::string(name) + ".tsv:" + std::to_string(number);
            if (cols.size() < 6) {
                ADD_FAILURE() << where << ": needs dll, function, win95, win98, nt40 and source";
                continue;
            }
            Fact fact;
            fact.file = where;
            for (int i = 0; i < 3; ++i) {
                fact.systems[i] = cols[2 + i];
                EXPECT_NE(std::end(kValues),
                          std::find(std::begin(kValues), std::end(kValues), fact.systems[i]))
                    << where << ": '" << fact.systems[i] << "' for " << kSystems[i];
            }
            fact.source = cols[5];
            EXPECT_TRUE(IsSourced(fact.source))
                << where << ": " << cols[1] << " has no documented source ('" << fact.source
                << "'): name the page that says which systems export it";
            if (cols.size() > 7)
                fact.calls = cols[7];
            EXPECT_TRUE(fact.calls.empty() || fact.calls == "nt-only")
                << where << ": calls '" << fact.calls << "'";
            EXPECT_TRUE(table.emplace(Key(cols[0], cols[1]), fact).second)
                << where << ": " << cols[1] << " twice";
        }
    }
    return table;
}

// What keeps the program from loading or working on one system, or "".
std::string Problem(const Fact& fact, int system)
{
    const std::string& value = fact.systems[system];
    if (value == "no")
        return std::string("not exported by ") + kSystems[system] +
               ": the loader refuses the program";
    if (value == "stub" && !(system < 2 && fact.calls == "nt-only"))
        return std::string("a stub on ") + kSystems[system] + " but called there";
    if (value == "redist" && system != 0)
        return "only in a redistributable, and only Windows 95 may need one";
    return "";
}

// One function the program calls from a DLL: it has its row, and nothing
// keeps it from loading or working on any of the three systems.
void ExpectWorksEverywhere(const std::map<std::string, Fact>& table, const std::string& dll,
                           const std::string& function)
{
    auto fact = table.find(Key(dll, function));
    if (fact == table.end()) {
        ADD_FAILURE() << dll << "!" << function
                      << " is not in tests/binary/imports: add its row with the source that says "
                         "whether Windows 95, 98 and NT 4.0 export it";
        return;
    }
    for (int system = 0; system < 3; ++system) {
        std::string problem = Problem(fact->second, system);
        if (!problem.empty())
            ADD_FAILURE() << dll << "!" << function << ": " << problem << " (" << fact->second.file
                          << ")";
    }
}

TEST(ImportTable, EveryImportLoadsAndWorksOnWindows95And98AndNt40)
{
    std::vector<uint8_t> image = ReadFile(PROGRAM_FILE);
    ASSERT_FALSE(image.empty()) << "cannot read " << PROGRAM_FILE;
    PeImports reader;
    ASSERT_TRUE(reader.Load(image.data(), image.size())) << reader.Error();
    std::map<std::string, Fact> table = LoadTable();

    int kernelImports = 0;
    for (const PeImports::Import& import : reader.Imports()) {
        ASSERT_FALSE(import.function.empty()) << import.dll << " ordinal " << import.ordinal
                                              << ": imports by ordinal differ between systems";
        if (Lower(import.dll) == "kernel32.dll")
            ++kernelImports;
        ExpectWorksEverywhere(table, import.dll, import.function);
    }
    // A reader that found nothing would pass everything.
    EXPECT_GT(kernelImports, 20);
}

// comctl32 is linked through a delay-load library made from
// framework/comctl32.def, and a call to a function not listed there does not
// link: every function listed loads and works on the three systems as well.
TEST(ImportTable, TheDelayLoadedCommonControlsWorkOnWindows95And98AndNt40)
{
    std::ifstream def(COMCTL32_DEF);
    ASSERT_TRUE(def.good()) << "cannot read " << COMCTL32_DEF;
    std::map<std::string, Fact> table = LoadTable();
    std::string dll;
    int functions = 0;
    for (std::string line; std::getline(def, line);) {
        std::stringstream words(line);
        std::string word;
        if (!(words >> word) || word[0] == ';' || word == "EXPORTS")
            continue;
        if (word == "LIBRARY") {
            words >> dll;
            continue;
        }
        ++functions;
        ExpectWorksEverywhere(table, dll, word.substr(0, word.find('@')));
    }
    EXPECT_EQ("COMCTL32.DLL", dll);
    EXPECT_GE(functions, 10) << "a reader that found nothing would pass everything";
}

// Every DLL imported is loaded, with what it imports itself, before the
// program's first instruction, and so is paid for at every start: the common
// dialogs (and the print spooler's DLLs they bring) are loaded only when a
// file is saved, the common controls at the first that is needed.
TEST(ImportTable, TheStartLoadsOnlyTheDllsTheToolWindowNeeds)
{
    std::vector<uint8_t> image = ReadFile(PROGRAM_FILE);
    PeImports reader;
    ASSERT_TRUE(reader.Load(image.data(), image.size())) << reader.Error();
    std::set<std::string> dlls;
    for (const PeImports::Import& import : reader.Imports())
        dlls.insert(Lower(import.dll));
    EXPECT_EQ((std::set<std::string>{"advapi32.dll", "gdi32.dll", "kernel32.dll", "msvcrt.dll",
                                     "shell32.dll", "user32.dll", "version.dll"}),
              dlls);
}

TEST(ImportTable, ASourceNamesThePageThatDocumentsTheFact)
{
    const struct
    {
        const char* source;
        bool sourced;
    } cases[] = {
        {"", false},
        {"none", false},
        {"-", false},
        {"?", false},
        {"n/a", false},
        {"see note", false},
        {"MSDN 1998", false},
        {"https://", false},
        {"https:// (nothing)", false},
        {"http://localhost/x", false},
        {"https://techshelps.github.io/Win32/html/m5h5wy.htm (\"Win95: Yes\")", true},
        {"see https://learn.microsoft.com/en-us/windows/win32/api/fileapi/nf-fileapi-getfilesize",
         true},
        {"http://example.org", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.sourced, IsSourced(c.source)) << "'" << c.source << "'";
}

TEST(ImportTable, ReaderRefusesWhatIsNoProgram)
{
    std::vector<uint8_t> image = ReadFile(PROGRAM_FILE);
    ASSERT_GT(image.size(), 0x400u);
    struct Case
    {
        const char* what;
        size_t keep;   // bytes kept from the start
        size_t offset; // a byte changed, or 0
        uint8_t value;
    } cases[] = {
        {"empty", 0, 0, 0},
        {"only the DOS header", 0x40, 0, 0},
        {"cut in the headers", 0x180, 0, 0},
        {"no MZ", image.size(), 1, 'X'},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes(image.begin(),
                                   image.begin() + static_cast<std::ptrdiff_t>(c.keep));
        if (c.offset)
            bytes[c.offset] = c.value;
        PeImports reader;
        EXPECT_FALSE(reader.Load(bytes.data(), bytes.size())) << c.what;
        EXPECT_FALSE(reader.Error().empty()) << c.what;
        EXPECT_TRUE(reader.Imports().empty()) << c.what;
    }
}

} // namespace
