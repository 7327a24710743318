// MessageFilter.h - the one place where a message is offered to the windows'
// PreTranslateMessage before it is dispatched. The application's pump and the
// progress window's pump call it; a message-filter hook brings the modal loops
// of the system (dialog boxes, message boxes) to it as well, so modeless
// windows keep their keyboard while the tool window runs modally.
#pragma once

#include <windows.h>

// Offers the message to the objects of its window and of that window's
// parents and owners, innermost first; TRUE when one of them handled it.
BOOL PreTranslateThreadMessage(MSG* msg);

// The thread's message-filter hook (installing twice installs once).
void InstallMessageFilter();
void RemoveMessageFilter();
bool IsMessageFilterInstalled();
