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
std::function<void(const QString&)> g_playObserver;
testing::NewPlayer g_testOutput;

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

struct PcmWave {
    audio::PcmFormat format;
    QByteArray pcm;
};

// The format and the data of bytes when they hold a RIFF/WAVE file whose
// "fmt " chunk describes integer PCM that the audio output can take, followed
// by a non-empty "data" chunk that lies wholly inside the file. Every offset is
// checked against the end before it is read; sizes are held in 64 bits so no
// sum can wrap.
std::optional<PcmWave> parsePcmWave(const QByteArray& bytes)
{
    const qint64 fileSize = bytes.size();
    if (fileSize < 12 || !hasId(bytes.constData(), "RIFF") || !hasId(bytes.constData() + 8, "WAVE"))
        return std::nullopt;
    // Some writers get the RIFF size wrong; a chunk running past the real end
    // of the file is still caught below.
    const qint64 end = std::min<qint64>(8 + qint64(le32(bytes.constData() + 4)), fileSize);

    std::optional<audio::PcmFormat> format;
    qint64 blockAlign = 0;
    qint64 pos = 12;
    while (end - pos >= 8) {
        const char* chunk = bytes.constData() + pos;
        const qint64 size = le32(chunk + 4);
        const qint64 body = pos + 8;
        if (size > end - body)
            return std::nullopt;
        const char* data = chunk + 8;
        if (hasId(chunk, "fmt ")) {
            if (format || size < 16)
                return std::nullopt;
            const quint16 tag = le16(data);
            const quint16 channels = le16(data + 2);
            const quint32 rate = le32(data + 4);
            const quint16 align = le16(data + 12);
            const quint16 bits = le16(data + 14);
            constexpr quint16 pcm = 1;
            // 24-bit samples have no matching sample format in the output.
            const bool bitsOk = bits == 8 || bits == 16 || bits == 32;
            if (tag != pcm || channels < 1 || channels > 8 || rate < 1000 || rate > 384000 || !bitsOk
                || align != channels * (bits / 8))
                return std::nullopt;
            format = audio::PcmFormat{int(rate), int(channels), bits / 8};
            blockAlign = align;
        } else if (hasId(chunk, "data")) {
            if (!format || size < blockAlign)
                return std::nullopt;
            // An output stream takes whole frames only; a stray byte or two
            // at the end is no sound anyway.
            return PcmWave{*format, bytes.mid(body, size - size % blockAlign)};
        }
        // A chunk of odd size is followed by one pad byte.
        pos = body + size + (size & 1);
    }
    return std::nullopt;
}

// The whole file at path, or nothing when it is not a readable regular file
// of a size a sound can have.
std::optional<QByteArray> readSoundFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable() || info.size() <= 0 || info.size() > maxSoundFileBytes)
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // Bounded again: the file may have grown since it was looked at.
    QByteArray bytes = file.read(maxSoundFileBytes + 1);
    if (bytes.size() > maxSoundFileBytes)
        return std::nullopt;
    return bytes;
}

struct AudioModule {
    audio::OutputPresentFunction outputPresent = nullptr;
    audio::NewPlayerFunction newPlayer = nullptr;
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
        m.newPlayer = reinterpret_cast<audio::NewPlayerFunction>(library.resolve(audio::kNewPlayerSymbol));
        if (!m.outputPresent || !m.newPlayer)
            return std::nullopt;
        return m;
    }();
    return module ? &*module : nullptr;
}

// The player for a sound that is about to play, made at its first play; null
// when there is no output to play to.
QObject* newPlayer(const audio::PcmFormat& format, const QByteArray& pcm, QObject* parent)
{
    if (g_testOutput)
        return g_testOutput(format, pcm, parent);
    const AudioModule* module = audioModule();
    // Without an output device the player would have nowhere to play and the
    // audio layer would warn about it; a device plugged in later is used from
    // the next Play on.
    if (!module || !module->outputPresent())
        return nullptr;
    return module->newPlayer(format, pcm, parent);
}

} // namespace

Sound::Sound(const QString& path, const audio::PcmFormat& format, const QByteArray& pcm)
    : path_(path)
    , format_(format)
    , pcm_(pcm)
{
}

Sound::~Sound()
{
    destroyedList().append(QFileInfo(path_).fileName());
    delete player_.data();
}

void Sound::Play()
{
    const QString name = QFileInfo(path_).fileName();
    playedList().append(name);
    if (g_playObserver)
        g_playObserver(name);
    QCoreApplication* app = QCoreApplication::instance();
    if (g_muted || !app)
        return;
    if (!player_)
        player_ = newPlayer(format_, pcm_, app);
    if (player_)
        QMetaObject::invokeMethod(player_, "play");
}

std::shared_ptr<Sound> OpenAsSound(const QString& path)
{
    openedList().append(QFileInfo(path).fileName());
    if (path.isEmpty())
        return nullptr;
    const std::optional<QByteArray> bytes = readSoundFile(path);
    const std::optional<PcmWave> wave = bytes ? parsePcmWave(*bytes) : std::nullopt;
    if (!wave)
        return nullptr;
    return std::make_shared<Sound>(QFileInfo(path).absoluteFilePath(), wave->format, wave->pcm);
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

void setPlayObserver(std::function<void(const QString& fileName)> observer) { g_playObserver = std::move(observer); }

void setAudioOutput(NewPlayer newPlayer) { g_testOutput = std::move(newPlayer); }

} // namespace testing

} // namespace fw
