// HistoryText.h - the texts of the link history's window and log: a string
// of the table with "%1", "%2" and "%n" filled in. No Windows header, so it
// also builds natively.
#pragma once

#include <string>

// Every "%1" becomes `first`, "%2" `second` and "%n" `number`; the inserted
// texts are taken as they are (a "%1" in them stays).
std::string FillText(const std::string& pattern, const std::string& first,
                     const std::string& second = "", const std::string& number = "");
// The system's reason as FormatMessage gives it, without its line end.
std::string TrimReason(const std::string& reason);
