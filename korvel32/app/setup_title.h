// The setup's name as the window title shows it, and the name Save As
// proposes for it.
#pragma once

#include <string>

namespace korvel {

// A new setup's title, the document's name.
inline constexpr const char *kNewSetupTitle = "Setup";

// The file name of the setup's path; kNewSetupTitle for a setup never saved.
std::string setupTitle(const std::string &pathName);

// The setup's path; for a setup never saved its title with ".stp" (a title
// short enough and without blanks to serve as a file name as it is).
std::string proposedSetupFileName(const std::string &pathName);

} // namespace korvel
