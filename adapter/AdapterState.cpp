// AdapterState.cpp - the one AdapterState of the process.
#include "adapter/AdapterState.h"

AdapterState& GetAdapterState()
{
    static AdapterState state = {};
    return state;
}
