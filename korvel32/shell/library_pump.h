// While the instrument library waits for an instrument it pumps the logger's
// events, user input excluded, so that timers and painting go on.
#pragma once

namespace korvel {

class InstrumentLink;

void installLibraryPump(InstrumentLink &link);
void removeLibraryPump(InstrumentLink &link);

} // namespace korvel
