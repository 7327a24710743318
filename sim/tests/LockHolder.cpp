// LockHolder.cpp - a side that dies holding the shared card's lock: maps
// razuDov's section, takes the lock and ends without letting go. Exit
// status 0 when it held the lock, 2 when there is no section, 3 when the
// lock stayed busy.
#include <windows.h>

#include "sim/SharedCard.h"
#include "sim/SimProtocol.h"

int main()
{
    HANDLE mapping = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, SIM_SECTION_USER_NAME);
    if (!mapping)
        return 2;
    SharedCard* card = static_cast<SharedCard*>(
        MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(SharedCard)));
    if (!card || !card->Stamped())
        return 2;
    SharedLock::Side side = {static_cast<uint32_t>(GetCurrentProcessId()),
                             nullptr,
                             nullptr,
                             nullptr,
                             nullptr,
                             nullptr,
                             0};
    for (int i = 0; i < 5000; ++i) {
        if (card->Lock().TryAcquire(side))
            ExitProcess(0);
        Sleep(1);
    }
    return 3;
}
