#include "library_pump.h"

#include <QCoreApplication>
#include <QEventLoop>

#include "link/instrument_link.h"

namespace korvel {

namespace {

void pumpEvents(void *) { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

} // namespace

void installLibraryPump(InstrumentLink &link) { link.messagePumpSet(&pumpEvents, nullptr); }

void removeLibraryPump(InstrumentLink &link) { link.messagePumpSet(nullptr, nullptr); }

} // namespace korvel
