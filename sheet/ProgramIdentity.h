// ProgramIdentity.h - who the running program says it is: its directory and
// the description, version and company of its version record, as the
// property pages show them.
#pragma once

#include <string>

struct ProgramIdentity
{
    std::string directory;   // the module path cut at its last backslash
    std::string description; // FileDescription
    std::string version;     // FileVersion
    std::string company;     // CompanyName
};

// Read from the running module; fields that cannot be read stay empty.
ProgramIdentity ReadProgramIdentity();
