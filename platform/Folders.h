#pragma once
// Where support files go: the user's data folder ($XDG_DATA_HOME, by default
// ~/.local/share) stands for the system folder, and its fonts subfolder,
// which fontconfig reads, for the font folder. Read afresh on every call.

#include <QString>

namespace platform {

QString dataFolder();
QString fontsFolder();

} // namespace platform
