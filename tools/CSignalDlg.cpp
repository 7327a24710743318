// CSignalDlg.cpp - the signal quality bar, its caption and the state mode.
#include "tools/CSignalDlg.h"

#include "adapter/AdapterState.h"
#include "adapter/CardItems.h"
#include "adapter/QualityScale.h"
#include "framework/CWinApp.h"
#include "framework/Gdi.h"
#include "framework/Os.h"
#include "res/resource.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

const char kPrivate[] = "Private";
const char kAdapterState[] = "Adapter State";

} // namespace

CSignalDlg::CSignalDlg(CWnd* parent)
    : CDialog(IDD_SIGNAL, parent), m_quality(QUALITY_NO_CONNECTION), m_showState(false),
      m_icon(::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_SIGNAL_WINDOW)))
{
    // Ctrl+Alt+S reaches the window through the message filter.
    LoadAccelTable(IDR_ACCELERATORS);
}

CSignalDlg::~CSignalDlg() = default;

BOOL CSignalDlg::Create(CWnd* parent)
{
    if (m_hWnd)
        return FALSE;
    // A poll of another window that holds the card is not broken into: the
    // card is then known to answer.
    AdapterLock lock;
    char type[CARD_ITEM_BUFFER_SIZE];
    if (lock.IsHeld() && QueryCardItem(CI_NETWORK_TYPE, type) != ITEM_OK) {
        ReportAdapterSilent(parent ? parent->m_hWnd : nullptr);
        return FALSE;
    }
    // Nothing is known until the tool window hands a reading over.
    m_quality = QUALITY_NO_CONNECTION;
    m_state.clear();
    return CDialog::Create(parent);
}

BOOL CSignalDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    PlaceBelowOwner();
    SetTimer(REPAINT_TIMER, REPAINT_PERIOD);
    SendMessage(WM_SETICON, ICON_BIG, (LPARAM)m_icon);
    SendMessage(WM_SETICON, ICON_SMALL, (LPARAM)m_icon);
    CWinApp* app = AfxGetApp();
    m_showState = app && app->GetProfileInt(kPrivate, kAdapterState, 0) != 0;
    return TRUE;
}

