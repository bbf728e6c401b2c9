#include "drill/sounds.h"
#include "fw/sound.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <deque>
#include <functional>

namespace {

// Stands in for the audio output: records what each sound hands over to be
// played and how often it is started.
struct HandedOver {
    fw::audio::PcmFormat format;
    QByteArray pcm;
    int plays = 0;
};

class RecordingPlayer : public QObject {
    Q_OBJECT
public:
    RecordingPlayer(HandedOver& into, QObject* parent)
        : QObject(parent)
        , into_(into)
    {
    }
    Q_INVOKABLE void play() { ++into_.plays; }

private:
    HandedOver& into_;
};

const QStringList shippedSounds = {"APPLAUSE LOOP.wav", "Laser.wav", "SndOK.wav"};

QString shippedSound(const QString& name)
{
    return QDir(QStringLiteral(SUMWISE_SOURCE_DIR "/resources")).filePath(name);
}

QByteArray le16(quint16 v)
{
    QByteArray b(2, '\0');
    qToLittleEndian(v, b.data());
    return b;
}

QByteArray le32(quint32 v)
{
    QByteArray b(4, '\0');
    qToLittleEndian(v, b.data());
    return b;
}

QByteArray chunk(const QByteArray& id, const QByteArray& body, bool pad = true)
{
    QByteArray c = id + le32(quint32(body.size())) + body;
    if (pad && body.size() % 2)
        c += '\0';
    return c;
}

QByteArray fmtBody(quint16 format = 1, quint16 channels = 1, quint32 rate = 22050, quint16 bits = 16)
{
    const quint16 align = quint16(channels * (bits / 8));
    return le16(format) + le16(channels) + le32(rate) + le32(rate * align) + le16(align) + le16(bits);
}

QByteArray riff(const QByteArray& chunks)
{
    return "RIFF" + le32(quint32(4 + chunks.size())) + "WAVE" + chunks;
}

// A tenth of a second of silence, 16-bit mono.
QByteArray wave(const QByteArray& fmt = fmtBody())
{
    return riff(chunk("fmt ", fmt) + chunk("data", QByteArray(4410, '\0')));
}

class SoundTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        resources = dir.filePath("Resources");
        ASSERT_TRUE(QDir().mkpath(resources));
        fw::testing::setResourcesFolder(resources);
        fw::testing::setSoundsMuted(true);
        fw::testing::clearPlayedSounds();
        fw::testing::clearOpenedSoundFiles();
        fw::testing::clearDestroyedSounds();
        resetSoundsForTesting();
    }
    void TearDown() override
    {
        resetSoundsForTesting();
        fw::testing::setAudioOutput({});
        fw::testing::setResourcesFolder({});
        fw::testing::setSoundsMuted(false);
    }

    void ship(const QString& name) const
    {
        ASSERT_TRUE(QFile::copy(shippedSound(name), QDir(resources).filePath(name)));
    }

    QString writeFile(const QString& name, const QByteArray& bytes) const
    {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }

    QTemporaryDir dir;
    QString resources;
};

TEST_F(SoundTest, OpensEachShippedSound)
{
    for (const QString& name : shippedSounds) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_NE(fw::OpenAsSound(shippedSound(name)), nullptr);
    }
}

TEST_F(SoundTest, AcceptsWellFormedVariants)
{
    const QByteArray data = chunk("data", QByteArray(400, '\0'));
    const struct {
        const char* name;
        QByteArray bytes;
    } rows[] = {
        {"plain 16-bit mono", wave()},
        {"8-bit stereo", wave(fmtBody(1, 2, 8000, 8))},
        {"padded odd chunk before fmt", riff(chunk("LIST", "abc") + chunk("fmt ", fmtBody()) + data)},
        {"chunk between fmt and data", riff(chunk("fmt ", fmtBody()) + chunk("fact", le32(200)) + data)},
        {"RIFF size too large, data whole", "RIFF" + le32(0x7fffffff) + "WAVE" + chunk("fmt ", fmtBody()) + data},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_NE(fw::OpenAsSound(writeFile("ok.wav", row.bytes)), nullptr);
    }
}

