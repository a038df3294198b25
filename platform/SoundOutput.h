#pragma once
// Plays an in-memory RIFF WAVE image in the background through the default
// audio output. One clip at a time: a new one cuts off the one playing.
// Without an audio device, or with a clip it cannot play, it stays silent;
// every call returns at once. Lives on the main thread, whose event loop
// feeds the output.

#include <QBuffer>
#include <QByteArray>
#include <functional>
#include <memory>

class QAudioSink;

namespace platform {

class SoundOutput {
public:
    static SoundOutput& instance();
    SoundOutput(const SoundOutput&) = delete;
    SoundOutput& operator=(const SoundOutput&) = delete;

    // Starts the clip and returns at once. The image is shared, not copied,
    // and kept alive here until the clip is cut off or stopped.
    void play(const QByteArray& image);
    // Ends the clip playing, if any, and lets go of its image.
    void stop();
    // True while a clip is being handed to a working audio output.
    bool isPlaying() const;

    // Tests (through a SeamGuard): hears of every clip asked to play, device
    // or not; empty switches it off. Answers the observer it replaces.
    using PlayObserver = std::function<void(const QByteArray& image)>;
    static PlayObserver setPlayObserver(PlayObserver observer);

private:
    SoundOutput();
    ~SoundOutput();
    void release();

    std::unique_ptr<QAudioSink> sink_;
    QBuffer samples_;
    QByteArray image_;
};

} // namespace platform
