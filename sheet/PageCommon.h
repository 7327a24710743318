// PageCommon.h - what the adapter pages of the property sheet share: their
// own handling of a card that does not answer.
#pragma once

#include <windows.h>

// The card did not answer a page: status 5, the stop sound when the alert
// beep is wanted and, only when alert messages are wanted, "The Corvane
// adapter has no response." system-modal. The caller has already marked
// the adapter failed.
void ReportPageNoResponse(HWND page);
