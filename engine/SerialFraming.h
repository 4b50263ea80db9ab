#ifndef SERIALFRAMING_H
#define SERIALFRAMING_H

// Cutting the serial receive stream into binary output frames and text lines,
// and classifying text lines. Pure functions: they look at bytes and say where
// the pieces are; the worker decides what to do with them.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <cstdint>

namespace SerialFraming {

// Which binary frames the stream carries, chosen by the output protocol.
enum class FrameKind { None, Euler, EM1000, EM3000 };

inline constexpr qsizetype RxBufferLimit = 4096;

FrameKind frameKindFor(uint32_t protocolValue);
QByteArrayView frameSync(FrameKind kind);
qsizetype frameSize(FrameKind kind);

// One piece cut from the receive buffer: a frame or a text line (line end included).
struct Piece
{
    enum Kind { Line, Frame };
    Kind kind;
    qsizetype begin;
    qsizetype size;
};

struct Cut
{
    QList<Piece> pieces;
    // Bytes at the front of the buffer that are done with; the rest waits for more input.
    qsizetype consumed = 0;
};

// Cuts complete lines and, unless kind is None, complete frames in stream order.
// A frame is cut only once all of it has arrived, and its bytes never count as
// text. Bytes before a sync that end in no line end are noise and are consumed.
// A frame never swallows an answer: when the bytes from a sync on hold an answer
// head whose line end arrives before the next sync, the sync lay in frame data
// and the answer is cut instead, the bytes before it being noise.
Cut cutBuffer(QByteArrayView buffer, FrameKind kind);

// Line classes; the numbers are the console types of a received line.
enum LineClass { ErrorLine = 0, AnswerLine = 1, DataLine = 2, ShortLine = 3 };

struct ClassifiedLine
{
    LineClass lineClass;
    // Where the classified text begins in the line: 0, or the answer head that
    // follows bytes of binary frames on the same line.
    qsizetype begin = 0;
};

// True when line[pos] is "$" and the first "#" after it stands 4 or 8 bytes on.
bool isAnswerHead(QByteArrayView line, qsizetype pos);

// Classes a line: answer, else error (holds "error"), else data or short. Where
// answers may follow bytes of binary frames on one line (answersBehindFrameBytes),
// a line without "error" that holds an answer head is the answer of its last
// head, its text beginning there: the frame bytes before it may look like a
// head themselves, and an answer ends its line.
ClassifiedLine classifyLine(QByteArrayView line, bool answersBehindFrameBytes = false);

} // namespace SerialFraming

#endif // SERIALFRAMING_H
