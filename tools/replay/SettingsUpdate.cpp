#include "tools/replay/SettingsUpdate.h"

#include "detection/MotionDetection.h"
#include "platform/SettingsStore.h"

#include <utility>

namespace replay {

QString storeInSettings(const SettingsUpdate& update) {
    QString problem;
    const platform::SettingsProblemHandler previous =
        platform::setSettingsProblemHandler([&problem](const QString& why) {
            if (problem.isEmpty())
                problem = why;
        });
    // The setters store as the settings dialog does: the same text, and the
    // file's other lines left as they are.
    const std::pair<const std::optional<std::int32_t>&, void (*)(std::int32_t)> parameters[] = {
        {update.sampleEvery, MotionDetection::SetSampleEveryNthFrame},
        {update.compareEvery, MotionDetection::SetCompareEveryNthByte},
        {update.tolerance, MotionDetection::SetTolerance},
        {update.maxBeam, MotionDetection::SetMaxLaserBeam}};
    for (const auto& [value, setter] : parameters)
        if (value)
            setter(*value);
    platform::setSettingsProblemHandler(previous);
    return problem;
}

} // namespace replay
