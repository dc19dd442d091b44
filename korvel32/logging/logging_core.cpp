#include "logging/logging_core.h"

namespace korvel {

LoggingCore::LoggingCore(SessionTarget target, LoggingFrontEnd &frontEnd, UserInterface &ui, Clock &clock)
        : table_(target.table), files_(target.table, target.regional), remoteHost_(frontEnd),
          observer_(files_, remote_, frontEnd),
          engine_(target.table, target.options, target.link, ui, observer_, clock),
          commandHost_(target.table, files_, ui, clock, frontEnd),
          commands_(target.table, target.options, target.link, runs_, commandHost_),
          remote_(RemoteCommandTargets{target.table, runs_, commands_, target.document, ui, target.programDirectory,
                                       target.regional.decimalSymbol},
                  remoteHost_),
          tickObserver_(remote_, frontEnd),
          tick_(target.table, target.options, engine_, files_, ui, observer_, tickObserver_, clock) {
    engine_.setAutoScanDisable(target.autoScanDisable);
}

std::chrono::milliseconds LoggingCore::tick() {
    tick_();
    return rest_.after(tick_.mayRest());
}

} // namespace korvel
