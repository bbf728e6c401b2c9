#include "fw/sound.h"

#include "fw/audio/audio_module.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>

#include <algorithm>
#include <cstring>
#include <optional>

namespace fw {

namespace {

// Far beyond any feedback sound; keeps a stray huge file from being read.
constexpr qint64 maxSoundFileBytes = 16 * 1024 * 1024;

// Heap-held so that a sound released during static destruction can still
// record itself.
QStringList& playedList()
{
    static auto* list = new QStringList;
    return *list;
}
QStringList& openedList()
{
    static auto* list = new QStringList;
    return *list;
}
QStringList& destroyedList()
{
    static auto* list = new QStringList;
    return *list;
}
QString g_resourcesOverride;
bool g_muted = false;

quint16 le16(const char* p)
{
    return quint16(uchar(p[0]) | uchar(p[1]) << 8);
}

quint32 le32(const char* p)
{
    return quint32(uchar(p[0])) | quint32(uchar(p[1])) << 8 | quint32(uchar(p[2])) << 16
        | quint32(uchar(p[3])) << 24;
}

bool hasId(const char* p, const char (&id)[5])
{
    return std::memcmp(p, id, 4) == 0;
}

// Whether bytes hold a RIFF/WAVE file whose "fmt " chunk describes integer
// PCM that the audio output can take, followed by a non-empty "data" chunk
// that lies wholly inside the file. Every offset is checked against the end
// before it is read; sizes are held in 64 bits so no sum can wrap.
bool isPlayablePcmWave(const QByteArray& bytes)
{
    const qint64 fileSize = bytes.size();
    if (fileSize < 12 || !hasId(bytes.constData(), "RIFF") || !hasId(bytes.constData() + 8, "WAVE"))
        return false;
    // Some writers get the RIFF size wrong; a chunk running past the real end
    // of the file is still caught below.
    const qint64 end = std::min<qint64>(8 + qint64(le32(bytes.constData() + 4)), fileSize);

    bool haveFormat = false;
    qint64 blockAlign = 0;
    qint64 pos = 12;
    while (end - pos >= 8) {
        const char* chunk = bytes.constData() + pos;
        const qint64 size = le32(chunk + 4);
        const qint64 body = pos + 8;
        if (size > end - body)
            return false;
        const char* data = chunk + 8;
        if (hasId(chunk, "fmt ")) {
            if (haveFormat || size < 16)
                return false;
            const quint16 format = le16(data);
            const quint16 channels = le16(data + 2);
            const quint32 rate = le32(data + 4);
            const quint16 align = le16(data + 12);
            const quint16 bits = le16(data + 14);
            constexpr quint16 pcm = 1;
            // 24-bit samples have no matching sample format in the output.
            const bool bitsOk = bits == 8 || bits == 16 || bits == 32;
            if (format != pcm || channels < 1 || channels > 8 || rate < 1000 || rate > 384000 || !bitsOk
                || align != channels * (bits / 8))
                return false;
            haveFormat = true;
            blockAlign = align;
        } else if (hasId(chunk, "data")) {
            return haveFormat && size >= blockAlign;
        }
        // A chunk of odd size is followed by one pad byte.
        pos = body + size + (size & 1);
    }
    return false;
}

bool isSoundFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable() || info.size() <= 0 || info.size() > maxSoundFileBytes)
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // Bounded again: the file may have grown since it was looked at.
    const QByteArray bytes = file.read(maxSoundFileBytes + 1);
    return bytes.size() <= maxSoundFileBytes && isPlayablePcmWave(bytes);
}

struct AudioModule {
    audio::OutputPresentFunction outputPresent = nullptr;
    audio::NewSoundEffectFunction newSoundEffect = nullptr;
};

// The audio module beside the executable (<bundle>/lib), loaded at the first
// Play that gets this far and kept to the end. One that is missing or lacks an
// entry point is not tried again: nothing is heard, as without a device.
const AudioModule* audioModule()
{
    static const std::optional<AudioModule> module = []() -> std::optional<AudioModule> {
        QLibrary library(QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../lib/")
                                         + QLatin1String(audio::kModuleFileName)));
        AudioModule m;
        m.outputPresent = reinterpret_cast<audio::OutputPresentFunction>(library.resolve(audio::kOutputPresentSymbol));
        m.newSoundEffect =
            reinterpret_cast<audio::NewSoundEffectFunction>(library.resolve(audio::kNewSoundEffectSymbol));
        if (!m.outputPresent || !m.newSoundEffect)
            return std::nullopt;
        return m;
    }();
    return module ? &*module : nullptr;
}

} // namespace

Sound::Sound(const QString& path)
    : path_(path)
{
}

Sound::~Sound()
{
    destroyedList().append(QFileInfo(path_).fileName());
    delete effect_.data();
}

void Sound::Play()
{
    playedList().append(QFileInfo(path_).fileName());
    if (g_muted)
        return;
    QCoreApplication* app = QCoreApplication::instance();
    const AudioModule* module = app ? audioModule() : nullptr;
    // Without an output device the effect would sit "playing" forever and the
    // audio layer would warn about it; a device plugged in later is used from
    // the next Play on.
    if (!module || !module->outputPresent())
        return;
    if (!effect_)
        effect_ = module->newSoundEffect(path_, app);
    // A play asked for while the file is still loading starts once it is loaded.
    QMetaObject::invokeMethod(effect_, "play");
}

std::shared_ptr<Sound> OpenAsSound(const QString& path)
{
    openedList().append(QFileInfo(path).fileName());
    if (path.isEmpty() || !isSoundFile(path))
        return nullptr;
    return std::make_shared<Sound>(QFileInfo(path).absoluteFilePath());
}

QString ResourcesFolder()
{
    QString folder = g_resourcesOverride;
    if (folder.isEmpty()) {
        if (!QCoreApplication::instance())
            return {};
        QDir bundle(QCoreApplication::applicationDirPath());
        if (!bundle.cdUp())
            return {};
        folder = bundle.absoluteFilePath(QStringLiteral("Resources"));
    }
    return QFileInfo(folder).isDir() ? QDir::cleanPath(folder) : QString();
}

namespace testing {

void setResourcesFolder(const QString& folder) { g_resourcesOverride = folder; }

const QStringList& playedSounds() { return playedList(); }
void clearPlayedSounds() { playedList().clear(); }

const QStringList& openedSoundFiles() { return openedList(); }
void clearOpenedSoundFiles() { openedList().clear(); }

const QStringList& destroyedSounds() { return destroyedList(); }
void clearDestroyedSounds() { destroyedList().clear(); }

void setSoundsMuted(bool muted) { g_muted = muted; }
bool soundsMuted() { return g_muted; }

} // namespace testing

} // namespace fw
