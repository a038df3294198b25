#include "platform/SoundOutput.h"

#include "platform/RiffWave.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
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
    SoundOutput::instance().stopNow();
}

} // namespace

struct SoundOutput::Playing {
    QByteArray image; // shared: the bytes stay valid while they play
    QBuffer samples;
    std::unique_ptr<QAudioSink> sink;
};

SoundOutput& SoundOutput::instance() {
    static SoundOutput output;
    return output;
}

SoundOutput::SoundOutput() = default;

SoundOutput::~SoundOutput() {
    stopNow();
}

SoundOutput::PlayObserver SoundOutput::setPlayObserver(PlayObserver observer) {
    return std::exchange(observerSlot(), std::move(observer));
}

void SoundOutput::play(const QByteArray& image) {
    if (const auto& observer = observerSlot())
        observer(image);
    retire(); // the new clip cuts off the one playing
    const auto clip = parseWave(image);
    if (!clip)
        return;
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return;

    static const bool stopsAtQuit = (qAddPostRoutine(stopAtQuit), true);
    (void)stopsAtQuit;
    playing_ = std::make_unique<Playing>();
    playing_->image = image;
    playing_->samples.setData(
        QByteArray::fromRawData(playing_->image.constData() + clip->dataOffset, clip->dataSize));
    playing_->samples.open(QIODevice::ReadOnly);
    playing_->sink = std::make_unique<QAudioSink>(device, formatOf(*clip));
    QAudioSink* const sink = playing_->sink.get();
    QObject::connect(sink, &QAudioSink::stateChanged, sink, [sink](QAudio::State state) {
        // Drained: close the stream; the sink itself goes with the next
        // clip or stop().
        if (state == QAudio::IdleState)
            sink->stop();
    });
    sink->start(&playing_->samples);
    // Without a server the sink fails at once, in the stopped state, and
    // says so only through error().
    if (sink->error() != QAudio::NoError || sink->state() == QAudio::StoppedState)
        retire();
}

void SoundOutput::stop() {
    retire();
}

void SoundOutput::stopNow() {
    retire();
    destroyRetired();
}

bool SoundOutput::isPlaying() const {
    return playing_ && playing_->sink->state() == QAudio::ActiveState;
}

void SoundOutput::retire() {
    if (!playing_)
        return;
    playing_->sink->stop();
    retired_.push_back(std::move(playing_));
    // Destroying a sink runs the event loop: never inside a caller, which may
    // be the frame routine itself. Without an application there is no event
    // loop left to run.
    QCoreApplication* const application = QCoreApplication::instance();
    if (!application) {
        destroyRetired();
        return;
    }
    if (std::exchange(destroyQueued_, true))
        return;
    QMetaObject::invokeMethod(
        application, [this] { destroyRetired(); }, Qt::QueuedConnection);
}

void SoundOutput::destroyRetired() {
    destroyQueued_ = false;
    // Moved out first: the loop a sink runs as it goes may retire another.
    std::vector<std::unique_ptr<Playing>> done;
    done.swap(retired_);
    done.clear();
}

} // namespace platform
