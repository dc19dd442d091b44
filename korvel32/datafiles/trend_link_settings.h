// The "TL Defaults" section of korvel32.ini: where Trend Link is installed,
// the chart program's file and the title its windows begin with. Start-up
// makes sure the keys exist; the Trend Link output reads them at first use.
#pragma once

#include <cstddef>

namespace korvel::trend_link_settings {

inline constexpr char kSection[] = "TL Defaults";
inline constexpr char kDirectoryKey[] = "TLDIR";
inline constexpr char kProgramKey[] = "TLFile";
inline constexpr char kTitleKey[] = "TLTitle";

inline constexpr char kDefaultDirectory[] = "c:\\Program Files\\Orrin\\tl";
inline constexpr char kDefaultProgram[] = "tl32.exe";
inline constexpr int kDefaultTitleString = 1406; // "Trend Link for Orrin"

// The Trend Link Directory command reads and writes a full path.
inline constexpr std::size_t kDirectoryBufferSize = 260;
// The chart program's file and title are read as the settings are.
inline constexpr std::size_t kValueBufferSize = 30;

} // namespace korvel::trend_link_settings
