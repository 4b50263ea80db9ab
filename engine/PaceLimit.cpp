// The pace limit: an allowance of events that refills by one each interval.

#include "PaceLimit.h"

#include <utility>

PaceLimit::PaceLimit(int allowance, Clock::duration interval)
    : m_allowance(allowance), m_interval(interval), m_available(allowance)
{
}

PaceLimit::Verdict PaceLimit::take(Clock::time_point now)
{
    refill(now);
    Verdict verdict;
    if (m_available == 0) {
        verdict.runStarted = m_turnedAway++ == 0;
        m_lastTurnedAway = now;
        return verdict;
    }
    --m_available;
    verdict.admitted = true;
    if (now - m_lastTurnedAway >= m_interval)
        verdict.runEnded = endRun();
    return verdict;
}

quint64 PaceLimit::endRun()
{
    return std::exchange(m_turnedAway, 0);
}

// Whole intervals since the last refill each give one event back, up to the
// allowance (so the first event, long after the clock's epoch, finds it whole);
// the part of an interval not yet over counts towards the next.
void PaceLimit::refill(Clock::time_point now)
{
    if (now < m_refilledUpTo) {
        m_refilledUpTo = now;
        return;
    }
    const auto intervals = (now - m_refilledUpTo) / m_interval;
    if (intervals >= m_allowance - m_available) {
        m_available = m_allowance;
        m_refilledUpTo = now;
        return;
    }
    m_available += int(intervals);
    m_refilledUpTo += intervals * m_interval;
}
