// CDialog.h - dialogs from templates, modal or modeless, bound to an object
// from their very first message.
#pragma once

#include "framework/CWnd.h"

class CDialog : public CWnd
{
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    ~CDialog() override;

    // Modal: returns the EndDialog result, or -1 when the dialog cannot be made.
    virtual INT_PTR DoModal();
    // Modeless: returns FALSE when the dialog cannot be made.
    virtual BOOL Create(CWnd* parent = nullptr);
    BOOL Create(HWND parent);
    void EndDialog(INT_PTR result);

    UINT GetTemplateId() const { return m_templateId; }
    bool IsModal() const { return m_bModal; }

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    // A top-level modeless dialog takes its accelerators (m_hAccel), then the
    // dialog keyboard (Tab, arrows, mnemonics, Enter, Escape).
    BOOL PreTranslateMessage(MSG* msg) override;
    LRESULT DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

protected:
    // The keyboard stays on a control the user can work: when the focus is on
    // a control that went grey or hidden, or nowhere (or on the dialog
    // itself) after it was on `from`, it moves on to the next control in the
    // tab order; true when it moved. Every command, timer tick and key of a
    // top-level dialog ends with this check; a handler that knows a better
    // place hands the focus there first.
    bool KeepFocusUsable(HWND from);
    bool FocusLost(HWND from) const;

    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

    UINT m_templateId;
    HWND m_hParent;
    bool m_bModal;
    // The template holds common controls (list views, trackbars...), whose
    // classes comctl32 registers as it loads; a dialog of the system's own
    // controls alone clears it and does not wait for comctl32 to load.
    bool m_bCommonControls;
    bool m_bDefaulted; // the handler passed the message on to the dialog manager
};
