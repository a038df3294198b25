#pragma once
// Records what the private test sound server's null output plays (its
// monitor source, test_sink.monitor), as 16-bit mono at 44100 Hz, and says
// for how long it was loud. Other test programs may play into the same
// output at the same time, so a test that needs a length listens for its
// own tone only.

#include <QByteArray>
#include <QProcess>
#include <QString>

namespace testsound {

// Why no recording can be made here, or empty when the server with its
// test_sink output answers.
QString unavailableReason();

class SoundRecorder {
public:
    SoundRecorder() = default;
    ~SoundRecorder();
    SoundRecorder(const SoundRecorder&) = delete;
    SoundRecorder& operator=(const SoundRecorder&) = delete;

    // Starts recording and returns once sound data flows; false on failure.
    bool start();
    // Stops and answers the samples recorded since start().
    QByteArray stop();

private:
    QProcess recorder_;
    QByteArray samples_;
};

// Seconds of the recording in which the level (RMS over 10 ms windows)
// stood above threshold, on a scale of 0..32767.
double loudSeconds(const QByteArray& samples, double threshold = 1000);
// Seconds in which a tone of this frequency stood above threshold (its
// amplitude over 10 ms windows, on a scale of 0..32767), whatever else
// sounded.
double toneSeconds(const QByteArray& samples, double frequency, double threshold = 5000);

} // namespace testsound
