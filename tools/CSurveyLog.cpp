// CSurveyLog.cpp - choosing and opening the survey file, the lines, the cell
// reads and the log's ends.
#include "tools/CSurveyLog.h"

#include "adapter/AdapterState.h"
#include "adapter/CardItems.h"
#include "adapter/HistoryEvents.h"
#include "framework/CWinApp.h"
#include "framework/Os.h"
#include "res/resource.h"
#include "tools/HistoryText.h"
#include "tools/SurveyCsv.h"

#include <cstdio>
#include <cstring>

namespace {

// The system's reason for an error, as one line.
std::string SystemReason(DWORD error)
{
    char text[512] = "";
    if (!::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                          error, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), text, sizeof(text),
                          nullptr))
        return FillText(LoadStr(IDS_SYSTEM_ERROR_CODE), std::to_string(error));
    return TrimReason(text);
}

void TellNotWritten(HWND owner, const std::string& path, DWORD error)
{
    const std::string text = FillText(LoadStr(IDS_SURVEY_WRITE_FAILED), path, SystemReason(error));
    g_os.MessageBoxA(owner, text.c_str(), LoadStr(IDS_LINK_HISTORY).c_str(), MB_ICONSTOP);
}

std::string Trimmed(const std::string& text)
{
    const size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos)
        return std::string();
    return text.substr(begin, text.find_last_not_of(" \t") + 1 - begin);
}

// Opened for writing and shared for reading, so the file can be watched
// while it grows.
HANDLE OpenForLog(const std::string& path, DWORD disposition)
{
    return ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                         disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

} // namespace

CSurveyLog::CSurveyLog() : m_file(INVALID_HANDLE_VALUE), m_cellDue(0), m_cellStep(0) {}

CSurveyLog::~CSurveyLog()
{
    Close();
}

void CSurveyLog::Close()
{
    if (m_file != INVALID_HANDLE_VALUE)
        ::CloseHandle(m_file);
    m_file = INVALID_HANDLE_VALUE;
}

bool CSurveyLog::Record(HWND owner)
{
    if (IsRecording())
        return true;
    // The filter's pairs, each ended by a zero, the list by two.
    std::string filter = LoadStr(IDS_SURVEY_FILTER);
    for (char& c : filter)
        if (c == '|')
            c = '\0';
    filter += '\0';
    char file[MAX_PATH] = "";
    OPENFILENAMEA ofn;
    memset(&ofn, 0, sizeof ofn);
    ofn.lStructSize = OPENFILENAME_FIRST_SIZE;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.lpstrDefExt = "csv";
    ofn.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    if (!g_os.GetSaveFileNameA(&ofn)) {
        // A cancel says nothing; a dialog that could not open, or could not
        // give the file typed (a path too long for it), says so.
        if (const DWORD error = g_os.CommDlgExtendedError()) {
            char code[16];
            snprintf(code, sizeof code, "0x%04lX", (unsigned long)error);
            g_os.MessageBoxA(owner, FillText(LoadStr(IDS_SURVEY_NO_FILE), code).c_str(),
                             LoadStr(IDS_LINK_HISTORY).c_str(), MB_OK | MB_ICONSTOP);
        }
        return false;
    }
    file[sizeof file - 1] = '\0';
    if (!Open(owner, file))
        return false;
    m_path = file;

    // The cell the lines start with, read now unless another poll holds the
    // card; then at the first tick.
    m_essid.clear();
    m_bssid.clear();
    m_cellStep = 0;
    m_cellDue = g_os.GetTickCount();
    ReadCell(true);
    RecordHistoryEvent(HISTORY_LOG_STARTED, m_path);
    // The adapter may have failed while the user chose: no tick comes to
    // end the log then, so it ends now, its last line saying so.
    if (GetAdapterState().m_bAdapterFailed) {
        StopOnFailure();
        return false;
    }
    return true;
}

