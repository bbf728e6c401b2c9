// The part of sound playback that needs Qt Multimedia. Qt Multimedia and the
// audio stack under it (PulseAudio, the codec libraries) take longer to load
// than the rest of the program's libraries together, and most runs play no
// sound before the learner's first answer, if ever; so this is a module of its
// own that fw::Sound loads at the first Play (see sound.cpp).

#include "fw/audio/audio_module.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

extern "C" Q_DECL_EXPORT bool sumwiseAudioOutputPresent()
{
    return !QMediaDevices::defaultAudioOutput().isNull();
}

extern "C" Q_DECL_EXPORT QObject* sumwiseNewSoundEffect(const QString& path, QObject* parent)
{
    auto* effect = new QSoundEffect(parent);
    effect->setSource(QUrl::fromLocalFile(path));
    return effect;
}
