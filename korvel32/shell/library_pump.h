// While the instrument library waits for an instrument it pumps the logger's
// events, user input excluded, so that timers and painting go on.
#pragma once

namespace korvel {

void installLibraryPump();
void removeLibraryPump();

} // namespace korvel
