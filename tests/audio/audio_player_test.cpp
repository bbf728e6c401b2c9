// The audio module the program loads (bundle/lib/libsumwise_audio.so) playing
// the three shipped sounds to the private sound server that audio_test.sh
// starts. What counts is what the server sees: the playback streams it is
// given (their format, when they come and go) and, recorded from the null
// sink's monitor, the samples it played.
//
// The same binary doubles as the program in the cases that need a process of
// their own (see main): a quit while a sound plays, and a machine with no
// sound server.

#include "fw/audio/audio_module.h"
#include "fw/runtime.h"
#include "fw/sound.h"

#include <gtest/gtest.h>

#include <pulse/pulseaudio.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLibrary>
#include <QProcess>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// The format of the null sink in audio_test.sh, which is the shipped sounds'
// own: what it played reaches its monitor sample for sample.
constexpr fw::audio::PcmFormat kSinkFormat{22050, 1, 2};

const char kApplause[] = "APPLAUSE LOOP.wav";

// The module file the program loads, resolved as fw::Sound resolves it.
struct Module {
    fw::audio::OutputPresentFunction outputPresent = nullptr;
    fw::audio::NewPlayerFunction newPlayer = nullptr;
};

const Module& module()
{
    static const Module m = [] {
        QLibrary library(QStringLiteral(SUMWISE_AUDIO_MODULE));
        return Module{
            reinterpret_cast<fw::audio::OutputPresentFunction>(library.resolve(fw::audio::kOutputPresentSymbol)),
            reinterpret_cast<fw::audio::NewPlayerFunction>(library.resolve(fw::audio::kNewPlayerSymbol))};
    }();
    return m;
}

QString shippedPath(const char* name)
{
    return QDir(QStringLiteral(SUMWISE_SOUNDS_DIR)).filePath(QString::fromUtf8(name));
}

// A shipped sound, opened as the program opens it, whose Play goes to the
// module's player.
std::shared_ptr<fw::Sound> openShipped(const char* name)
{
    fw::testing::setAudioOutput([](const fw::audio::PcmFormat& format, const QByteArray& pcm, QObject* parent) {
        return module().newPlayer ? module().newPlayer(format, pcm, parent) : nullptr;
    });
    return fw::OpenAsSound(shippedPath(name));
}

// The format and data that fw::Sound reads and checks from a shipped file and
// hands to the player, taken without playing them.
struct Handed {
    fw::audio::PcmFormat format;
    QByteArray pcm;
};

Handed shippedSound(const char* name)
{
    Handed handed;
    fw::testing::setAudioOutput([&handed](const fw::audio::PcmFormat& format, const QByteArray& pcm, QObject*) {
        handed = {format, pcm};
        return static_cast<QObject*>(nullptr);
    });
    if (const auto sound = fw::OpenAsSound(shippedPath(name)))
        sound->Play();
    fw::testing::setAudioOutput({});
    return handed;
}

qsizetype bytesFor(const Handed& h, int ms)
{
    return qsizetype(h.format.sampleRate) * ms / 1000 * h.format.channels * h.format.bytesPerSample;
}

int durationMs(const Handed& h)
{
    return int(h.pcm.size() * 1000 / bytesFor(h, 1000));
}

// The monitor may miss the first milliseconds of a stream: the server starts a
// new stream by rewinding what it had mixed ahead, which the monitor had
// already passed on as silence. So a sound is recognised from 0.1 s on: its
// start is the tenth of a second that follows, and it has played whole when
// all from there to its last sample has.
QByteArray start(const Handed& h)
{
    return h.pcm.mid(bytesFor(h, 100), bytesFor(h, 100));
}

QByteArray whole(const Handed& h)
{
    return h.pcm.mid(bytesFor(h, 100));
}

bool waitFor(const std::function<bool()>& done, int ms)
{
    return QTest::qWaitFor(done, ms);
}

// A client of the test's sound server that watches the player there: each
// playback stream as it comes and goes, with the format it was opened with,
// and every sample the null sink played. Its callbacks run on libpulse's
// thread with the loop's lock held; readers take that lock.
class ServerWatch {
public:
    struct Stream {
        uint32_t index = 0;
        pa_sample_spec sampleSpec{}; // zero until the server has described the stream
        Clock::time_point came, went;
        bool gone = false;
    };

    ~ServerWatch()
    {
        if (loop_)
            pa_threaded_mainloop_stop(loop_);
        if (record_) {
            pa_stream_disconnect(record_);
            pa_stream_unref(record_);
        }
        if (context_) {
            pa_context_disconnect(context_);
            pa_context_unref(context_);
        }
        if (loop_)
            pa_threaded_mainloop_free(loop_);
    }

