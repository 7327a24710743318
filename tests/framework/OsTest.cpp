// OsTest.cpp - the production table's token calls: looked up in the system's
// advapi32.dll when called, not imported, so the program loads on a Windows 95
// whatever its advapi32.dll holds; a call it lacks fails as a stub does.
#include "framework/Os.h"
#include "tests/support/ImportPatch.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

ImportPatch* g_procPatch;
std::vector<std::string> g_askedFor;

// An advapi32.dll without the token calls.
FARPROC WINAPI NoTokenCalls(HMODULE module, LPCSTR name)
{
    if (HIWORD(name)) {
        const std::string function = name;
        if (function == "OpenProcessToken" || function == "LookupPrivilegeValueA" ||
            function == "AdjustTokenPrivileges") {
            g_askedFor.push_back(function);
            return nullptr;
        }
    }
    return g_procPatch->Original<decltype(&NoTokenCalls)>()(module, name);
}

TEST(RealOs, TokenCallsAreTheSystemsOrFailAsNotImplemented)
{
    HANDLE token = nullptr;
    LUID luid = {};
    TOKEN_PRIVILEGES none = {}; // no privilege: the test process keeps its own
    const struct
    {
        const char* name;
        std::function<BOOL()> call;
    } calls[] = {
        {"OpenProcessToken",
         [&] {
             return RealOs().OpenProcessToken(::GetCurrentProcess(),
                                              TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token);
         }},
        {"LookupPrivilegeValueA",
         [&] { return RealOs().LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &luid); }},
        {"AdjustTokenPrivileges",
         [&] { return RealOs().AdjustTokenPrivileges(token, FALSE, &none, 0, nullptr, nullptr); }},
    };

    for (bool exported : {true, false}) {
        SCOPED_TRACE(exported ? "exported" : "missing");
        std::unique_ptr<ImportPatch> patch;
        if (!exported) {
            patch.reset(
                new ImportPatch("kernel32.dll", "GetProcAddress", (const void*)NoTokenCalls));
            ASSERT_TRUE(patch->Applied());
            g_procPatch = patch.get();
        }
        g_askedFor.clear();
        for (const auto& c : calls) {
            ::SetLastError(ERROR_SUCCESS);
            const BOOL result = c.call();
            const DWORD error = ::GetLastError();
            if (exported) {
                EXPECT_TRUE(result) << c.name << " reaches advapi32.dll";
            } else {
                EXPECT_FALSE(result) << c.name;
                EXPECT_EQ((DWORD)ERROR_CALL_NOT_IMPLEMENTED, error) << c.name;
            }
        }
        if (!exported) {
            EXPECT_EQ((std::vector<std::string>{"OpenProcessToken", "LookupPrivilegeValueA",
                                                "AdjustTokenPrivileges"}),
                      g_askedFor)
                << "each looked up when called";
        }
        g_procPatch = nullptr;
        if (token)
            ::CloseHandle(token);
        token = nullptr;
    }
}

} // namespace
