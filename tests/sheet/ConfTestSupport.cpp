// ConfTestSupport.cpp - the machine and the page of the Configuration tests.
#include "tests/sheet/ConfTestSupport.h"

#include "adapter/AdapterDiscovery.h"
#include "adapter/AdapterState.h"
#include "adapter/Mailbox.h"
#include "adapter/PortAccess.h"
#include "adapter/RegKey.h"
#include "res/resource.h"
#include "tests/support/TestWindows.h"

#include <cstring>

namespace conftest {

const char* const Machine::kDriverKey =
    "System\\CurrentControlSet\\Services\\CorvaneConfTest\\Parameters";

Machine::Machine(int platform, Bus bus, const char* scenario)
    : card(scenario), app("CorvaneConfTest", LoadStr(IDS_PRODUCT).c_str())
{
    app.SetRegistryKey("KVR");
    reg.Own(HKEY_CURRENT_USER, app.GetProfileKeyPath());
    reg.Own(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\CorvaneConfTest");
    reg.CreateKey(HKEY_LOCAL_MACHINE, kDriverKey);
    // The one setting the page cannot do without.
    reg.SetString(HKEY_LOCAL_MACHINE, kDriverKey, "ESSID", "Corvane");

    ResetAdapterState();
    GetAdapterLink().PlatformKind = platform;
    GetAdapterLink().IoBase = card.IoBase();
    GetAdapterLink().AdapterIoBase = GetAdapterLink().IoBase;
    GetAdapterLink().AdapterIrq = 10;
    GetAdapterLink().AdapterCardType = static_cast<BYTE>(bus);
    EXPECT_EQ(0, OpenMailbox());
    GetAdapterLink().AdapterReady = true;
    GetAdapterLink().DriverKeyPath = kDriverKey;
    GetAdapterLink().DriverKeyValid = true;
    ClearAdapterState();
}

Machine::~Machine()
{
    ClearAdapterState();
    ResetAdapterState();
}

void Machine::SetText(const char* name, const std::string& value)
{
    reg.SetString(HKEY_LOCAL_MACHINE, kDriverKey, name, value);
}

void Machine::SetNumber(const char* name, DWORD value)
{
    reg.SetDword(HKEY_LOCAL_MACHINE, kDriverKey, name, value);
}

void Machine::Describe(const char* name)
{
    reg.CreateKey(HKEY_LOCAL_MACHINE, std::string(kDriverKey) + "\\ndi\\params\\" + name);
}

std::string Machine::Value(const char* name, DWORD* type) const
{
    return ValueOf(HKEY_LOCAL_MACHINE, kDriverKey, name, type);
}

std::string Machine::ValueOf(HKEY root, const std::string& key, const char* name, DWORD* type)
{
    RegKey k;
    if (k.Open(root, key, KEY_QUERY_VALUE) != ERROR_SUCCESS)
        return "<none>";
    BYTE data[512] = {};
    DWORD size = sizeof(data) - 1, kind = 0;
    if (::RegQueryValueExA(k, name, nullptr, &kind, data, &size) != ERROR_SUCCESS)
        return "<none>";
    if (type)
        *type = kind;
    if (kind == REG_DWORD) {
        DWORD number = 0;
        memcpy(&number, data, sizeof(number));
        return std::to_string(number);
    }
    return std::string(reinterpret_cast<char*>(data), strnlen(reinterpret_cast<char*>(data), size));
}

TestConfDlg::~TestConfDlg()
{
    if (m_hWnd)
        ::DestroyWindow(m_hWnd);
    if (m_hHost)
        ::DestroyWindow(m_hHost);
}

bool TestConfDlg::Open()
{
    m_hHost = ::CreateWindowExA(0, "STATIC", "host", WS_POPUP, 0, 0, 400, 400, nullptr, nullptr,
                                ::GetModuleHandleA(nullptr), nullptr);
    if (!m_hHost || !Create(m_hHost) || !m_hWnd)
        return false;
    // As the sheet does with the page it shows.
    ::EnableWindow(m_hWnd, TRUE);
    return true;
}

bool TestConfDlg::Reopen()
{
    if (m_hWnd)
        ::DestroyWindow(m_hWnd);
    if (!Create(m_hHost) || !m_hWnd)
        return false;
    ::EnableWindow(m_hWnd, TRUE);
    return true;
}

std::string TestConfDlg::Text(int id) const
{
    char text[256] = "";
    ::GetDlgItemTextA(m_hWnd, id, text, sizeof(text));
    return text;
}

namespace {

BOOL CALLBACK FindAdvancedDialog(HWND hWnd, LPARAM found)
{
    CAdvConfigDlg* dlg = dynamic_cast<CAdvConfigDlg*>(CWnd::FromHandlePermanent(hWnd));
    if (!dlg)
        return TRUE;
    *reinterpret_cast<CAdvConfigDlg**>(found) = dlg;
    return FALSE;
}

// The Advanced Configuration dialog of this thread, while it runs.
CAdvConfigDlg* RunningAdvancedDialog()
{
    CAdvConfigDlg* dlg = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindAdvancedDialog, (LPARAM)&dlg);
    return dlg;
}

void CancelAdvancedDialog()
{
    if (CAdvConfigDlg* dlg = RunningAdvancedDialog())
        dlg->SendMessage(WM_COMMAND, IDCANCEL);
}

} // namespace

void TestConfDlg::Click(int id)
{
    // The dialog's loop runs the steps: the user's, then Cancel on a dialog
    // still open (a dialog that ended is gone before its loop waits again).
    std::vector<std::function<void()>> steps;
    if (id == IDC_CONF_ADVANCED)
        steps = {[this] { ActInAdvancedDialog(); }, CancelAdvancedDialog};
    WhenIdle inDialog(std::move(steps));
    HWND button = Item(id);
    LRESULT style = ::GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK;
    if (style == BS_AUTOCHECKBOX)
        ::SendMessageA(button, BM_SETCHECK,
                       ::SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED ? BST_UNCHECKED
                                                                                : BST_CHECKED,
                       0);
    SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)button);
}

void TestConfDlg::Select(int id, int index)
{
    HWND list = Item(id);
    ::SendMessageA(list, CB_SETCURSEL, index, 0);
    SendMessage(WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), (LPARAM)list);
}

int TestConfDlg::Selected(int id) const
{
    return (int)::SendMessageA(Item(id), CB_GETCURSEL, 0, 0);
}

void TestConfDlg::ActInAdvancedDialog()
{
    CAdvConfigDlg* dlg = RunningAdvancedDialog();
    ASSERT_TRUE(dlg) << "the dialog runs";
    advancedNetworkType = dlg->m_nNetworkType;
    advancedRateEnabled = ::IsWindowEnabled(::GetDlgItem(dlg->m_hWnd, IDC_ADV_DATA_RATE)) != FALSE;
    if (advanced)
        advanced(*dlg);
}

INT_PTR PressOk(CAdvConfigDlg& dlg)
{
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_ADV_OK, BN_CLICKED),
                    (LPARAM)::GetDlgItem(dlg.m_hWnd, IDC_ADV_OK));
    return dlg.m_hWnd ? 0 : IDOK;
}

} // namespace conftest