    // Connects to the server named by PULSE_SERVER and starts recording;
    // false when it cannot.
    bool start()
    {
        loop_ = pa_threaded_mainloop_new();
        context_ = pa_context_new(pa_threaded_mainloop_get_api(loop_), "sumwise audio test");
        pa_context_set_state_callback(context_, &ServerWatch::signal, this);
        pa_context_set_subscribe_callback(context_, &ServerWatch::onEvent, this);
        if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
            return false;
        Lock lock(loop_);
        pa_threaded_mainloop_start(loop_);
        while (PA_CONTEXT_IS_GOOD(pa_context_get_state(context_)) && pa_context_get_state(context_) != PA_CONTEXT_READY)
            pa_threaded_mainloop_wait(loop_);
        if (pa_context_get_state(context_) != PA_CONTEXT_READY)
            return false;
        pa_operation_unref(pa_context_subscribe(context_, PA_SUBSCRIPTION_MASK_SINK_INPUT, nullptr, nullptr));

        const pa_sample_spec sampleSpec{PA_SAMPLE_S16LE, uint32_t(kSinkFormat.sampleRate), uint8_t(kSinkFormat.channels)};
        record_ = pa_stream_new(context_, "monitor", &sampleSpec, nullptr);
        pa_stream_set_state_callback(record_, &ServerWatch::signalStream, this);
        pa_stream_set_read_callback(record_, &ServerWatch::onRecorded, this);
        // Small fragments, so what was played is here soon after.
        pa_buffer_attr attr{uint32_t(-1), uint32_t(-1), uint32_t(-1), uint32_t(-1),
                            uint32_t(pa_usec_to_bytes(20000, &sampleSpec))};
        // The server's only source is the null sink's monitor.
        if (pa_stream_connect_record(record_, nullptr, &attr, PA_STREAM_ADJUST_LATENCY) < 0)
            return false;
        while (pa_stream_get_state(record_) == PA_STREAM_CREATING)
            pa_threaded_mainloop_wait(loop_);
        return pa_stream_get_state(record_) == PA_STREAM_READY;
    }

    std::vector<Stream> streams() const
    {
        Lock lock(loop_);
        return streams_;
    }

    // Every sample played since the start or the last forget().
    QByteArray played() const
    {
        Lock lock(loop_);
        return played_;
    }

    void forget()
    {
        Lock lock(loop_);
        streams_.clear();
        played_.clear();
    }

private:
    struct Lock {
        explicit Lock(pa_threaded_mainloop* loop)
            : loop(loop)
        {
            pa_threaded_mainloop_lock(loop);
        }
        ~Lock() { pa_threaded_mainloop_unlock(loop); }
        pa_threaded_mainloop* loop;
    };

    static void signal(pa_context*, void* self)
    {
        pa_threaded_mainloop_signal(static_cast<ServerWatch*>(self)->loop_, 0);
    }
    static void signalStream(pa_stream*, void* self)
    {
        pa_threaded_mainloop_signal(static_cast<ServerWatch*>(self)->loop_, 0);
    }

    static void onEvent(pa_context* context, pa_subscription_event_type_t type, uint32_t index, void* p)
    {
        auto* self = static_cast<ServerWatch*>(p);
        switch (type & PA_SUBSCRIPTION_EVENT_TYPE_MASK) {
        case PA_SUBSCRIPTION_EVENT_NEW:
            self->streams_.push_back({index, {}, Clock::now(), {}, false});
            pa_operation_unref(pa_context_get_sink_input_info(context, index, &ServerWatch::onInfo, self));
            break;
        case PA_SUBSCRIPTION_EVENT_REMOVE:
            if (Stream* s = self->find(index)) {
                s->went = Clock::now();
                s->gone = true;
            }
            break;
        default:
            break;
        }
    }

    static void onInfo(pa_context*, const pa_sink_input_info* info, int eol, void* p)
    {
        if (eol || !info)
            return;
        if (Stream* s = static_cast<ServerWatch*>(p)->find(info->index))
            s->sampleSpec = info->sample_spec;
    }

    static void onRecorded(pa_stream* stream, size_t, void* p)
    {
        auto* self = static_cast<ServerWatch*>(p);
        const void* data = nullptr;
        size_t size = 0;
        while (pa_stream_readable_size(stream) > 0 && pa_stream_peek(stream, &data, &size) == 0 && size > 0) {
            // A hole in the record is silence.
            self->played_.append(data ? QByteArray(static_cast<const char*>(data), qsizetype(size))
                                      : QByteArray(qsizetype(size), '\0'));
            pa_stream_drop(stream);
        }
    }

    Stream* find(uint32_t index)
    {
        for (Stream& s : streams_)
            if (s.index == index && !s.gone)
                return &s;
        return nullptr;
    }

    pa_threaded_mainloop* loop_ = nullptr;
    pa_context* context_ = nullptr;
    pa_stream* record_ = nullptr;
    std::vector<Stream> streams_;
    QByteArray played_;
};

