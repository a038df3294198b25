#pragma once
// The program's name as the windows and message boxes show it; the version
// is the project's (CMakeLists.txt).

#include <QLatin1String>

namespace platform {

inline constexpr QLatin1String ProductName{"Quillmere Vantorel"};
// As --version prints it after a program's name.
inline constexpr QLatin1String Version{VANTOREL_VERSION};
inline constexpr QLatin1String ProductTitle{"Quillmere Vantorel v" VANTOREL_VERSION};

} // namespace platform
