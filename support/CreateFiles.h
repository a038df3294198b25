#pragma once
// The support files carried in the program's resources: the display font
// (BIN 100) and the help file (BIN 101). Each is written out the first time
// it is missing and never overwritten or deleted afterwards.

#include <QString>
#include <cstdint>

namespace CreateFiles {

// The font's file name and the family it holds.
inline constexpr char FontFileName[] = "LCDFont.ttf";
inline constexpr char FontFamily[] = "LCD2";
inline constexpr char HelpFileName[] = "Vantorel.chm";

// Writes the font into the font folder if nothing stands there yet and makes
// it usable by name in this run. Run at every start.
void InstallFont();
// Writes the help file if it is missing, then asks the desktop to open it.
void OpenHelp();
// Writes the help file into the Windows folder if nothing stands there yet.
void WriteHelpFile();

QString FontsFolder();
QString WindowsFolder();

// Fill FontData/FontLength and HelpData/HelpLength from the resources.
void LoadFontData();
void LoadHelpData();
std::int32_t FontLength();
std::int32_t HelpLength();

} // namespace CreateFiles
