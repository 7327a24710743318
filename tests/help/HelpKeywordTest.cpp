// The help file beside the program against the program itself: every
// keyword a help request of the sources passes, looked up by its string ID
// in the program's own string table, must be in the help file's keyword
// index and lead to exactly one topic (two would make the viewer ask which).
#include "HelpCallScanner.h"
#include "HelpFileIndex.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<HelpCallScanner::Source> ProgramSources()
{
    std::vector<HelpCallScanner::Source> sources;
    for (const char* folder : {"framework", "adapter", "widgets", "tools", "sheet", "app"}) {
        fs::path dir = fs::path(SOURCE_ROOT) / folder;
        if (!fs::exists(dir))
            continue;
        for (const auto& entry : fs::recursive_directory_iterator(dir)) {
            std::string ext = entry.path().extension().string();
            if (entry.is_regular_file() && (ext == ".cpp" || ext == ".h"))
                sources.push_back({fs::relative(entry.path(), SOURCE_ROOT).generic_string(),
                                   ReadFile(entry.path())});
        }
    }
    return sources;
}

// The numbers of res/resource.h by name.
std::map<std::string, UINT> ResourceNumbers()
{
    std::map<std::string, UINT> numbers;
    std::istringstream header(ReadFile(fs::path(SOURCE_ROOT) / "res" / "resource.h"));
    std::regex define(R"(^\s*#define\s+(\w+)\s+(\d+)\b)");
    std::string line;
    std::smatch m;
    while (std::getline(header, line))
        if (std::regex_search(line, m, define))
            numbers[m[1]] = (UINT)std::stoul(m[2]);
    return numbers;
}

bool LoadProgramString(UINT id, std::string& text)
{
    char buffer[512];
    int length = LoadStringA(GetModuleHandleA(nullptr), id, buffer, sizeof(buffer));
    text.assign(buffer, length > 0 ? length : 0);
    return length > 0;
}

// "Section 4.1: The Configuration page" -> "The Configuration page".
std::string Unnumbered(const std::string& title)
{
    if (title.rfind("Chapter ", 0) == 0 || title.rfind("Section ", 0) == 0) {
        size_t colon = title.find(": ");
        if (colon != std::string::npos)
            return title.substr(colon + 2);
    }
    return title;
}

class HelpFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string bytes = ReadFile(HELP_FILE);
        ASSERT_FALSE(bytes.empty()) << "no help file at " << HELP_FILE;
        ASSERT_TRUE(m_index.Load((const uint8_t*)bytes.data(), bytes.size())) << m_index.Error();
    }

    // The one topic `keyword` leads to, or a failure naming what is wrong.
    ::testing::AssertionResult OneTopic(const std::string& keyword, std::string* title = nullptr)
    {
        const HelpFileIndex::Keyword* found = m_index.Find(keyword);
        if (!found)
            return ::testing::AssertionFailure()
                   << "no topic has the keyword \"" << keyword << "\"";
        if (found->topics.size() != 1)
            return ::testing::AssertionFailure()
                   << "\"" << keyword << "\" leads to " << found->topics.size() << " topics";
        if (title)
            *title = Unnumbered(found->topics[0]);
        return ::testing::AssertionSuccess();
    }

    HelpFileIndex m_index;
};

TEST_F(HelpFileTest, EveryKeywordTheProgramPassesLeadsToOneTopic)
{
    std::vector<HelpCallScanner::Request> requests = HelpCallScanner::Scan(ProgramSources());
    std::map<std::string, UINT> numbers = ResourceNumbers();

    // The scan sees the tool window's Help command (through the one help
    // routine), so a result without its keyword is a fault of the scan.
    bool toolWindow = false;
    for (const auto& request : requests)
        for (const std::string& id : request.ids)
            toolWindow = toolWindow || id == "IDS_HELP_CONTENTS";
    EXPECT_TRUE(toolWindow) << "the scan missed the tool window's help request";

    for (const auto& request : requests) {
        SCOPED_TRACE(request.path + ":" + std::to_string(request.line));
        EXPECT_FALSE(request.ids.empty())
            << "cannot tell which keyword this help request passes: name its string ID "
               "(IDS_...) in the request, or in every call of the function around it";
        for (const std::string& id : request.ids) {
            auto number = numbers.find(id);
            if (number == numbers.end()) {
                ADD_FAILURE() << id << " is not in res/resource.h";
                continue;
            }
            std::string keyword;
            if (!LoadProgramString(number->second, keyword)) {
                ADD_FAILURE() << id << " (" << number->second << ") is not in the string table";
                continue;
            }
            EXPECT_TRUE(OneTopic(keyword)) << "keyword of " << id;
        }
    }
}

// The keywords the dialogs are documented to pass, each with the topic it
// opens. A string the program's table already holds must read the same.
TEST_F(HelpFileTest, DocumentedKeywordsOpenTheirTopics)
{
    struct Case
    {
        UINT id;
        const char* keyword;
        const char* topic;
    } cases[] = {
        {40002, "Contents", "Contents"},
        {57353, "Preferences", "Preferences"},
        {1210, "Configuration", "The Configuration page"},
        {1206, "Advanced Information", "The Advanced Information page"},
        {1216, "Troubleshooting", "The Troubleshooting page"},
        {1209, "Network Watcher", "Network Watcher"},
        {1219, "View Station Throughput", "Station Throughput Monitor"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keyword);
        std::string title;
        EXPECT_TRUE(OneTopic(c.keyword, &title));
        if (!title.empty()) {
            EXPECT_EQ(c.topic, title);
        }
        std::string text;
        if (LoadProgramString(c.id, text)) {
            EXPECT_EQ(c.keyword, text) << "string " << c.id;
        }
    }
}

} // namespace
