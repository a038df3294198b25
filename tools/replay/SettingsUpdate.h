#pragma once
// --apply: detection parameters into the settings of vantorel, through the
// program's own setters and settings store, so that only their keys change.

#include <QString>
#include <cstdint>
#include <optional>

namespace replay {

// The values to store; one left empty keeps its stored value.
struct SettingsUpdate {
    std::optional<std::int32_t> sampleEvery;
    std::optional<std::int32_t> compareEvery;
    std::optional<std::int32_t> tolerance;
    std::optional<std::int32_t> maxBeam;
};

// Stores them in the settings store's current file; empty, or why the store
// refused.
QString storeInSettings(const SettingsUpdate& update);

} // namespace replay