bool allGone(const std::vector<ServerWatch::Stream>& streams)
{
    for (const auto& s : streams)
        if (!s.gone)
            return false;
    return true;
}

qint64 lifetimeMs(const ServerWatch::Stream& s)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(s.went - s.came).count();
}

// One watch for all the tests, connected at the first. The null sink mixes
// far ahead while nothing listens to it; once its monitor delivers, it keeps
// to the recorder's short latency, and a sound is heard as it is played.
ServerWatch* connectedWatch()
{
    static const std::unique_ptr<ServerWatch> watch = [] {
        auto w = std::make_unique<ServerWatch>();
        if (!w->start() || !waitFor([&] { return !w->played().isEmpty(); }, 10000))
            return std::unique_ptr<ServerWatch>();
        return w;
    }();
    return watch.get();
}

class AudioPlayerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(module().outputPresent && module().newPlayer) << "cannot load " SUMWISE_AUDIO_MODULE;
        watch = connectedWatch();
        ASSERT_NE(watch, nullptr) << "no sound server at PULSE_SERVER; run the tests through audio_test.sh";
        watch->forget();
    }
    void TearDown() override { fw::testing::setAudioOutput({}); }

    // The played samples, once the monitor has had time to bring in what the
    // server played until now.
    QByteArray playedUntilNow()
    {
        const qsizetype now = watch->played().size();
        const qsizetype enough = now + kSinkFormat.sampleRate / 5 * kSinkFormat.bytesPerSample;
        waitFor([&] { return watch->played().size() >= enough; }, 5000);
        return watch->played();
    }

    ServerWatch* watch = nullptr;
};

// Each sound gets a stream in its own format that lasts as long as the sound,
// plays every sample of it, and is let go once the sound has ended.
TEST_F(AudioPlayerTest, EachSoundPlaysWholeInItsFormatThenItsStreamGoes)
{
    ASSERT_TRUE(module().outputPresent());
    for (const char* name : {kApplause, "Laser.wav", "SndOK.wav"}) {
        SCOPED_TRACE(name);
        const Handed file = shippedSound(name);
        ASSERT_EQ(file.format, kSinkFormat) << "audio_test.sh's null sink must take the sounds' format";
        const int ms = durationMs(file);
        const auto sound = openShipped(name);
        ASSERT_NE(sound, nullptr);
        watch->forget();
        sound->Play();

        // The format is known moments after the Play: a wrong one fails here
        // rather than in the waits below, which are sized for a right one.
        ASSERT_TRUE(waitFor([&] { return !watch->streams().empty() && watch->streams()[0].sampleSpec.rate; }, 5000))
            << "no stream came";
        const pa_sample_spec described = watch->streams()[0].sampleSpec;
        ASSERT_EQ(described.format, PA_SAMPLE_S16LE);
        ASSERT_EQ(int(described.rate), file.format.sampleRate);
        ASSERT_EQ(int(described.channels), file.format.channels);
        ASSERT_TRUE(waitFor([&] { return allGone(watch->streams()); }, ms + 5000))
            << "the stream was still held well after the sound ended";
        const auto streams = watch->streams();
        ASSERT_EQ(streams.size(), 1u);
        EXPECT_GE(lifetimeMs(streams[0]), ms - 50) << "the stream went before the sound's end";
        EXPECT_LE(lifetimeMs(streams[0]), ms + 1500) << "the stream was held long after the sound's end";
        EXPECT_TRUE(playedUntilNow().contains(whole(file))) << "the sound was not played whole";
    }
}

// A Play while the sound still plays starts it again from its beginning, in a
// stream of its own; only the last play is heard to its end, and then no
// stream is left. Restarted several times, as a learner answering quickly
// does: a sink that is reused shrinks its buffer at each restart. The first
// restart comes in the same turn of the event loop as the sink's first
// feeding step, which queues the next one: the sink let go must not take it.
TEST_F(AudioPlayerTest, APlayDuringTheSoundStartsItAgainFromTheBeginning)
{
    const Handed file = shippedSound(kApplause);
    const QByteArray head = start(file);
    const auto sound = openShipped(kApplause);
    ASSERT_NE(sound, nullptr);
    sound->Play();
    QThread::msleep(100); // the sink's first feeding step is due
    QCoreApplication::processEvents(); // one turn
    constexpr int restarts = 5;
    for (int i = 0; i < restarts; ++i) {
        SCOPED_TRACE(i);
        sound->Play();
        ASSERT_TRUE(waitFor([&] { return watch->played().count(head) == i + 1; }, 5000))
            << "the sound was not heard from its beginning again";
    }
    ASSERT_TRUE(waitFor([&] { return allGone(watch->streams()); }, durationMs(file) + 5000))
        << "a stream was still held well after the sound ended";
    EXPECT_EQ(watch->streams().size(), size_t(restarts + 1));

    const QByteArray heard = playedUntilNow();
    EXPECT_EQ(heard.count(head), restarts);
    EXPECT_EQ(heard.indexOf(whole(file)), heard.lastIndexOf(head)) << "the last play was not heard whole";
}

