// IntegerText.h - strict reading of a whole number typed into a field. No
// windows.h here: the same code is built natively for the sanitizer tests.
#pragma once

// Leading blanks are skipped, then an optional sign and at least one digit,
// and nothing after them. False for "", "-", "12abc", "1 2" and for numbers
// outside the 32-bit range; value is then left as it was.
bool ParseInteger(const char* text, long& value);
