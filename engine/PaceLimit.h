#ifndef PACELIMIT_H
#define PACELIMIT_H

#include <QtGlobal>

#include <chrono>

// Lets events through at a sustained pace, one per interval, with an allowance
// of a burst at once, and counts those beyond it in runs: a run starts with the
// first event turned away and ends with the first one let through after a whole
// interval in which none was turned away, or when the owner ends it. A flood is
// thus one run, however many of its events the pace lets through. The clock is
// the caller's, so the pace is a pure function of the times given.
class PaceLimit
{
public:
    using Clock = std::chrono::steady_clock;

    // What take() decided, and what it means for the run of events turned away.
    struct Verdict
    {
        bool admitted = false;
        // The event is the first turned away of a new run.
        bool runStarted = false;
        // The events turned away by the run that this admission ends; 0 when none was open.
        quint64 runEnded = 0;
    };

    PaceLimit(int allowance, Clock::duration interval);

    Verdict take(Clock::time_point now);
    // Ends the open run: the events it turned away, 0 when none was open.
    quint64 endRun();

private:
    void refill(Clock::time_point now);

    int m_allowance;
    Clock::duration m_interval;
    int m_available;
    Clock::time_point m_refilledUpTo;
    quint64 m_turnedAway = 0;
    Clock::time_point m_lastTurnedAway;
};

#endif // PACELIMIT_H