void CSignalDlg::PlaceBelowOwner()
{
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    if (!owner)
        return;
    RECT ownerRect, rc, work;
    ::GetWindowRect(owner, &ownerRect);
    GetWindowRect(&rc);
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const int width = rc.right - rc.left, height = rc.bottom - rc.top;
    int x = ownerRect.right - width, y = ownerRect.bottom;
    if (y + height > work.bottom)
        y = ownerRect.top - height;
    x = std::max((int)work.left, std::min(x, (int)work.right - width));
    y = std::max((int)work.top, std::min(y, (int)work.bottom - height));
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CSignalDlg::SetQuality(int quality)
{
    m_quality = quality;
}

void CSignalDlg::ShowNoConnection()
{
    m_quality = QUALITY_NO_CONNECTION;
    if (m_hWnd)
        Repaint();
}

std::string CSignalDlg::CaptionFor(int value)
{
    std::string caption = LoadStr(IDS_SIGNAL_CAPTION) + "  ";
    if (value == QUALITY_NO_CONNECTION)
        return caption + LoadStr(IDS_NO_CONNECTION);
    if (value == QUALITY_SCANNING)
        return caption + LoadStr(IDS_SCANNING);
    return caption + std::to_string(value) + "%";
}

void CSignalDlg::OnTimer(UINT_PTR id)
{
    if (id == REPAINT_TIMER)
        Repaint();
    Default();
}

void CSignalDlg::Repaint()
{
    if (!m_hWnd)
        return;
    SetWindowText(CaptionFor(m_quality).c_str());
    int value = m_quality;
    if (value >= QUALITY_NO_CONNECTION)
        value = 0;
    RECT client;
    GetClientRect(&client);
    CClientDC dc(m_hWnd);
    if (!dc)
        return;
    DrawBar(dc, client, value);
    if (m_showState)
        DrawState(dc, client);
}

void CSignalDlg::DrawBar(HDC dc, const RECT& client, int value)
{
    COLORREF fill, border;
    if (value >= QUALITY_GOOD) {
        fill = RGB(0, 255, 0);
        border = RGB(0, 128, 0);
    } else if (value < QUALITY_POOR) {
        fill = RGB(255, 0, 0);
        border = RGB(128, 0, 0);
    } else {
        fill = RGB(255, 255, 0);
        border = RGB(128, 128, 0);
    }
    CBrush fillBrush(fill), borderBrush(border), unlitBrush(RGB(64, 64, 64));
    HBRUSH black = (HBRUSH)::GetStockObject(BLACK_BRUSH);

    const int left = client.left, top = client.top;
    const int height = client.bottom - client.top;
    RECT face = {left, top, left + client.right, top + client.bottom};
    ::FillRect(dc, &face, ::GetSysColorBrush(COLOR_BTNFACE));

    const int width = (client.right - client.left - 34) / SEGMENTS;
    auto segment = [&](int i) {
        int x = left + i * (width + 2);
        return RECT{x, top, x + width, top + height};
    };
    auto inset = [](RECT rc) { return RECT{rc.left + 2, rc.top + 2, rc.right - 2, rc.bottom - 2}; };

    RECT first = segment(0);
    ::FillRect(dc, &first, black);
    const int lit = value / 5;
    for (int i = 0; i < SEGMENTS; ++i) {
        if (i < SEGMENTS - 1) {
            RECT rc = segment(i + 1);
            ::FillRect(dc, &rc, unlitBrush);
            RECT inner = inset(rc);
            ::FillRect(dc, &inner, black);
        }
        if (i < lit) {
            RECT rc = segment(i);
            ::FillRect(dc, &rc, borderBrush);
            RECT inner = inset(rc);
            ::FillRect(dc, &inner, fillBrush);
        }
        if (!m_showState)
            g_os.Sleep(SEGMENT_PAUSE);
    }
}

void CSignalDlg::DrawState(HDC dc, const RECT& client)
{
    // A card already found silent is not asked again at every repaint, nor
    // one that another poll is using: the last state read stays.
    if (GetAdapterState().m_bAdapterFailed) {
        m_state.clear();
    } else {
        AdapterLock lock;
        char state[CARD_ITEM_BUFFER_SIZE] = "";
        if (lock.IsHeld()) {
            QueryCardItem(CI_LINK_STATE, state);
            state[sizeof(state) - 1] = '\0';
            m_state = state;
        }
    }
    const char* state = m_state.c_str();

    bool& blink = m_bBlink;
    COLORREF color;
    if (blink)
        color = RGB(255, 0, 255);
    else if (lstrcmpiA(state, "Associated") == 0)
        color = RGB(0, 0, 255);
    else
        color = RGB(0, 255, 255);
    blink = !blink;

    HFONT font = (HFONT)SendMessage(WM_GETFONT);
    CSelectObject selectFont(dc, font);
    int oldMode = ::SetBkMode(dc, TRANSPARENT);
    COLORREF oldColor = ::SetTextColor(dc, color);
    RECT rc = client;
    ::DrawTextA(dc, state, -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    ::SetTextColor(dc, oldColor);
    ::SetBkMode(dc, oldMode);
}

BOOL CSignalDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == IDM_STATE_MODE) {
        m_showState = !m_showState;
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

void CSignalDlg::OnClose()
{
    KillTimer(REPAINT_TIMER);
    DestroyWindow();
}

void CSignalDlg::OnDestroy()
{
    // Also when the program ends with the window open.
    if (CWinApp* app = AfxGetApp())
        app->WriteProfileInt(kPrivate, kAdapterState, m_showState ? 1 : 0);
    CDialog::OnDestroy();
}
