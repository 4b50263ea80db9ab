#include "Worker.h"

#include "DisplayNumber.h"

namespace {
constexpr qint64 MillisecondsPerMinute = 60000;
}

void Worker::resetStatisticsFilters()
{
    m_statisticsCount = 0;
    m_statistics.fill(StatisticsFilter());
    m_statisticsList.clear();
    m_statisticsTimer.restart();
}

void Worker::AddStatisticsXX(const OutputDataType &sample)
{
    if (!m_protocol[0].enabled)
        return;

    if (m_statisticsCount == 0) {
        m_statisticsTimer.restart();
        resetStatisticsFilters();
    }
    if (m_statisticsTimer.elapsed() < m_statisticsTime * MillisecondsPerMinute)
        ++m_statisticsCount;

    const auto feed = [this, &sample](StatisticsChannel channel, int field) {
        m_statistics[channel].add(readDisplayNumber(sample.field[field]), m_statisticsCount);
    };
    feed(RollFilter, OutputDataType::Roll);
    feed(PitchFilter, OutputDataType::Pitch);
    feed(YawFilter, OutputDataType::Yaw);
    feed(HeaveFilter, OutputDataType::Heave);
    feed(AxFilter, OutputDataType::Ax);
    feed(AyFilter, OutputDataType::Ay);
    feed(AzFilter, OutputDataType::Az);
    fillStatisticsList();
}

void Worker::fillStatisticsList()
{
    m_statisticsList = {&m_statistics[AxFilter], &m_statistics[AyFilter], &m_statistics[AzFilter],
                        &m_statistics[HeaveFilter], &m_statistics[RollFilter], &m_statistics[PitchFilter],
                        &m_statistics[YawFilter]};
}
