// StatisticsPoll.cpp - the statistics windows' sample.
#include "tools/StatisticsPoll.h"

#include "adapter/AdapterState.h"
#include "adapter/CardItems.h"

StatisticsPoll PollStatistics(StatisticsBlock& block)
{
    // A card found silent elsewhere is not asked again: its driver would
    // only report the failure once more.
    if (GetAdapterState().m_bAdapterFailed)
        return StatisticsPoll::Failed;
    AdapterLock lock;
    if (!lock.IsHeld())
        return StatisticsPoll::Skipped;
    if (BYTE result = QueryCardItem(CI_STATISTICS, block); result != ITEM_OK) {
        lock.Release();
        NoteFailedRead(result);
        return StatisticsPoll::Failed;
    }
    return StatisticsPoll::Read;
}
