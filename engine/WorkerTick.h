#ifndef WORKERTICK_H
#define WORKERTICK_H

// The worker's tick: every step of the device link runs once per tick, and a
// data line waits at most one tick to be shown in the console.
namespace WorkerTick {

inline constexpr int IntervalMs = 50;

} // namespace WorkerTick

#endif // WORKERTICK_H
