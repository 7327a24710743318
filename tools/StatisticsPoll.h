// StatisticsPoll.h - one sample of the card's statistics block, as both
// statistics windows take it at their ticks: never from a failed adapter,
// skipped beside another card poll, and a read the card left unanswered
// is the adapter's failure (it is marked so; the window then closes without
// a word of its own).
#pragma once

#include "adapter/StatisticsBlock.h"

enum class StatisticsPoll
{
    Read,    // block holds the sample
    Skipped, // another poll holds the card: try at the next tick
    Failed,  // the adapter has failed, or the read did: the window closes
};

StatisticsPoll PollStatistics(StatisticsBlock& block);
