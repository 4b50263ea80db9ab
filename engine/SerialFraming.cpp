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

enum class Decision { No, Yes, Undecided };

// Whether buffer[pos], a "$", starts an answer head; Undecided while the bytes
// that would tell have not all arrived.
Decision answerHeadAt(QByteArrayView buffer, qsizetype pos)
{
    for (qsizetype i = pos + 1; i <= pos + LongCodeHash; ++i) {
        if (i >= buffer.size())
            return Decision::Undecided;
        if (buffer[i] == '#')
            return i == pos + ShortCodeHash || i == pos + LongCodeHash ? Decision::Yes : Decision::No;
    }
    return Decision::No;
}

struct FrameAnswer
{
    Decision decision;
    qsizetype head = -1;
};

// A frame candidate begun at a false sync in frame data can reach over an
// answer that follows. An answer head inside the candidate whose line end
// comes before the next sync (answers hold no sync bytes) is such an answer.
FrameAnswer answerInFrame(QByteArrayView buffer, QByteArrayView sync, qsizetype frameAt, qsizetype length)
{
    const qsizetype end = frameAt + length;
    for (qsizetype at = buffer.indexOf('$', frameAt + sync.size()); at >= 0 && at < end;
         at = buffer.indexOf('$', at + 1)) {
        const Decision head = answerHeadAt(buffer, at);
        if (head == Decision::Undecided)
            return {Decision::Undecided};
        if (head == Decision::No)
            continue;
        const qsizetype nextSync = findSync(buffer, sync, at + 1);
        if (findLineEnd(buffer, at, nextSync < 0 ? buffer.size() : nextSync) >= 0)
            return {Decision::Yes, at};
        if (nextSync < 0)
            return {Decision::Undecided};
    }
    return {Decision::No};
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
        const FrameAnswer answer = answerInFrame(buffer, sync, syncAt, length);
        if (answer.decision == Decision::Undecided)
            break;
        if (answer.decision == Decision::Yes) {
            // The answer is taken instead of the frame; the bytes before it are noise.
            pos = answer.head;
            syncAt = findSync(buffer, sync, pos);
            continue;
        }
        cut.pieces.append({Piece::Frame, syncAt, length});
        pos = syncAt + length;
        syncAt = findSync(buffer, sync, pos);
    }
    cut.consumed = pos;
    return cut;
}

bool isAnswerHead(QByteArrayView line, qsizetype pos)
{
    return pos >= 0 && pos < line.size() && line[pos] == '$' && answerHeadAt(line, pos) == Decision::Yes;
}

namespace {

// The last answer head of a line, or -1. Where frame bytes may stand in front
// of an answer, they may look like a head themselves; the answer ends the line.
qsizetype lastAnswerHead(QByteArrayView line)
{
    for (qsizetype at = line.lastIndexOf('$'); at >= 0; at = at > 0 ? line.lastIndexOf('$', at - 1) : -1) {
        if (isAnswerHead(line, at))
            return at;
    }
    return -1;
}

} // namespace

ClassifiedLine classifyLine(QByteArrayView line, bool answersBehindFrameBytes)
{
    const bool reportsError = line.contains("error");
    const bool behindFrameBytes = answersBehindFrameBytes && !reportsError;
    const qsizetype head = behindFrameBytes ? lastAnswerHead(line) : (isAnswerHead(line, 0) ? 0 : -1);
    if (head >= 0)
        return {AnswerLine, head};
    if (reportsError)
        return {ErrorLine, 0};
    if (line.size() >= MinimumDataLine)
        return {DataLine, 0};
    return {ShortLine, 0};
}

} // namespace SerialFraming
