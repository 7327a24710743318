// CSurveyLog.h - the site survey log: a file the user chose gets one line a
// link monitor tick, with the local time, the quality and its band, the
// cell (read when the log starts and again at most every 10 seconds, never
// while another poll holds the card) and the user's mark for the place.
// Each line is one write of the whole line, so a crash loses at most the
// line being written; a write that fails stops the log, tells the user once
// and leaves what was written. Owned by the tool window, which ticks it;
// the Link History window starts, marks and stops it.
#pragma once

#include "tools/SurveyCsv.h"

#include <windows.h>

#include <string>

class CSurveyLog
{
public:
    // The cell is read again this long after its last read.
    static const DWORD CELL_PERIOD = 10000;
    // A mark holds at most this many characters.
    static const size_t MAX_MARK = 63;

    CSurveyLog();
    // The program's end closes the file after its last line, nothing more.
    ~CSurveyLog();
    CSurveyLog(const CSurveyLog&) = delete;
    CSurveyLog& operator=(const CSurveyLog&) = delete;

    // Record...: the Save dialog, the question whether an existing file is
    // added to or replaced, the file opened and, new or replaced, given its
    // header; then the cell is read and the start recorded (and the stop,
    // when the adapter failed meanwhile). The dialog and the boxes belong to
    // `owner`. True when the log runs.
    bool Record(HWND owner);
    // The mark of the lines from now on: blanks at either end go, a mark is
    // cut to MAX_MARK characters, an empty one clears it. A new mark is
    // recorded in the history. Nothing while the log is not running.
    void SetMark(const std::string& note);
    // Stop: the file is closed.
    void Stop();
    // One monitor tick that read `quality`: the cell when it is due, then
    // the line. A write that fails stops the log and tells the user in a box
    // owned by `owner`.
    void OnTick(int quality, HWND owner);
    // The adapter failed: a last line says so and the log stops.
    void StopOnFailure();

    bool IsRecording() const { return m_file != INVALID_HANDLE_VALUE; }
    const std::string& GetPath() const { return m_path; }
    const std::string& GetMark() const { return m_mark; }
    const std::string& GetEssid() const { return m_essid; }
    const std::string& GetBssid() const { return m_bssid; }

private:
    // Opens the chosen file as the user wants it; false (told) when it
    // cannot be written or the user cancelled.
    bool Open(HWND owner, const std::string& path);
    // A line of this moment in the cell last read, with the mark in force.
    SurveyLine LineNow() const;
    // One whole line; false when the write failed or fell short (`error`
    // then says why).
    bool WriteLine(const std::string& line, DWORD* error);
    // The log stops on a failed write: closed, recorded, told once.
    void Fail(HWND owner, DWORD error);
    void Close();
    // Reads item 17 (step 0) or item 9 (step 1) when the cell is due and the
    // card is free; both at once when `whole`.
    void ReadCell(bool whole);

    HANDLE m_file;
    std::string m_path;
    std::string m_mark;
    std::string m_essid, m_bssid;
    DWORD m_cellDue; // tick count when the cell is read again
    int m_cellStep;  // 0: item 17 next, 1: item 9 next
};
