#pragma once
// Plays an in-memory RIFF WAVE image in the background through the default
// audio output. One clip at a time: a new one cuts off the one playing.
// Without an audio device, or with a clip it cannot play, it stays silent;
// every call returns at once, and never runs the event loop inside it (the
// audio back end does, when a sink is destroyed, so finished sinks go from
// the event loop). Lives on the main thread, whose event loop feeds the
// output.

#include <QByteArray>
#include <functional>
#include <memory>
#include <vector>

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
    // Ends the clip and lets go of the audio output at once: for the end of
    // the program, where no event loop runs again.
    void stopNow();
    // True while a clip is being handed to a working audio output.
    bool isPlaying() const;

    // Tests (through a SeamGuard): hears of every clip asked to play, device
    // or not; empty switches it off. Answers the observer it replaces.
    using PlayObserver = std::function<void(const QByteArray& image)>;
    static PlayObserver setPlayObserver(PlayObserver observer);

private:
    // A clip on its way to the device: the sink and the bytes it reads.
    struct Playing;

    SoundOutput();
    ~SoundOutput();
    // Stops the clip playing and hands it to the event loop to destroy.
    void retire();
    // Destroys every stopped clip now.
    void destroyRetired();

    std::unique_ptr<Playing> playing_;
    std::vector<std::unique_ptr<Playing>> retired_;
    bool destroyQueued_ = false;
};

} // namespace platform
