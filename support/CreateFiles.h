#pragma once
// The support files carried in the program's resources: the display font
// (BIN 100), the help file (BIN 101) and the help pages it is made of. Each
// is written out the first time it is missing and never overwritten or
// deleted afterwards.

#include <QString>
#include <cstdint>

namespace CreateFiles {

// The font's file name and the family it holds.
inline constexpr char FontFileName[] = "LCDFont.ttf";
inline constexpr char FontFamily[] = "LCD2";
inline constexpr char HelpFileName[] = "Vantorel.chm";
// The folder beside the help file that holds the pages, and the first page.
inline constexpr char HelpPagesFolderName[] = "Vantorel-help";
inline constexpr char HelpStartPage[] = "Overview.htm";

// Writes the font into the font folder if nothing stands there yet and makes
// it usable by name in this run. Run at every start.
void InstallFont();
// Writes the help file and the pages where they are missing, then asks the
// desktop to open the first page in the web browser, or where it has none
// the help file, only when a viewer for it is the desktop's default; if
// neither opens, says so in a message box that names both, and if the pages
// could not be written, says that with the folder and reason. Returns at
// once: the desktop's answers come later from the event loop.
void OpenHelp();
// Writes the help file into the Windows folder if nothing stands there yet.
void WriteHelpFile();
// Writes each help page into the pages folder if nothing stands there yet.
void writeHelpPages();
QString helpPagesFolder();

QString FontsFolder();
QString WindowsFolder();

// Fill FontData/FontLength and HelpData/HelpLength from the resources.
void LoadFontData();
void LoadHelpData();
std::int32_t FontLength();
std::int32_t HelpLength();

} // namespace CreateFiles
