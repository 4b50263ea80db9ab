#ifndef FUZZCHECK_H
#define FUZZCHECK_H

// What the fuzz targets share: an invariant check that stops the run with a
// message, and an exact-size heap copy of the input, so that the sanitizer
// catches any read past its end (QByteArray would keep a terminating NUL).

#include <QByteArray>
#include <QByteArrayView>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#define FUZZ_CHECK(condition)                                                                                     \
    do {                                                                                                          \
        if (!(condition)) {                                                                                       \
            std::fprintf(stderr, "invariant broken: %s (%s:%d)\n", #condition, __FILE__, __LINE__);              \
            std::abort();                                                                                         \
        }                                                                                                         \
    } while (false)

class FuzzInput
{
public:
    FuzzInput(const uint8_t *data, size_t size) : m_copy(new char[size ? size : 1]), m_size(qsizetype(size))
    {
        if (size)
            std::memcpy(m_copy.get(), data, size);
    }
    QByteArrayView view() const { return QByteArrayView(m_copy.get(), m_size); }
    // A QByteArray over the same exact-size bytes, without a copy.
    QByteArray raw() const { return QByteArray::fromRawData(m_copy.get(), m_size); }

private:
    std::unique_ptr<char[]> m_copy;
    qsizetype m_size;
};

#endif // FUZZCHECK_H