bool CSurveyLog::Open(HWND owner, const std::string& path)
{
    // An existing file is added to or replaced as the user says; one that
    // cannot be written is told at once, before any question.
    bool header = true;
    bool endLine = false; // a log that a failed write left with half a line
    HANDLE file = OpenForLog(path, OPEN_EXISTING);
    if (file != INVALID_HANDLE_VALUE) {
        const std::string question = FillText(LoadStr(IDS_SURVEY_EXISTS), path);
        const int answer =
            g_os.MessageBoxA(owner, question.c_str(), LoadStr(IDS_LINK_HISTORY).c_str(),
                             MB_YESNOCANCEL | MB_ICONQUESTION);
        if (answer == IDYES) {
            const DWORD size = ::GetFileSize(file, nullptr);
            header = size == 0;
            char last = '\n';
            DWORD got = 0;
            if (size == INVALID_FILE_SIZE ||
                (size > 0 &&
                 (::SetFilePointer(file, -1, nullptr, FILE_END) == INVALID_SET_FILE_POINTER ||
                  !::ReadFile(file, &last, 1, &got, nullptr) || got != 1)) ||
                ::SetFilePointer(file, 0, nullptr, FILE_END) == INVALID_SET_FILE_POINTER) {
                const DWORD error = ::GetLastError();
                ::CloseHandle(file);
                TellNotWritten(owner, path, error);
                return false;
            }
            endLine = last != '\n';
        } else {
            ::CloseHandle(file);
            if (answer != IDNO)
                return false;
            file = OpenForLog(path, CREATE_ALWAYS);
        }
    } else if (::GetLastError() == ERROR_FILE_NOT_FOUND) {
        file = OpenForLog(path, CREATE_ALWAYS);
    }
    if (file == INVALID_HANDLE_VALUE) {
        TellNotWritten(owner, path, ::GetLastError());
        return false;
    }
    m_file = file;
    DWORD error = 0;
    if ((endLine && !WriteLine("\r\n", &error)) ||
        (header && !WriteLine(SurveyCsvHeader(), &error))) {
        Close();
        TellNotWritten(owner, path, error);
        return false;
    }
    return true;
}

void CSurveyLog::SetMark(const std::string& note)
{
    // A log that ended while the note was typed has no lines left to mark.
    if (!IsRecording())
        return;
    std::string mark = Trimmed(note).substr(0, MAX_MARK);
    if (mark == m_mark)
        return;
    m_mark = mark;
    if (!mark.empty())
        RecordHistoryEvent(HISTORY_LOG_MARK, mark);
}

void CSurveyLog::Stop()
{
    if (!IsRecording())
        return;
    Close();
    RecordHistoryEvent(HISTORY_LOG_STOPPED);
}

void CSurveyLog::ReadCell(bool whole)
{
    if (GetAdapterState().m_bAdapterFailed)
        return;
    if (!whole && g_os.GetTickCount() - m_cellDue >= 0x80000000u)
        return; // not due yet
    // One card command at most a tick, none beside another poll: the last
    // known cell is written meanwhile, and the cell stays due.
    AdapterLock lock;
    if (!lock.IsHeld())
        return;
    char text[CARD_ITEM_BUFFER_SIZE];
    if (whole || m_cellStep == 0) {
        if (QueryCardItem(CI_CURRENT_BSSID, text) == ITEM_OK)
            m_bssid = text;
        m_cellStep = 1;
        if (!whole)
            return;
    }
    if (QueryCardItem(CI_ESSID, text) == ITEM_OK)
        m_essid = text;
    m_cellStep = 0;
    m_cellDue = g_os.GetTickCount() + CELL_PERIOD;
}

// A line of this moment in the cell last read, with the mark in force.
SurveyLine CSurveyLog::LineNow() const
{
    SurveyLine line;
    line.time = HistoryNow();
    line.essid = m_essid;
    line.bssid = m_bssid;
    line.mark = m_mark;
    return line;
}

void CSurveyLog::OnTick(int quality, HWND owner)
{
    if (!IsRecording())
        return;
    ReadCell(false);
    SurveyLine line = LineNow();
    line.quality = quality;
    DWORD error = 0;
    if (!WriteLine(SurveyCsvLine(line), &error))
        Fail(owner, error);
}

void CSurveyLog::StopOnFailure()
{
    if (!IsRecording())
        return;
    SurveyLine line = LineNow();
    line.noResponse = true;
    DWORD error = 0;
    WriteLine(SurveyCsvLine(line), &error); // the last line; a failure changes nothing now
    Stop();
}

bool CSurveyLog::WriteLine(const std::string& line, DWORD* error)
{
    DWORD written = 0;
    if (!g_os.WriteFile(m_file, line.data(), (DWORD)line.size(), &written, nullptr)) {
        *error = ::GetLastError();
        return false;
    }
    if (written != line.size()) {
        // A write that fell short found the disk full.
        *error = ERROR_DISK_FULL;
        return false;
    }
    return true;
}

void CSurveyLog::Fail(HWND owner, DWORD error)
{
    // Closed before the box: the ticks that run while it is open write
    // nothing and tell nothing more.
    Close();
    const std::string reason = SystemReason(error);
    RecordHistoryEvent(HISTORY_LOG_FAILED, reason);
    const std::string text = FillText(LoadStr(IDS_SURVEY_WRITE_FAILED), m_path, reason);
    g_os.MessageBoxA(owner, text.c_str(), LoadStr(IDS_LINK_HISTORY).c_str(), MB_ICONSTOP);
}
