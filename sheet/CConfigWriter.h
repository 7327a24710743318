// CConfigWriter.h - writes changed card settings the one way the program
// has: every setting that differs goes to the driver's registry parameters
// and, for the settings the running firmware takes, to the card; then tells
// what could not be saved and offers the restart the saved settings need.
#pragma once

#include "sheet/CardConfig.h"

#include <windows.h>

#include <string>
#include <vector>

// What one write did; settings are named by their string IDs.
struct ConfigWriteResult
{
    std::vector<UINT> saved;   // written to the driver's parameters
    std::vector<UINT> unsaved; // the registry refused them
    // Written to the registry, but the card could not be given them now (it
    // was held by another poll): they take effect when the card starts again.
    std::vector<UINT> cardMissed;
    bool restartNeeded = false;

    bool AllSaved() const { return unsaved.empty(); }
};

class CConfigWriter
{
public:
    explicit CConfigWriter(HWND owner) : m_hOwner(owner) {}

    // Writes what differs between was and now, in the settings' fixed order;
    // the advanced settings only when withAdvanced. `was` becomes what is
    // stored afterwards: the saved settings take their new values.
    ConfigWriteResult Write(CardConfig& was, const CardConfig& now, bool withAdvanced);

    // After a write: says what could not be saved (naming what was), then,
    // when a saved setting needs it, asks to restart and restarts on OK.
    void Conclude(const ConfigWriteResult& result);

    // The setting names of a list, joined by ", ".
    static std::string Names(const std::vector<UINT>& names);

private:
    // WriteConfigValue, noted as saved or not; true when saved.
    bool Store(UINT name, int item, const std::string& text);
    // SetCardItem under the adapter lock, for a setting the registry took.
    // A failed adapter is asked nothing (the registry holds the value); a
    // card held by another poll is noted as missed.
    void GiveCard(UINT name, int item, const std::string& text);
    // Windows 95/98's own computer name, after the driver's; false when a
    // key that is there refused it.
    bool WriteComputerNameKeys(const std::string& name);
    void Restart();

    HWND m_hOwner;
    ConfigWriteResult m_result;
};
