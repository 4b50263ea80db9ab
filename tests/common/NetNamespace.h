#ifndef NETNAMESPACE_H
#define NETNAMESPACE_H

#include <QString>

// Moves the test process into a network namespace of its own, with a veth pair
// v0 (10.77.0.1/24) and v1 (10.77.0.2/24), broadcast 10.77.0.255, both up, and
// loopback up: broadcasts stay inside, and the UDP ports are all free. Must be
// called first thing in main(), while the process has a single thread.
// Returns an empty text on success, else why the namespace could not be made.
namespace NetNamespace {

inline constexpr char HostAddress[] = "10.77.0.1";
inline constexpr char DeviceAddress[] = "10.77.0.2";
inline constexpr char BroadcastAddress[] = "10.77.0.255";

QString enter();

// Runs "ip" with the arguments inside the namespace; false when it fails.
bool ip(const QString &arguments);

// The exit code of a test program that called enter(). After a passing run in
// which the namespace could not be made, prints the line on which CTest shows
// the program as skipped (IMU_NAMESPACE_NOT_RUN, set by the build), so that a
// green run cannot hide the tests that did not run.
int finish(int result, const QString &refused);

} // namespace NetNamespace

#endif // NETNAMESPACE_H
