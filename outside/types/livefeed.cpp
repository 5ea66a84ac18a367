#include "livefeed.h"

LiveFeed *LiveFeed::instance()
{
    static LiveFeed feed;
    return &feed;
}

void LiveFeed::publish(DeviceManager::Mode mode, const LiveReading &reading)
{
    emit readingTaken(mode, reading);
}
