// RecordingReporter.cpp - the recording reporter.
#include "tests/support/RecordingReporter.h"

#include "app/CAdapterReporter.h"

RecordingReporter::RecordingReporter() : m_previous(SetAdapterReporter(this)) {}

RecordingReporter::~RecordingReporter()
{
    SetAdapterReporter(m_previous);
}

std::vector<AdapterNotice> RecordingReporter::Kinds() const
{
    std::vector<AdapterNotice> kinds;
    for (const Notice& n : notices)
        kinds.push_back(n.notice);
    return kinds;
}

size_t RecordingReporter::Count(AdapterNotice notice) const
{
    size_t count = 0;
    for (const Notice& n : notices)
        count += n.notice == notice ? 1 : 0;
    return count;
}

void RecordingReporter::Tell(AdapterNotice notice, HWND owner, long number)
{
    notices.push_back({notice, owner, number});
}

std::string RecordingReporter::Text(AdapterText text)
{
    return CAdapterReporter().Text(text);
}
