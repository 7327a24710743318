// ImportPatch.h - replaces one function that the test program imports from a
// system DLL, for the life of the object: the calls the code under test makes
// through its import table reach the replacement. For what Wine cannot show:
// the structure sizes the program hands to the system (Wine takes any), and
// the wide functions that Windows 95 and 98 have only as stubs.
#pragma once

#include <windows.h>

class ImportPatch
{
public:
    // dll as the import table names it ("user32.dll", any case).
    ImportPatch(const char* dll, const char* function, const void* replacement);
    ~ImportPatch();
    ImportPatch(const ImportPatch&) = delete;
    ImportPatch& operator=(const ImportPatch&) = delete;

    // False when the program does not import the function at all.
    bool Applied() const { return m_slot != nullptr; }
    // The function the import table held before.
    template <typename F> F Original() const { return reinterpret_cast<F>(m_original); }

private:
    void Write(void* value);

    void** m_slot = nullptr;
    void* m_original = nullptr;
};
