#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>

#include <memory>

class QObject;

namespace fw {

// A sound file that was checked when it was opened. Playback goes through the
// platform's audio output, which is set up only at the first Play, so opening a
// sound costs one small file read and nothing more.
class Sound {
public:
    explicit Sound(const QString& path);
    ~Sound();
    Sound(const Sound&) = delete;
    Sound& operator=(const Sound&) = delete;

    // Starts the sound once and returns at once; never loops. A second Play
    // while it still sounds starts it again from the beginning. With no audio
    // output device, or no application object, nothing is heard and nothing
    // is reported.
    void Play();

    const QString& path() const { return path_; }

private:
    QString path_;
    // The QSoundEffect, made by the audio module. Owned by this sound but
    // parented to the application object, so it goes with the application at
    // the latest and is never touched after that.
    QPointer<QObject> effect_;
};

// The sound in the file at path, or nullptr when the file is missing, is not a
// readable regular file, is larger than 16 MiB, or is not a well-formed
// uncompressed PCM WAVE file with some sound in it. Answers at once: the
// playback layer loads in the background and reports a bad file only later
// (or never), so the file is checked here before a Sound is handed out.
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
} // namespace testing

} // namespace fw
