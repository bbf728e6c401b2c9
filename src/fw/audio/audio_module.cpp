// The part of sound playback that needs Qt Multimedia. Qt Multimedia and the
// audio stack under it (PulseAudio, the codec libraries) take longer to load
// than the rest of the program's libraries together, and most runs play no
// sound before the learner's first answer, if ever; so this is a module of its
// own that fw::Sound loads at the first Play (see sound.cpp).

#include "fw/audio/audio_module.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>
#include <QTimer>

#include <algorithm>
#include <memory>

namespace {

QAudioFormat::SampleFormat sampleFormat(int bytesPerSample)
{
    switch (bytesPerSample) {
    case 1:
        return QAudioFormat::UInt8;
    case 2:
        return QAudioFormat::Int16;
    case 4:
        return QAudioFormat::Int32;
    default:
        return QAudioFormat::Unknown;
    }
}

// Plays PCM data that is already in memory through the default output. It
// holds an output stream only while the sound plays, so an idle program keeps
// no device open.
class PcmPlayer : public QObject {
    Q_OBJECT
public:
    PcmPlayer(const fw::audio::PcmFormat& format, const QByteArray& pcm, QObject* parent)
        : QObject(parent)
    {
        format_.setSampleRate(format.sampleRate);
        format_.setChannelCount(format.channels);
        format_.setSampleFormat(sampleFormat(format.bytesPerSample));
        buffer_.setData(pcm); // shares the bytes
        buffer_.open(QIODevice::ReadOnly);
        release_.setSingleShot(true);
        connect(&release_, &QTimer::timeout, this, &PcmPlayer::releaseIfIdle);
    }
    ~PcmPlayer() override { releaseSink(); }

public slots:
    // Starts the sound from its beginning, cutting short a play still under way.
    void play()
    {
        release_.stop();
        // A fresh output stream for every play: a sink that is stopped and
        // started again asks the sound server for a smaller buffer each time,
        // until it underruns and never reports the end.
        releaseSink();
        // The default device of this moment: one plugged in or chosen since
        // the last play is used from now on.
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        if (device.isNull() || !format_.isValid() || !device.isFormatSupported(format_))
            return;
        sink_ = std::make_unique<QAudioSink>(device, format_);
        // Queued: the sink reports running dry from inside its own feeding
        // step, where stopping it would pull the stream from under it.
        connect(sink_.get(), &QAudioSink::stateChanged, this, &PcmPlayer::stateChanged, Qt::QueuedConnection);
        buffer_.seek(0);
        sink_->start(&buffer_);
    }

private:
    // The sink goes idle once it has taken the last bytes, while some of them
    // are still queued in the sound server; stopping at once would cut that
    // tail off, so the stream is let go once the whole sound has had time to
    // play.
    void stateChanged()
    {
        if (!sink_ || sink_->state() != QAudio::IdleState || !buffer_.atEnd() || release_.isActive())
            return;
        const qint64 leftUs = format_.durationForBytes(buffer_.size()) - sink_->processedUSecs();
        release_.start(int(std::max<qint64>(leftUs, 0) / 1000) + 100);
    }

    void releaseIfIdle()
    {
        if (sink_ && sink_->state() == QAudio::IdleState)
            releaseSink();
    }

    // A sink is stopped before it goes: as it is destroyed it runs the events
    // still queued for it, and a feeding step queued while it played would
    // write to the stream it has just closed, which aborts the program.
    void releaseSink()
    {
        if (!sink_)
            return;
        sink_->disconnect(this);
        sink_->stop();
        sink_.reset();
    }

    QAudioFormat format_;
    QBuffer buffer_; // the sound's bytes, read again from the start at each play
    QTimer release_; // lets go of an idle stream once its queued tail has played
    std::unique_ptr<QAudioSink> sink_; // declared last: gone before the buffer it reads
};

} // namespace

extern "C" Q_DECL_EXPORT bool sumwiseAudioOutputPresent()
{
    return !QMediaDevices::defaultAudioOutput().isNull();
}

extern "C" Q_DECL_EXPORT QObject* sumwiseNewPcmPlayer(const fw::audio::PcmFormat& format, const QByteArray& pcm,
                                                       QObject* parent)
{
    return new PcmPlayer(format, pcm, parent);
}

#include "audio_module.moc"