// What became of a stand-in for the program (main's modes) run to its end.
struct Ending {
    bool tornDown = false; // its own teardown was done: the sound and the application object gone
    QProcess::ExitStatus status = QProcess::CrashExit;
    int code = -1;
    std::string errors;
};

Ending ended(QProcess& program)
{
    return {program.readAllStandardOutput().contains("torn down"), program.exitStatus(), program.exitCode(),
            program.readAllStandardError().toStdString()};
}

// The program quitting while a sound plays, in either order of teardown: its
// sounds released before the application object (as the program does it), or
// the application object gone first, taking the players with it.
TEST_F(AudioPlayerTest, QuittingWhileASoundPlaysEndsCleanly)
{
    const Handed file = shippedSound(kApplause);
    for (const char* order : {"sounds-first", "application-first"}) {
        SCOPED_TRACE(order);
        watch->forget();
        QProcess program;
        program.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--quit-while-playing"), order});
        // However long it takes to start, once it plays it is heard at once.
        ASSERT_TRUE(waitFor([&] { return !watch->streams().empty(); }, 30000)) << "it played nothing";
        ASSERT_TRUE(waitFor([&] { return watch->played().contains(start(file)); }, 5000))
            << "its sound was never heard";
        EXPECT_FALSE(allGone(watch->streams())) << "its sound had ended before the quit";
        program.closeWriteChannel(); // tells it to quit
        EXPECT_TRUE(program.waitForFinished(30000)) << "it did not quit";
        const Ending ending = ended(program);
        EXPECT_TRUE(ending.tornDown) << ending.errors;
        EXPECT_EQ(ending.status, QProcess::NormalExit) << ending.errors;
        EXPECT_EQ(ending.code, 0) << ending.errors;
    }
}

// With no sound server at all, the player neither waits nor hangs.
TEST_F(AudioPlayerTest, WithoutAServerPlayReturnsAtOnce)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PULSE_SERVER"), QStringLiteral("unix:") + dir.filePath(QStringLiteral("nothing")));
    program.setProcessEnvironment(env);
    program.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--play-without-server")});
    ASSERT_TRUE(program.waitForFinished(60000)) << "it hung";
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    bool ok = false;
    const int ms = program.readAllStandardOutput().trimmed().toInt(&ok);
    ASSERT_TRUE(ok);
    EXPECT_LT(ms, 5000) << "Play waited for the missing server";
}

// The program's part in QuittingWhileASoundPlaysEndsCleanly: plays the
// applause, quits when its input closes and ends as the program ends.
int quitWhilePlaying(int argc, char** argv, bool soundsFirst)
{
    auto app = std::make_unique<QCoreApplication>(argc, argv);
    auto sound = openShipped(kApplause);
    if (!sound)
        return 2;
    sound->Play();
    {
        QSocketNotifier input(0, QSocketNotifier::Read);
        QObject::connect(&input, &QSocketNotifier::activated, app.get(), &QCoreApplication::quit);
        app->exec();
    }
    if (soundsFirst)
        sound.reset();
    app.reset();
    sound.reset();
    fw::testing::setAudioOutput({});
    std::printf("torn down\n");
    fw::RuntimeExit(0);
}

// The program's part in WithoutAServerPlayReturnsAtOnce: reports no output
// (exit status) and how long asking and playing took (milliseconds, printed).
int playWithoutServer(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QElapsedTimer clock;
    clock.start();
    if (!module().outputPresent || module().outputPresent())
        return 3;
    // The player itself, given a sound anyway, finds no output and lets it be.
    auto sound = openShipped(kApplause);
    if (!sound)
        return 2;
    for (int i = 0; i < 3; ++i) {
        sound->Play();
        QCoreApplication::processEvents();
    }
    std::printf("%lld\n", static_cast<long long>(clock.elapsed()));
    sound.reset();
    fw::testing::setAudioOutput({});
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const QByteArray mode = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    if (mode == "--quit-while-playing" && argc > 2)
        return quitWhilePlaying(argc, argv, QByteArray(argv[2]) == "sounds-first");
    if (mode == "--play-without-server")
        return playWithoutServer(argc, argv);
    int status = 0;
    {
        QCoreApplication app(argc, argv);
        ::testing::InitGoogleTest(&argc, argv);
        status = RUN_ALL_TESTS();
    }
    // This process has played sounds: it ends as the program does.
    fw::RuntimeExit(status);
}
