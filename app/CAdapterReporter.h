// CAdapterReporter.h - the application's side of the adapter layer's notices:
// words each from the string table and shows it with the caption, icon and
// owner its message calls for, and gives the adapter its texts.
#pragma once

#include "adapter/AdapterReporter.h"

class CAdapterReporter : public AdapterReporter
{
public:
    void Tell(AdapterNotice notice, HWND owner, long number) override;
    std::string Text(AdapterText text) override;

    // The string of a text, for tests that compare with the string table.
    static UINT StringOf(AdapterText text);
};
