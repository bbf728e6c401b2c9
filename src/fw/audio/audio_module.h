#pragma once

class QObject;
class QString;

// The entry points of the audio module (bundle/lib/libsumwise_audio.so), as
// fw::Sound resolves them by name.
namespace fw::audio {

inline constexpr char kModuleFileName[] = "libsumwise_audio.so";

// Whether the platform has an audio output device now.
using OutputPresentFunction = bool (*)();
inline constexpr char kOutputPresentSymbol[] = "sumwiseAudioOutputPresent";

// A sound effect (a QSoundEffect) for the file at path, owned by parent. It is
// driven through its slots by name: invokeMethod(effect, "play").
using NewSoundEffectFunction = QObject* (*)(const QString& path, QObject* parent);
inline constexpr char kNewSoundEffectSymbol[] = "sumwiseNewSoundEffect";

} // namespace fw::audio
