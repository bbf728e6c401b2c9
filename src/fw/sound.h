#pragma once

#include "fw/audio/audio_module.h"

#include <QByteArray>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace fw {

// A sound read from its file once and checked then: it keeps the sample format
// and the PCM data and never reads the file again. Playback goes through the
// platform's audio output, which is set up only at the first Play, so opening a
// sound costs one small file read and nothing more.
class Sound {
public:
    Sound(const QString& path, const audio::PcmFormat& format, const QByteArray& pcm);
    ~Sound();
    Sound(const Sound&) = delete;
    Sound& operator=(const Sound&) = delete;

    // Starts the sound once and returns at once; never loops. A second Play
    // while it still sounds starts it again from the beginning; different
    // sounds play together. With no audio output device, no application
    // object, or a format the device cannot take, nothing is heard and nothing
    // is reported.
    void Play();

    // The file the sound was read from, for naming it only.
    const QString& path() const { return path_; }

private:
    QString path_;
    audio::PcmFormat format_;
    QByteArray pcm_; // whole frames only
    // The player, made by the audio module at the first Play. Owned by this
    // sound but parented to the application object, so it goes with the
    // application at the latest and is never touched after that.
    QPointer<QObject> player_;
};

// The sound in the file at path, or nullptr when the file is missing, is not a
// readable regular file, is larger than 16 MiB, or is not a well-formed
// uncompressed PCM WAVE file with some sound in it. The file is read once, here;
// the playback layer would report a bad file only later (or never), so it is
// checked before a Sound is handed out.
std::shared_ptr<Sound> OpenAsSound(const QString& path);

// The bundle's Resources folder: the child "Resources" of the parent of the
// folder that holds the executable, or "" when that folder does not exist.
QString ResourcesFolder();

namespace testing {
// Replaces the executable-based location of ResourcesFolder (the existence
// check still applies). An empty path removes the override.
void setResourcesFolder(const QString& folder);

// File names (without folder, e.g. "Laser.wav") of the sounds played, in order.
// Recorded whether or not the sound is muted.
const QStringList& playedSounds();
void clearPlayedSounds();

// File names of every OpenAsSound call, in order, whether it succeeded or not.
const QStringList& openedSoundFiles();
void clearOpenedSoundFiles();

// File names of the sounds whose last reference went away, in order.
const QStringList& destroyedSounds();
void clearDestroyedSounds();

// While muted, Play only records: no audio output is set up.
void setSoundsMuted(bool muted);
bool soundsMuted();

// Called with the sound's file name as each Play starts, before anything is
// heard, muted or not; an empty function removes it.
void setPlayObserver(std::function<void(const QString& fileName)> observer);

// Stands in for the audio module and its device: an unmuted Play hands the
// sound's format and data to newPlayer (at its first Play) and invokes "play"
// on what it returns. An empty function puts the module back.
using NewPlayer = std::function<QObject*(const audio::PcmFormat& format, const QByteArray& pcm, QObject* parent)>;
void setAudioOutput(NewPlayer newPlayer);
} // namespace testing

} // namespace fw
