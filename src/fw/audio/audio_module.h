#pragma once

class QByteArray;
class QObject;

// The entry points of the audio module (bundle/lib/libsumwise_audio.so), as
// fw::Sound resolves them by name.
namespace fw::audio {

inline constexpr char kModuleFileName[] = "libsumwise_audio.so";

// The layout of checked PCM data: interleaved frames of little-endian integer
// samples, unsigned when one byte wide, signed when two or four.
struct PcmFormat {
    int sampleRate = 0; // frames per second
    int channels = 0;
    int bytesPerSample = 0; // 1, 2 or 4
    bool operator==(const PcmFormat&) const = default;
};

// Whether the platform has an audio output device now.
using OutputPresentFunction = bool (*)();
inline constexpr char kOutputPresentSymbol[] = "sumwiseAudioOutputPresent";

// A player of pcm (whole frames of format), owned by parent. It shares pcm's
// bytes rather than copying them and reads no file. It is driven through its
// slot by name: invokeMethod(player, "play") starts the sound from its
// beginning, once.
using NewPlayerFunction = QObject* (*)(const PcmFormat& format, const QByteArray& pcm, QObject* parent);
inline constexpr char kNewPlayerSymbol[] = "sumwiseNewPcmPlayer";

} // namespace fw::audio