TEST_F(SoundTest, RefusesWhatIsNotAPlayableWave)
{
    const QByteArray good = wave();
    const QByteArray data = chunk("data", QByteArray(400, '\0'));
    const struct {
        const char* name;
        QByteArray bytes;
    } rows[] = {
        {"empty", {}},
        {"text", "True\nAdd\nEasy\n"},
        {"cut inside the header", good.left(20)},
        {"cut inside the data", good.left(good.size() - 100)},
        {"RIFF but not WAVE", "RIFF" + le32(4 + 24) + "AVI " + chunk("fmt ", fmtBody())},
        {"no fmt", riff(data)},
        {"data before fmt", riff(data + chunk("fmt ", fmtBody()))},
        {"no data", riff(chunk("fmt ", fmtBody()))},
        {"empty data", riff(chunk("fmt ", fmtBody()) + chunk("data", {}))},
        {"two fmt chunks", riff(chunk("fmt ", fmtBody()) + chunk("fmt ", fmtBody()) + data)},
        {"short fmt", riff(chunk("fmt ", fmtBody().left(14)) + data)},
        {"float samples", wave(fmtBody(3, 1, 22050, 32))},
        {"extensible format", wave(fmtBody(0xfffe))},
        {"no channels", wave(fmtBody(1, 0))},
        {"forty channels", wave(fmtBody(1, 40))},
        {"absurd rate", wave(fmtBody(1, 1, 4000000))},
        {"24-bit samples", wave(fmtBody(1, 1, 22050, 24))},
        {"12-bit samples", wave(fmtBody(1, 1, 22050, 12))},
        {"block align disagrees", riff(chunk("fmt ", fmtBody().left(12) + le16(7) + le16(16)) + data)},
        {"odd chunk without its pad byte", riff(chunk("LIST", "abc", false) + chunk("fmt ", fmtBody()) + data)},
        {"chunk size past the end", riff(chunk("fmt ", fmtBody()) + "data" + le32(0xffffffff) + "ab")},
        {"RIFF size below the header", "RIFF" + le32(2) + "WAVE" + chunk("fmt ", fmtBody()) + data},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(fw::OpenAsSound(writeFile("bad.wav", row.bytes)), nullptr);
    }
}

