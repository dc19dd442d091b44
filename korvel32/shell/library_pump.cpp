#include "library_pump.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <kvlink32.h>

namespace korvel {

namespace {

void pumpEvents(void *) { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

} // namespace

void installLibraryPump() { kvxMessagePumpSet(&pumpEvents, nullptr); }

void removeLibraryPump() { kvxMessagePumpSet(nullptr, nullptr); }

} // namespace korvel
