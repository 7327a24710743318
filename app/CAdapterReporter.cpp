// CAdapterReporter.cpp - the boxes of the adapter layer's notices.
#include "app/CAdapterReporter.h"

#include "adapter/AdapterState.h"
#include "framework/CWinApp.h"
#include "framework/Os.h"
#include "res/resource.h"

#include <stdio.h>

namespace {

// A box with a text of the string table and an empty caption, as the port
// layer and the discovery's registry search show them.
void Plain(HWND owner, const std::string& text)
{
    g_os.MessageBoxA(owner, text.c_str(), "", MB_OK);
}

std::string Formatted(UINT formatId, long number)
{
    char text[128];
    snprintf(text, sizeof(text), LoadStr(formatId).c_str(), number);
    return text;
}

} // namespace

void CAdapterReporter::Tell(AdapterNotice notice, HWND owner, long number)
{
    switch (notice) {
    case AdapterNotice::PortNoDevice:
        Plain(nullptr, LoadStr(IDS_PORT_NO_DEVICE));
        break;
    case AdapterNotice::PortCloseFailed:
        Plain(nullptr, LoadStr(IDS_PORT_CLOSE_FAILED));
        break;
    case AdapterNotice::PortReadFailed:
        Plain(nullptr, Formatted(IDS_PORT_READ_FAILED, number));
        break;
    case AdapterNotice::PortWriteFailed:
        Plain(nullptr, Formatted(IDS_PORT_WRITE_FAILED, number));
        break;
    case AdapterNotice::PortIoctlFailed:
        Plain(nullptr, LoadStr(IDS_PORT_IOCTL_FAILED));
        break;
    case AdapterNotice::NoVersionInfo:
        Plain(owner, LoadStr(IDS_NO_VERSION_EX));
        break;
    case AdapterNotice::Nt5Refused:
        g_os.MessageBoxA(owner, LoadStr(IDS_NO_NT5).c_str(), LoadStr(IDS_ERROR).c_str(),
                         MB_ICONERROR);
        break;
    case AdapterNotice::RegistryError: {
        char text[512] = "";
        if (!::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                              (DWORD)number, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), text,
                              sizeof(text), nullptr))
            snprintf(text, sizeof(text), LoadStr(IDS_REGISTRY_ERROR_CODE).c_str(), number);
        g_os.MessageBoxA(owner, text, LoadStr(IDS_REGISTRY_ERROR).c_str(), MB_ICONINFORMATION);
        break;
    }
    case AdapterNotice::RegOpenFailed:
        Plain(owner, LoadStr(IDS_REG_OPEN_FAILED));
        break;
    case AdapterNotice::RegQueryFailed:
        Plain(owner, LoadStr(IDS_REG_QUERY_FAILED));
        break;
    case AdapterNotice::RegEnumValueFailed:
        Plain(owner, LoadStr(IDS_REG_ENUM_VALUE_FAILED));
        break;
    case AdapterNotice::RegEnumKeyFailed:
        Plain(owner, LoadStr(IDS_REG_ENUM_KEY_FAILED));
        break;
    case AdapterNotice::NoResponse:
        if (GetAdapterState().AlertBeep)
            g_os.MessageBeep(MB_ICONHAND);
        g_os.MessageBoxA(owner, LoadStr(IDS_NO_RESPONSE).c_str(), LoadStr(IDS_ERROR).c_str(),
                         MB_ICONSTOP | MB_SYSTEMMODAL);
        break;
    }
}

UINT CAdapterReporter::StringOf(AdapterText text)
{
    switch (text) {
    case AdapterText::Infrastructure:
        return IDS_INFRASTRUCTURE;
    case AdapterText::AdHoc:
        return IDS_ADHOC;
    case AdapterText::CarrierUsa:
        return IDS_CARRIER_USA;
    case AdapterText::CarrierCanada:
        return IDS_CARRIER_CANADA;
    case AdapterText::CarrierEurope:
        return IDS_CARRIER_EUROPE;
    case AdapterText::CarrierSpain:
        return IDS_CARRIER_SPAIN;
    case AdapterText::CarrierFrance:
        return IDS_CARRIER_FRANCE;
    case AdapterText::CarrierJapan:
        return IDS_CARRIER_JAPAN;
    case AdapterText::CarrierUnknown:
        return IDS_CARRIER_UNKNOWN;
    case AdapterText::NotAvailable:
        return IDS_NOT_AVAILABLE;
    case AdapterText::Pcmcia:
        return IDS_PCMCIA;
    case AdapterText::Isa:
        return IDS_ISA;
    case AdapterText::NoDebugInfo:
        return IDS_NO_DEBUG_INFO;
    }
    return 0;
}

std::string CAdapterReporter::Text(AdapterText text)
{
    return LoadStr(StringOf(text));
}
