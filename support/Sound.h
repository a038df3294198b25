#pragma once
// The sound effects: the shot, the spoken cues Ready, Next and Finish, and
// the timed drill's start and par beeps, held in memory from start-up to the
// end and played from there.

#include <QByteArray>
#include <cstdint>

namespace Sound {

// Effect indexes, in the order of their resources (WAVE 100..105).
constexpr std::int32_t ShotEffect = 0;
constexpr std::int32_t ReadyEffect = 1;
constexpr std::int32_t NextEffect = 2;
constexpr std::int32_t FinishEffect = 3;
constexpr std::int32_t StartBeepEffect = 4; // a timed string begins
constexpr std::int32_t ParBeepEffect = 5;   // its par time is over
constexpr std::int32_t EffectCount = 6;

// Reads WAVE 100 + k into buffer k, for k = 0..5.
void LoadSounds();
// Starts effect 0..5 in the background, cutting off any effect that still
// sounds; any other index does nothing. Returns at once.
void PlayEffect(std::int32_t index);
// Stops the effect playing, then empties the buffers.
void FreeSounds();

// The bytes of buffer index (empty outside 0..5 or when not loaded).
QByteArray effectBuffer(std::int32_t index);

} // namespace Sound
