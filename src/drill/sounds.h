#pragma once

#include "fw/sound.h"

#include <memory>

// The drill's three feedback sounds. Each accessor loads its file from the
// bundle's Resources folder at its first call, keeps the result for the rest of
// the process and never tries again: a later call touches no file, and a sound
// that failed to load stays absent (nullptr) even if the file appears later.
// Playing is the caller's job, and an absent sound is skipped:
//     if (auto s = Laser()) s->Play();

// "APPLAUSE LOOP.wav": every tenth right answer.
std::shared_ptr<fw::Sound> APPLAUSELOOP();
// "Laser.wav": a wrong answer.
std::shared_ptr<fw::Sound> Laser();
// "SndOK.wav": a right answer.
std::shared_ptr<fw::Sound> SndOK();

// Drops the three cached sounds, applause first, then wrong, then right.
// Runs once at shutdown, after the event loop has returned and while the
// application object still exists. Accessors called afterwards return nullptr.
void releaseSounds();

// Tests only: forgets the cached sounds and that they were ever tried.
void resetSoundsForTesting();
