// What the program says about itself: its name and version (About box,
// --version), its copyright (About box) and how its windowed front end is
// started (--help).
#pragma once

namespace korvel {

inline constexpr char kProductName[] = "Korvel Logger";
inline constexpr char kProgramVersion[] = "3.01";
// UTF-8.
inline constexpr char kCopyright[] = "Copyright © 2026 Korvel Logger developers";

inline constexpr const char *kWindowedUsage =
    "usage: korvel32 [SETUP] [/G] [/S] [/C] [/X]\n"
    "  opens the logger's main window, which needs a display\n"
    "  SETUP       the setup file to open (record form .stp or the text form)\n"
    "  /G          start all instruments once the setup is open\n"
    "  /S          no splash window\n"
    "  /C          keep the Instrument Calibration command\n"
    "  /X          keep running through a log-off\n";

} // namespace korvel
