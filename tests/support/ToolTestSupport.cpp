// ToolTestSupport.cpp - the opened card and the steerable tool window.
#include "tests/support/ToolTestSupport.h"

#include "adapter/AdapterDiscovery.h"
#include "adapter/CardItems.h"
#include "adapter/Mailbox.h"
#include "adapter/PortAccess.h"
#include "framework/MessageFilter.h"
#include "res/resource.h"
#include "tools/CSignalDlg.h"

#include <gtest/gtest.h>

#include <cstring>

OpenedCard::OpenedCard(const char* scenario) : card(scenario)
{
    ResetAdapterState();
    GetAdapterLink().PlatformKind = PLATFORM_NT_WORKSTATION;
    GetAdapterLink().IoBase = card.IoBase();
    EXPECT_EQ(0, OpenMailbox());
    GetAdapterLink().AdapterReady = true;
    GetAdapterLink().DriverKeyValid = true;
}

OpenedCard::~OpenedCard()
{
    ResetAdapterState();
}

TestApp::TestApp()
{
    m_args.clear();
    SetRegistryKey("KVR");
    m_reg.Own(HKEY_CURRENT_USER, GetProfileKeyPath());
}

TestApp::~TestApp() = default;

CMainToolDlg::Tool TestToolDlg::ToolOf(const std::string& caption)
{
    auto starts = [&caption](const char* head) { return caption.rfind(head, 0) == 0; };
    if (starts("Network Watcher"))
        return TOOL_WATCHER;
    if (starts("Current Signal Quality"))
        return TOOL_SIGNAL;
    if (starts("Station Throughput Monitor"))
        return TOOL_THROUGHPUT;
    if (caption == "Link History")
        return TOOL_HISTORY;
    // The common controls make the sheet from a template of their own.
    if (starts("Properties for") || caption == LoadStr(IDS_PROPERTIES_CAPTION))
        return TOOL_PROPERTIES;
    return TOOL_NONE;
}

std::vector<CMainToolDlg::Tool> TestToolDlg::Asked() const
{
    std::vector<Tool> tools;
    for (const std::string& caption : m_creations.asked)
        if (ToolOf(caption) != TOOL_NONE)
            tools.push_back(ToolOf(caption));
    return tools;
}

BOOL TestToolDlg::OnInitDialog()
{
    BOOL result = CMainToolDlg::OnInitDialog();
    for (const auto& message : postAtInit)
        PostMessage(message.first, message.second);
    return result;
}

LRESULT TestToolDlg::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_RUN_HOOK) {
        if (hook)
            hook();
        return 0;
    }
    return CMainToolDlg::WindowProc(msg, wParam, lParam);
}

namespace {

BOOL CALLBACK CollectWindowObject(HWND hWnd, LPARAM list)
{
    if (CWnd* wnd = CWnd::FromHandlePermanent(hWnd))
        reinterpret_cast<std::vector<CWnd*>*>(list)->push_back(wnd);
    return TRUE;
}

} // namespace

std::vector<CWnd*> ThreadWindowObjects()
{
    std::vector<CWnd*> objects;
    ::EnumThreadWindows(::GetCurrentThreadId(), CollectWindowObject, (LPARAM)&objects);
    return objects;
}

HICON SmallIcon(UINT id)
{
    return (HICON)::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_ICON,
                               ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON),
                               LR_SHARED);
}

std::string LastTip(const FakeOs& os)
{
    for (auto it = os.shell.rbegin(); it != os.shell.rend(); ++it)
        if (it->flags & NIF_TIP)
            return it->tip;
    return "(no tip)";
}

HICON LastIcon(const FakeOs& os)
{
    for (auto it = os.shell.rbegin(); it != os.shell.rend(); ++it)
        if (it->flags & NIF_ICON)
            return it->icon;
    return nullptr;
}

DWORD ReadDword(HKEY root, const std::string& key, const char* name, DWORD missing)
{
    HKEY h;
    if (::RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS)
        return missing;
    DWORD value = 0, size = sizeof(value), type = 0;
    LONG rc = ::RegQueryValueExA(h, name, nullptr, &type, (BYTE*)&value, &size);
    ::RegCloseKey(h);
    return rc == ERROR_SUCCESS && type == REG_DWORD ? value : missing;
}

void KeepShownWindowsToTheEnd(std::unique_ptr<TestToolDlg> tool)
{
    if (!tool)
        return;
    if (tool->m_hWnd)
        ::KillTimer(*tool, CMainToolDlg::MONITOR_TIMER);
    if (CSignalDlg* signal = tool->GetSignalWindow())
        if (signal->m_hWnd)
            ::KillTimer(*signal, CSignalDlg::REPAINT_TIMER);
    tool.release();
}
