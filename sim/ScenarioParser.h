// ScenarioParser.h - reads the plain-text scenario form (one statement per
// line, see machines/scenarios/README.md) into a Scenario. Freestanding: it
// works on a caller's buffer and fixed arrays only.
#pragma once

#include <stdint.h>

#include "sim/Scenario.h"
#include "sim/SimProtocol.h"

class ScenarioParser
{
public:
    static const int kMaxTokens = 16;
    static const int kMaxLine = 256;

    // Starts from the defaults in out and applies every line of text
    // (length bytes, a zero byte also ends it). On failure out is left
    // half-applied and result names the first bad line.
    static bool Parse(const char* text, uint32_t length, Scenario& out, SimTextResult& result);

    // Copies the line that starts at text[*pos] into line (terminated,
    // comment removed) and moves *pos past it. False at the end of text.
    static bool NextLine(const char* text, uint32_t length, uint32_t* pos, char* line,
                         uint32_t size);

    // Splits a line into tokens in place; "double quoted" tokens may hold
    // blanks. Returns the token count, or -1 when a quote is not closed or
    // there are too many tokens.
    static int Tokenise(char* line, char* tokens[], int max);

    // Statistics block byte offset of a counter name ("rx-bytes", ...), or
    // a numeric offset; -1 when unknown.
    static int CounterOffset(const char* name);

    // Applies one statement to the scenario; false with a reason otherwise.
    static bool ApplyStatement(char* tokens[], int count, Scenario& out, const char** error);

    // Reads "on"/"off"/"1"/"0".
    static bool ParseSwitch(const char* text, uint8_t* value);

    // The fault named by text ("no-answer", ...), or -1.
    static int FaultByName(const char* text);
};
