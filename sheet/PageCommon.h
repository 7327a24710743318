// PageCommon.h - what the adapter pages of the property sheet share: their
// own handling of a card that does not answer, and appending to an edit.
#pragma once

#include <windows.h>

// The card did not answer a page: status 5, the stop sound when the alert
// beep is wanted and, only when alert messages are wanted, "The Corvane
// adapter has no response." system-modal. The caller has already marked
// the adapter failed.
void ReportPageNoResponse(HWND page);

// Appends text at the end of an edit control, as typing there would.
void AppendEditText(HWND edit, const char* text);
