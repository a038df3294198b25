#include "support/Sound.h"

#include "platform/ResourceReader.h"
#include "platform/SoundOutput.h"

#include <QString>
#include <array>

namespace Sound {
namespace {
constexpr int FirstWaveId = 100;

std::array<QByteArray, EffectCount>& EffectBuffers() {
    static std::array<QByteArray, EffectCount> buffers;
    return buffers;
}

bool isEffect(std::int32_t index) {
    return index >= 0 && index < EffectCount;
}
} // namespace

void LoadSounds() {
    for (std::int32_t k = 0; k < EffectCount; ++k)
        EffectBuffers()[k] = platform::resourceData(FirstWaveId + k, QStringLiteral("WAVE"));
}

void PlayEffect(std::int32_t index) {
    if (!isEffect(index))
        return;
    platform::SoundOutput::instance().play(EffectBuffers()[index]);
}

void FreeSounds() {
    // The output reads a buffer while it plays: stop it before letting go.
    platform::SoundOutput::instance().stop();
    for (auto& buffer : EffectBuffers())
        buffer.clear();
}

QByteArray effectBuffer(std::int32_t index) {
    return isEffect(index) ? EffectBuffers()[index] : QByteArray();
}

} // namespace Sound
