#ifndef SAMPLEINPUTS_H
#define SAMPLEINPUTS_H

// Realistic output samples of every protocol that carries values, as the
// device streams them: text lines with their CR LF, or binary frames.
// Random but repeatable values.

#include <QByteArray>

#include <array>
#include <cstdint>

namespace SampleInputs {

struct Protocol
{
    const char *name;
    uint32_t value;            // protocol value of output slot 0
    QByteArray (*makeInput)(); // one sample
    std::array<uint8_t, 4> format{};
};

extern const std::array<Protocol, 11> Protocols;

} // namespace SampleInputs

#endif // SAMPLEINPUTS_H
