#include "drill/sounds.h"

#include <QDir>

namespace {

struct CachedSound {
    bool loaded = false; // a load was tried, whether or not it succeeded
    std::shared_ptr<fw::Sound> permaSound; // the only lasting reference; nullptr when absent
};

CachedSound g_applause;
CachedSound g_laser;
CachedSound g_sndOK;

std::shared_ptr<fw::Sound> loadOnce(CachedSound& cache, const QString& fileName)
{
    if (!cache.loaded) {
        // Set first, so nothing below can ever lead to a second try.
        cache.loaded = true;
        const QString resources = fw::ResourcesFolder();
        if (!resources.isEmpty())
            cache.permaSound = fw::OpenAsSound(QDir(resources).filePath(fileName));
    }
    return cache.permaSound;
}

void release(CachedSound& cache)
{
    // Empty the global before the last reference goes, so a sound's teardown
    // never sees itself still cached.
    std::shared_ptr<fw::Sound> held = std::move(cache.permaSound);
    cache.permaSound.reset();
    held.reset();
}

} // namespace

std::shared_ptr<fw::Sound> APPLAUSELOOP()
{
    return loadOnce(g_applause, QStringLiteral("APPLAUSE LOOP.wav"));
}

std::shared_ptr<fw::Sound> Laser()
{
    return loadOnce(g_laser, QStringLiteral("Laser.wav"));
}

std::shared_ptr<fw::Sound> SndOK()
{
    return loadOnce(g_sndOK, QStringLiteral("SndOK.wav"));
}

void releaseSounds()
{
    release(g_applause);
    release(g_laser);
    release(g_sndOK);
}

void resetSoundsForTesting()
{
    for (CachedSound* cache : {&g_applause, &g_laser, &g_sndOK}) {
        release(*cache);
        cache->loaded = false;
    }
}
