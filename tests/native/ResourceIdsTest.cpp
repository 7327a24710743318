// The resource IDs: every name defined once in res/resource.h (or the
// framework's framework/FrameworkIds.h), and no two
// resources of one type (dialogs, icons, bitmaps, menus, accelerator tables,
// cursors, toolbars, strings) sharing a number across the resource scripts.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

struct Defines
{
    std::map<std::string, long> values;
    std::vector<std::string> twice; // names defined more than once
};

Defines ParseDefines(const std::string& header)
{
    Defines defines;
    std::istringstream lines(header);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string directive, name, value;
        if (!(words >> directive >> name >> value) || directive != "#define")
            continue;
        char* end = nullptr;
        long number = std::strtol(value.c_str(), &end, 0);
        if (end == value.c_str())
            continue;
        if (!defines.values.emplace(name, number).second)
            defines.twice.push_back(name);
    }
    return defines;
}

struct Resource
{
    std::string type;
    std::string name;
};

// The top-level resources of a script ("NAME TYPE ...") and its string-table
// entries ("NAME "text"" between BEGIN and END of a STRINGTABLE).
std::vector<Resource> ParseScript(const std::string& script)
{
    static const std::set<std::string> kTypes = {
        "ACCELERATORS", "BITMAP", "CURSOR", "DIALOG", "DIALOGEX", "ICON", "MENU", "RT_TOOLBAR_RES"};
    std::vector<Resource> resources;
    std::istringstream lines(script);
    std::string line;
    bool inStrings = false, stringTableOpen = false;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string first, second;
        words >> first >> second;
        if (first == "STRINGTABLE") {
            stringTableOpen = true;
            continue;
        }
        if (stringTableOpen && first == "BEGIN") {
            inStrings = true;
            stringTableOpen = false;
            continue;
        }
        if (inStrings) {
            if (first == "END")
                inStrings = false;
            else if (!first.empty() && second.size() && second[0] == '"')
                resources.push_back({"STRING", first});
            continue;
        }
        if (!line.empty() && !std::isspace((unsigned char)line[0]) && kTypes.count(second)) {
            std::string type = second == "DIALOGEX" ? "DIALOG" : second;
            resources.push_back({type, first});
        }
    }
    return resources;
}

// "TYPE: A and B are both N" for every clash, and "unknown NAME" for names
// the header does not define.
std::vector<std::string> Clashes(const Defines& defines, const std::vector<Resource>& resources)
{
    std::vector<std::string> faults;
    std::map<std::pair<std::string, long>, std::string> seen;
    std::set<std::pair<std::string, std::string>> named;
    for (const Resource& r : resources) {
        long value;
        auto it = defines.values.find(r.name);
        if (it != defines.values.end()) {
            value = it->second;
        } else {
            char* end = nullptr;
            value = std::strtol(r.name.c_str(), &end, 0);
            if (*end != '\0') {
                // Outside the string table a name the header does not define
                // is the resource's own name ("WAIT_M"); a string needs a number.
                if (r.type == "STRING")
                    faults.push_back("unknown " + r.name);
                else if (!named.insert(std::make_pair(r.type, r.name)).second)
                    faults.push_back(r.type + ": " + r.name + " is named twice");
                continue;
            }
        }
        auto key = std::make_pair(r.type, value);
        auto found = seen.find(key);
        if (found != seen.end() && found->second != r.name)
            faults.push_back(r.type + ": " + found->second + " and " + r.name + " are both " +
                             std::to_string(value));
        else
            seen.emplace(key, r.name);
    }
    return faults;
}

TEST(ResourceIds, AClashWithinATypeIsFoundAndOneAcrossTypesIsNot)
{
    Defines defines = ParseDefines("#define IDD_A 100\n#define IDI_B 100  // an icon\n"
                                   "#define IDS_C 200\n#define IDS_D 200\n#define IDS_C 201\n");
    EXPECT_EQ(std::vector<std::string>{"IDS_C"}, defines.twice);
    std::vector<Resource> resources = ParseScript(
        "IDD_A DIALOGEX 0, 0, 10, 10\nBEGIN\n    LTEXT \"x\", -1, 0, 0, 5, 5\nEND\n"
        "IDI_B ICON \"b.ico\"\nSTRINGTABLE\nBEGIN\n    IDS_C \"one\"\n    IDS_D \"two\"\n"
        "    IDS_E \"three\"\nEND\n");
    ASSERT_EQ(5u, resources.size());
    EXPECT_EQ((std::vector<std::string>{"STRING: IDS_C and IDS_D are both 200", "unknown IDS_E"}),
              Clashes(defines, resources));
}

TEST(ResourceIds, ANamedResourceIsKnownByItsNameAndMayNotBeNamedTwice)
{
    Defines defines = ParseDefines("#define IDC_HAND 1301\n");
    std::vector<Resource> resources =
        ParseScript("WAIT_M CURSOR \"w.cur\"\nIDC_HAND CURSOR \"h.cur\"\n");
    EXPECT_TRUE(Clashes(defines, resources).empty());
    resources = ParseScript("WAIT_M CURSOR \"w.cur\"\nWAIT_M CURSOR \"v.cur\"\n");
    EXPECT_EQ(std::vector<std::string>{"CURSOR: WAIT_M is named twice"},
              Clashes(defines, resources));
}

TEST(ResourceIds, TheProgramsResourcesAreUniqueWithinTheirType)
{
    // The framework names the IDs of its own texts; the program's header
    // includes that header.
    Defines defines = ParseDefines(ReadFile(std::string(RES_DIR) + "/resource.h") + "\n" +
                                   ReadFile(std::string(RES_DIR) + "/../framework/FrameworkIds.h"));
    ASSERT_GT(defines.values.size(), 50u);
    EXPECT_EQ(std::vector<std::string>{}, defines.twice) << "named once in the two headers";
    std::vector<Resource> resources;
    // Every script of the folder, also those added later.
    for (const auto& entry : std::filesystem::directory_iterator(RES_DIR)) {
        if (entry.path().extension() != ".rc")
            continue;
        std::vector<Resource> more = ParseScript(ReadFile(entry.path().string()));
        resources.insert(resources.end(), more.begin(), more.end());
    }
    ASSERT_GT(resources.size(), 50u);
    EXPECT_EQ(std::vector<std::string>{}, Clashes(defines, resources));
}

} // namespace