TEST_F(SoundTest, RefusesWhatIsNotARegularReadableFile)
{
    QFile big(dir.filePath("big.wav"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    big.write(wave());
    ASSERT_TRUE(big.resize(17 * 1024 * 1024)); // sparse: costs no disk
    big.close();

    const struct {
        const char* name;
        QString path;
    } rows[] = {
        {"missing", dir.filePath("missing.wav")},
        {"a folder", resources},
        {"over the size bound", big.fileName()},
        {"empty path", QString()},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(fw::OpenAsSound(row.path), nullptr);
    }
    EXPECT_EQ(fw::testing::openedSoundFiles(), (QStringList{"missing.wav", "Resources", "big.wav", ""}));
}

TEST_F(SoundTest, EachAccessorLoadsItsOwnFileOnce)
{
    for (const QString& name : shippedSounds)
        ship(name);
    const struct {
        const char* file;
        std::function<std::shared_ptr<fw::Sound>()> accessor;
    } rows[] = {
        {"APPLAUSE LOOP.wav", APPLAUSELOOP},
        {"Laser.wav", Laser},
        {"SndOK.wav", SndOK},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.file);
        fw::testing::clearOpenedSoundFiles();
        const auto first = row.accessor();
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(first->path(), QDir(resources).filePath(row.file));
        EXPECT_EQ(row.accessor(), first);
        EXPECT_EQ(fw::testing::openedSoundFiles(), QStringList{row.file});
    }
}

TEST_F(SoundTest, MissingSoundIsTriedOnceAndNeverAgain)
{
    ship("SndOK.wav");
    EXPECT_EQ(Laser(), nullptr);
    EXPECT_EQ(Laser(), nullptr);
    ship("Laser.wav"); // too late: the failure is kept
    EXPECT_EQ(Laser(), nullptr);
    EXPECT_NE(SndOK(), nullptr); // the others are unaffected
    EXPECT_EQ(fw::testing::openedSoundFiles(), (QStringList{"Laser.wav", "SndOK.wav"}));
}

TEST_F(SoundTest, NoResourcesFolderOpensNothing)
{
    fw::testing::setResourcesFolder(dir.filePath("nowhere"));
    EXPECT_EQ(fw::ResourcesFolder(), QString());
    EXPECT_EQ(APPLAUSELOOP(), nullptr);
    EXPECT_EQ(Laser(), nullptr);
    EXPECT_EQ(SndOK(), nullptr);
    EXPECT_TRUE(fw::testing::openedSoundFiles().isEmpty());
}

TEST_F(SoundTest, ReleaseDropsApplauseThenWrongThenRight)
{
    for (const QString& name : shippedSounds)
        ship(name);
    // Loaded in the reverse order, so the release order is not the load order.
    ASSERT_NE(SndOK(), nullptr);
    ASSERT_NE(Laser(), nullptr);
    ASSERT_NE(APPLAUSELOOP(), nullptr);
    EXPECT_TRUE(fw::testing::destroyedSounds().isEmpty()); // the caches hold them

    releaseSounds();
    EXPECT_EQ(fw::testing::destroyedSounds(), shippedSounds);

    fw::testing::clearOpenedSoundFiles();
    EXPECT_EQ(APPLAUSELOOP(), nullptr);
    EXPECT_EQ(Laser(), nullptr);
    EXPECT_EQ(SndOK(), nullptr);
    EXPECT_TRUE(fw::testing::openedSoundFiles().isEmpty());
}

TEST_F(SoundTest, MutedPlayOnlyRecords)
{
    for (const QString& name : shippedSounds)
        ship(name);
    APPLAUSELOOP()->Play();
    SndOK()->Play();
    Laser()->Play();
    EXPECT_EQ(fw::testing::playedSounds(), (QStringList{"APPLAUSE LOOP.wav", "SndOK.wav", "Laser.wav"}));
}

// What reaches the audio output is what was checked when the file was opened:
// the file replaced by another sound, then removed, changes nothing, and only
// whole frames are handed over.
TEST_F(SoundTest, PlaysTheDataCheckedAtOpenWhateverBecomesOfTheFile)
{
    QByteArray frames;
    for (int i = 0; i < 300; ++i)
        frames += char(i * 7);
    // 8-bit stereo: 150 frames and one stray byte.
    const QString path =
        writeFile("first.wav", riff(chunk("fmt ", fmtBody(1, 2, 11025, 8)) + chunk("data", frames + 'x')));
    const auto sound = fw::OpenAsSound(path);
    ASSERT_NE(sound, nullptr);

    std::deque<HandedOver> handed; // grows without moving what the players point at
    fw::testing::setAudioOutput([&](const fw::audio::PcmFormat& format, const QByteArray& pcm, QObject* parent) {
        handed.push_back({format, pcm});
        return new RecordingPlayer(handed.back(), parent);
    });
    fw::testing::setSoundsMuted(false);
    writeFile("first.wav", wave());
    sound->Play();
    ASSERT_TRUE(QFile::remove(path));
    sound->Play();

    ASSERT_EQ(handed.size(), 1u);
    EXPECT_EQ(handed[0].format, (fw::audio::PcmFormat{11025, 2, 1}));
    EXPECT_EQ(handed[0].pcm, frames);
    EXPECT_EQ(handed[0].plays, 2);
    EXPECT_EQ(fw::testing::openedSoundFiles(), QStringList{"first.wav"});
}

// Test machines have no audio output: playing for real must return at once,
// neither hang nor crash, and leave the event loop working.
TEST_F(SoundTest, RealPlaybackWithoutAudioDeviceReturnsAtOnce)
{
    fw::testing::setSoundsMuted(false);
    for (const QString& name : shippedSounds)
        ship(name);
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < 3; ++i) {
        APPLAUSELOOP()->Play();
        SndOK()->Play();
        Laser()->Play();
        QCoreApplication::processEvents();
    }
    releaseSounds();
    QCoreApplication::processEvents();
    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_EQ(fw::testing::playedSounds().size(), 9);
}

} // namespace

#include "gui_sound_test.moc"
