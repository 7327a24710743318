// DataExchange.h - dialog data exchange: members to controls when a dialog
// opens, controls to members with validation when it is accepted. A field
// that fails tells the user, gets the focus and stops the exchange; every
// member the exchange had already written gets its old value back.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/IntegerText.h"

class CWindow;
class CWnd;

class CDataExchange
{
public:
    CDataExchange(CWnd* dlg, BOOL saveAndValidate);
    CDataExchange(const CDataExchange&) = delete;
    CDataExchange& operator=(const CDataExchange&) = delete;

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;

    // The control about to be exchanged; remembered for Fail().
    HWND PrepareEditCtrl(int id);
    HWND PrepareCtrl(int id);
    // Puts the focus (and for an edit field the selection) on the last
    // prepared control, restores the members written so far and stops.
    void Fail();
    bool Failed() const { return m_failed; }

    // Writes a member in a save exchange, keeping its old value for Fail().
    template <class T> void Store(T& member, const T& value)
    {
        T old = member;
        m_undo.push_back([&member, old]() { member = old; });
        member = value;
    }

    // Shows a validation message through the Os seam, captioned with the
    // program's title.
    void Tell(const std::string& text);

private:
    HWND m_lastCtrl;
    bool m_lastIsEdit;
    bool m_failed;
    std::vector<std::function<void()>> m_undo;
};

// Points a control member at the dialog's item, in both directions: the
// handle does not own the control, and a dialog made again gets the new one.
// Handle types only: a window object that owns its window (a CWnd) is bound
// with SubclassDlgItem, never here, or its window would be two objects'.
void DDX_Control(CDataExchange* pDX, int id, CWindow& control);
void DDX_Control(CDataExchange* pDX, int id, CWnd& control) = delete;
// "Please enter an integer." when the field holds no whole number.
void DDX_Text(CDataExchange* pDX, int id, int& value);
void DDX_Text(CDataExchange* pDX, int id, std::string& value);
// "Please enter an integer between %1 and %2." with the limits.
void DDV_MinMaxInt(CDataExchange* pDX, int value, int minValue, int maxValue);
// BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE.
void DDX_Check(CDataExchange* pDX, int id, int& value);
// The selected index of a combo box, -1 for none.
void DDX_CBIndex(CDataExchange* pDX, int id, int& index);
void DDX_Slider(CDataExchange* pDX, int id, int& pos);

// The range message with its numbers, as shown to the user.
std::string IntegerRangeMessage(int minValue, int maxValue);
