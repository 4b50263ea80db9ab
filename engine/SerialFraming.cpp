#include "SerialFraming.h"

#include "DeviceTypes.h"
#include "FrameFormat.h"

#include <cstring>

namespace SerialFraming {

namespace {

// Distances from "$" at which the first "#" makes a line an answer.
constexpr qsizetype ShortCodeHash = 4;
constexpr qsizetype LongCodeHash = 8;

constexpr qsizetype MinimumDataLine = 3;

// Index of the CR of the first CR LF that lies wholly in [from, limit), or -1.
qsizetype findLineEnd(QByteArrayView buffer, qsizetype from, qsizetype limit)
{
    const char *data = buffer.data();
    while (from + 1 < limit) {
        const void *cr = std::memchr(data + from, '\r', size_t(limit - 1 - from));
        if (!cr)
            return -1;
        const qsizetype at = static_cast<const char *>(cr) - data;
        if (data[at + 1] == '\n')
            return at;
        from = at + 1;
    }
    return -1;
}

qsizetype findSync(QByteArrayView buffer, QByteArrayView sync, qsizetype from)
{
    return sync.isEmpty() ? -1 : buffer.indexOf(sync, from);
}

} // namespace

FrameKind frameKindFor(uint32_t protocolValue)
{
    switch (protocolValue) {
    case ProtocolValue::EulerL:
    case ProtocolValue::EulerB:
        return FrameKind::Euler;
    case ProtocolValue::EM1000:
        return FrameKind::EM1000;
    case ProtocolValue::EM3000:
        return FrameKind::EM3000;
    default:
        return FrameKind::None;
    }
}

QByteArrayView frameSync(FrameKind kind)
{
    switch (kind) {
    case FrameKind::Euler:
        return FrameFormat::EulerSync;
    case FrameKind::EM1000:
        return FrameFormat::Em1000Sync;
    case FrameKind::EM3000:
        return FrameFormat::Em3000Sync;
    case FrameKind::None:
        break;
    }
    return {};
}

qsizetype frameSize(FrameKind kind)
{
    switch (kind) {
    case FrameKind::Euler:
        return FrameFormat::EulerFrameSize;
    case FrameKind::EM1000:
    case FrameKind::EM3000:
        return FrameFormat::EmFrameSize;
    case FrameKind::None:
        break;
    }
    return 0;
}

Cut cutBuffer(QByteArrayView buffer, FrameKind kind)
{
    Cut cut;
    const QByteArrayView sync = frameSync(kind);
    const qsizetype size = buffer.size();
    const qsizetype length = frameSize(kind);

    qsizetype pos = 0;
    qsizetype syncAt = findSync(buffer, sync, 0);
    for (;;) {
        const qsizetype limit = syncAt < 0 ? size : syncAt;
        const qsizetype lineEnd = findLineEnd(buffer, pos, limit);
        if (lineEnd >= 0) {
            cut.pieces.append({Piece::Line, pos, lineEnd + 2 - pos});
            pos = lineEnd + 2;
            continue;
        }
        if (syncAt < 0)
            break;
        // What stands between the last line and the sync is noise.
        pos = syncAt;
        if (syncAt + length > size)
            break; // the rest of the frame is still on its way
        cut.pieces.append({Piece::Frame, syncAt, length});
        pos = syncAt + length;
        syncAt = findSync(buffer, sync, pos);
    }
    cut.consumed = pos;
    return cut;
}

bool isAnswerHead(QByteArrayView line, qsizetype pos)
{
    if (pos < 0 || pos >= line.size() || line[pos] != '$')
        return false;
    const qsizetype last = qMin(pos + LongCodeHash, line.size() - 1);
    for (qsizetype i = pos + 1; i <= last; ++i) {
        if (line[i] == '#')
            return i == pos + ShortCodeHash || i == pos + LongCodeHash;
    }
    return false;
}

ClassifiedLine classifyLine(QByteArrayView line)
{
    if (isAnswerHead(line, 0))
        return {AnswerLine, 0};
    // A line that does not start with "$" may still end in an answer: the device
    // answered between binary frames that were not cut out of the stream.
    if (!line.startsWith('$')) {
        for (qsizetype at = line.lastIndexOf('$'); at > 0; at = line.lastIndexOf('$', at - 1)) {
            if (isAnswerHead(line, at))
                return {AnswerLine, at};
        }
    }
    if (line.contains("error"))
        return {ErrorLine, 0};
    if (line.size() >= MinimumDataLine)
        return {DataLine, 0};
    return {ShortLine, 0};
}

} // namespace SerialFraming
