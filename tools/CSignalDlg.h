// CSignalDlg.h - the signal quality window: a small modeless tool window that
// shows the latest link quality as a bar of 20 segments coloured by quality,
// with the value in its caption, repainted every two seconds. A hidden state
// mode (Ctrl+Alt+S, kept in the profile) writes the card's link state over
// the bar in alternating colours. The tool window measures the quality and
// hands it over at each of its polls.
#pragma once

#include "framework/CDialog.h"

#include <string>

class CSignalDlg : public CDialog
{
public:
    static const UINT_PTR REPAINT_TIMER = 2;
    static const UINT REPAINT_PERIOD = 2000;
    static const int SEGMENTS = 20;
    // Pause after each segment outside state mode, so the bar builds up.
    static const DWORD SEGMENT_PAUSE = 20;

    explicit CSignalDlg(CWnd* parent = nullptr);
    ~CSignalDlg() override;

    // Makes the window. When the card does not answer it makes none: the
    // adapter is marked failed and the user is told (with a beep when the
    // alert beep is on).
    BOOL Create(CWnd* parent = nullptr) override;

    // The latest quality (percent, or QUALITY_NO_CONNECTION or
    // QUALITY_SCANNING); shown at the next repaint.
    void SetQuality(int quality);
    int GetQuality() const { return m_quality; }
    // The monitor stopped: no connection and an empty bar, shown now.
    void ShowNoConnection();
    bool IsStateMode() const { return m_showState; }

    // One repaint: caption, bar and, in state mode, the link state.
    void Repaint();

    // The caption for a quality.
    static std::string CaptionFor(int quality);

protected:
    BOOL OnInitDialog() override;
    void OnTimer(UINT_PTR id) override;
    void OnClose() override;
    void OnDestroy() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    // Just below the tool window, flush with its right edge, on screen.
    void PlaceBelowOwner();
    void DrawBar(HDC dc, const RECT& client, int value);
    void DrawState(HDC dc, const RECT& client);

    int m_quality;
    std::string m_state; // the link state last read, in state mode
    bool m_showState;
    // The state text's colour alternates at each repaint; kept between
    // openings, as the object is.
    bool m_bBlink = false;
    HICON m_icon; // shared resource icon
};
