// The message that tells the user why communications with an instrument
// could not be opened.
#pragma once

namespace korvel {

// The string number for a negative result of kvxCommOpen, kvxInstBCN or
// kvxModelCheck; unknown codes get the "Unknown Communication Error!" text.
int communicationFailureMessage(int code);

} // namespace korvel
