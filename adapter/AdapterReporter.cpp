// AdapterReporter.cpp - the reporter in force.
#include "adapter/AdapterReporter.h"

namespace {

AdapterReporter* s_reporter = nullptr;

} // namespace

AdapterReporter* SetAdapterReporter(AdapterReporter* reporter)
{
    AdapterReporter* previous = s_reporter;
    s_reporter = reporter;
    return previous;
}

void TellUser(AdapterNotice notice, HWND owner, long number)
{
    if (s_reporter)
        s_reporter->Tell(notice, owner, number);
}

std::string AdapterTextOf(AdapterText text)
{
    return s_reporter ? s_reporter->Text(text) : std::string();
}
