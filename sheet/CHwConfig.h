// CHwConfig.h - the "Troubleshooting" page: a plain-text report of the
// program's identity, the firmware's debug dump, the driver's registry
// parameters, the driver status (with the drivers' log on Windows 95/98),
// the card's current settings and the Windows version key; a button that
// copies it to the clipboard and two links that address a mail to support.
#pragma once

#include "framework/CEdit.h"
#include "framework/CPropertyPage.h"
#include "widgets/CLinkStatic.h"

#include <string>

class CHwConfig : public CPropertyPage
{
public:
    CHwConfig();
    ~CHwConfig() override;

    CEdit m_ReportEdit;          // control 202
    CLinkStatic m_SupportLinkUs; // control 363
    CLinkStatic m_SupportLink;   // control 364

    // The most the copy takes: an edit's classic selection limit.
    static const int COPY_LIMIT = 65535;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    // The page help: keyword "Troubleshooting".
    void OnHelp() override;

    // Copies the report's first COPY_LIMIT characters (button 355).
    void CopyReport();

    // The Windows version key that the report lists for a platform.
    static const char* WindowsKeyPath(int platform);

protected:
    // Builds the report piece by piece and places it in the edit.
    void BuildReport();
    void Append(const std::string& text);

private:
    std::string m_report; // the pieces while the report is built
};
