#ifndef FRAMEFORMAT_H
#define FRAMEFORMAT_H

// The wire format of the binary output frames: their sync bytes and sizes.
// The stream cutter and the frame decoders both read it from here, so they
// agree byte for byte.

#include <QByteArrayView>

namespace FrameFormat {

// EulerL / EulerB: the sync, then roll, pitch and yaw as 4-byte floats, then one more byte.
inline constexpr char EulerSyncBytes[] = {'\xFA', '\xFF', '\x32', '\x0C'};
inline const QByteArrayView EulerSync(EulerSyncBytes, sizeof EulerSyncBytes);
inline constexpr qsizetype EulerFrameSize = 17;

// EM1000 / EM3000: two sync bytes, then four 16-bit words.
inline constexpr char Em1000SyncBytes[] = {'\x00', '\x90'};
inline constexpr char Em3000SyncBytes[] = {'\x90', '\x90'};
inline const QByteArrayView Em1000Sync(Em1000SyncBytes, sizeof Em1000SyncBytes);
inline const QByteArrayView Em3000Sync(Em3000SyncBytes, sizeof Em3000SyncBytes);
inline constexpr qsizetype EmFrameSize = 10;

} // namespace FrameFormat

#endif // FRAMEFORMAT_H
