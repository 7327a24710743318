// The scan that finds help requests and their keyword string IDs, on small
// sources written the ways a dialog may ask for help.
#include "HelpCallScanner.h"

#include <gtest/gtest.h>

namespace {

using Ids = std::vector<std::string>;

TEST(HelpCallScanner, FindsTheKeywordIdsOfEachRequest)
{
    struct Case
    {
        const char* name;
        std::vector<HelpCallScanner::Source> sources;
        std::vector<Ids> expected; // one per request, in source order
    } cases[] = {
        {"direct request",
         {{"a.cpp", "void A::OnHelp()\n{\n    app->WinHelp(m_hWnd, HELP_KEY,\n"
                    "                 (ULONG_PTR)LoadStr(IDS_A_KEY).c_str());\n}\n"}},
         {{"IDS_A_KEY"}}},
        {"failure message in the same function is not a keyword",
         {{"a.cpp", "void A::OnHelp()\n{\n    if (!app->WinHelp(h, HELP_KEY, Key(IDS_A)))\n"
                    "        Box(IDS_NO_HELP_FILE);\n}\n"}},
         {{"IDS_A"}}},
        {"shared routine: the IDs of its callers",
         {{"page.cpp", "void CPage::ShowHelp(UINT keyword) const\n{\n"
                       "    if (!GetApp()->WinHelp(m_hWnd, HELP_KEY, Text(keyword)))\n"
                       "        Fail();\n}\n"},
          {"conf.cpp", "void CConf::OnHelp() { ShowHelp(IDS_CONFIG); }\n"},
          {"info.cpp", "void CInfo::OnHelp()\n{\n    ShowHelp (IDS_INFO);\n}\n"}},
         {{"IDS_CONFIG", "IDS_INFO"}}},
        {"routine inside nested blocks",
         {{"w.cpp", "namespace {\nclass W {\n    void Help(UINT id)\n    {\n"
                    "        if (ok) {\n            Call(HELP_KEY, id);\n        }\n    }\n};\n}\n"
                    "void X() { Help(IDS_W); }\n"}},
         {{"IDS_W"}}},
        {"comments and texts do not count",
         {{"c.cpp", "// WinHelp with HELP_KEY and IDS_OLD\n/* HELP_KEY IDS_OLDER */\n"
                    "const char* s = \"HELP_KEY IDS_TEXT\";\nvoid F() { Do(HELP_KEY, n); }\n"}},
         {{}}},
        {"request with no ID to find",
         {{"d.cpp", "void D::OnHelp() { app->WinHelp(h, HELP_KEY, (ULONG_PTR)m_key); }\n"}},
         {{}}},
        {"a longer name that contains the word is not a request",
         {{"e.cpp", "int MY_HELP_KEY_COUNT = IDS_E;\n"}},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<HelpCallScanner::Request> requests = HelpCallScanner::Scan(c.sources);
        ASSERT_EQ(c.expected.size(), requests.size());
        for (size_t i = 0; i < requests.size(); ++i)
            EXPECT_EQ(c.expected[i], requests[i].ids);
    }
}

TEST(HelpCallScanner, NamesTheFileAndLineOfTheRequest)
{
    auto requests = HelpCallScanner::Scan(
        {{"x.cpp", "// one\n\nvoid F()\n{\n    Call(h,\n         HELP_KEY, IDS_X);\n}\n"}});
    ASSERT_EQ(1u, requests.size());
    EXPECT_EQ("x.cpp", requests[0].path);
    EXPECT_EQ(6, requests[0].line);
}

} // namespace
