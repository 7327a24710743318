// RecordingReporter.h - the adapter layer's reporter in its own tests: each
// notice is recorded (with its owner and number), never shown, and the texts
// are the string table's, as the application gives them. Installed while the
// object lives.
#pragma once

#include "adapter/AdapterReporter.h"

#include <vector>

class RecordingReporter : public AdapterReporter
{
public:
    RecordingReporter();
    ~RecordingReporter() override;
    RecordingReporter(const RecordingReporter&) = delete;
    RecordingReporter& operator=(const RecordingReporter&) = delete;

    struct Notice
    {
        AdapterNotice notice;
        HWND owner;
        long number;
    };
    std::vector<Notice> notices;
    // The notices' kinds, in order.
    std::vector<AdapterNotice> Kinds() const;
    size_t Count(AdapterNotice notice) const;

    void Tell(AdapterNotice notice, HWND owner, long number) override;
    std::string Text(AdapterText text) override;

private:
    AdapterReporter* m_previous;
};
