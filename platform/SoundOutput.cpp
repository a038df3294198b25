#include "platform/SoundOutput.h"

#include "platform/RiffWave.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QCoreApplication>
#include <QMediaDevices>
#include <utility>

namespace platform {
namespace {

SoundOutput::PlayObserver& observerSlot() {
    static SoundOutput::PlayObserver observer;
    return observer;
}

QAudioFormat formatOf(const WaveClip& clip) {
    QAudioFormat format;
    format.setSampleRate(static_cast<int>(clip.sampleRate));
    format.setChannelCount(clip.channels);
    switch (clip.bitsPerSample) {
    case 8:
        format.setSampleFormat(QAudioFormat::UInt8);
        break;
    case 16:
        format.setSampleFormat(QAudioFormat::Int16);
        break;
    default:
        format.setSampleFormat(QAudioFormat::Int32);
        break;
    }
    return format;
}

// Qt's audio sink must go before the application does; this output, made
// once for the whole process, would otherwise take it down at exit with no
// application left (a crash, for every program that returns from main).
void stopAtQuit() {
    SoundOutput::instance().stop();
}

} // namespace

SoundOutput& SoundOutput::instance() {
    static SoundOutput output;
    return output;
}

SoundOutput::SoundOutput() = default;

SoundOutput::~SoundOutput() {
    release();
}

SoundOutput::PlayObserver SoundOutput::setPlayObserver(PlayObserver observer) {
    return std::exchange(observerSlot(), std::move(observer));
}

void SoundOutput::play(const QByteArray& image) {
    if (const auto& observer = observerSlot())
        observer(image);
    release(); // the new clip cuts off the one playing
    const auto clip = parseWave(image);
    if (!clip)
        return;
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return;

    static const bool stopsAtQuit = (qAddPostRoutine(stopAtQuit), true);
    (void)stopsAtQuit;
    image_ = image; // shares the bytes: they stay valid while they play
    samples_.setData(
        QByteArray::fromRawData(image_.constData() + clip->dataOffset, clip->dataSize));
    samples_.open(QIODevice::ReadOnly);
    sink_ = std::make_unique<QAudioSink>(device, formatOf(*clip));
    QObject::connect(sink_.get(), &QAudioSink::stateChanged, sink_.get(),
                     [sink = sink_.get()](QAudio::State state) {
                         // Drained: close the stream; the sink itself goes
                         // with the next clip or stop().
                         if (state == QAudio::IdleState)
                             sink->stop();
                     });
    sink_->start(&samples_);
    // Without a server the sink fails at once, in the stopped state, and
    // says so only through error().
    if (sink_->error() != QAudio::NoError || sink_->state() == QAudio::StoppedState)
        release();
}

void SoundOutput::stop() {
    release();
}

bool SoundOutput::isPlaying() const {
    return sink_ && sink_->state() == QAudio::ActiveState;
}

void SoundOutput::release() {
    if (sink_) {
        sink_->stop();
        sink_.reset();
    }
    samples_.close();
    samples_.setData(QByteArray());
    image_.clear();
}

} // namespace platform
