#include "logging/logging_core.h"

namespace korvel {

LoggingCore::LoggingCore(SessionTarget target, LoggingWindows &windows, UserInterface &ui, Clock &clock)
        : table_(target.table), frontEnd_{ui, windows, target.toolbox, target.liveValues},
          files_(target.table, target.regional, TrendLinkServices{target.trendLink, clock}),
          engine_(target.table, target.options, target.link, files_, frontEnd_, clock),
          commands_(target.table, target.options, target.link, runs_, files_, frontEnd_, clock),
          remote_(RemoteCommandTargets{target.table, runs_, commands_, target.document, target.programDirectory,
                                       target.regional.decimalSymbol},
                  frontEnd_),
          tick_(target.table, target.options, engine_, files_, remote_, frontEnd_, clock) {
    engine_.setAutoScanDisable(target.autoScanDisable);
    frontEnd_.liveValues.attach(&engine_);
}

LoggingCore::~LoggingCore() { frontEnd_.liveValues.attach(nullptr); }

std::chrono::milliseconds LoggingCore::tick() {
    tick_();
    return rest_.after(tick_.mayRest());
}

} // namespace korvel
