#ifndef PROTOCOLLABELS_H
#define PROTOCOLLABELS_H

// Captions of the output-protocol tab that cross from the worker to the window
// with the header report: the worker sends them, the window shows them and
// compares the report's caption with them, both from here.

#include <QLatin1StringView>

namespace ProtocolLabels {

// A custom field selection; with this caption the report carries a captured header.
inline constexpr QLatin1StringView Header("HEADER");
// A predefined protocol.
inline constexpr QLatin1StringView Protocol("Protocol");

} // namespace ProtocolLabels

#endif // PROTOCOLLABELS_H
