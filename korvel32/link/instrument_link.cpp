#include "link/instrument_link.h"

namespace korvel {

std::int32_t InstrumentLink::libInit(bool dispatchWhileWaiting) { return kvxLibInit(dispatchWhileWaiting ? 1 : 0); }

std::int32_t InstrumentLink::libExit() { return kvxLibExit(); }

std::int32_t InstrumentLink::timeoutSet(std::int32_t seconds) { return kvxTimeoutSet(seconds); }

std::int32_t InstrumentLink::messagePumpSet(KvxMessagePump pump, void *context) {
    return kvxMessagePumpSet(pump, context);
}

void InstrumentLink::pcTimeChange() { kvxPCTimeChange(); }

std::int32_t InstrumentLink::timeToolbox(std::int32_t &seconds, std::int32_t &milliseconds) {
    return kvxTimeToolbox(&seconds, &milliseconds);
}

std::int32_t InstrumentLink::ccfCreate() { return kvxCCFcreate(); }

std::int32_t InstrumentLink::ccfNumEntries() { return kvxCCFnumEntries(); }

std::int32_t InstrumentLink::ccfLowBcn() { return kvxCCFlowBCN(); }

std::int32_t InstrumentLink::ccfGetEntry(std::uint32_t index, CcfEntry &entry) {
    return kvxCCFgetEntry(index, &entry.bcn, entry.address.data(), &entry.model);
}

std::int32_t InstrumentLink::ccfGetBcn(std::int32_t bcn, CcfEntry &entry) {
    const std::int32_t result = kvxCCFgetBCN(bcn, entry.address.data(), &entry.model);
    if (result >= 1) entry.bcn = bcn;
    return result;
}

std::int32_t InstrumentLink::ccfGetNetMode() { return kvxCCFgetNetMode(); }

std::int32_t InstrumentLink::ccfSetNetMode(std::int32_t mode) { return kvxCCFsetNetMode(mode); }

std::int32_t InstrumentLink::ccfSetBcn(const CcfEntry &entry) {
    return kvxCCFsetBCN(entry.bcn, entry.address.data(), entry.model);
}

std::int32_t InstrumentLink::ccfDelBcn(std::int32_t bcn) { return kvxCCFdelBCN(bcn); }

std::int32_t InstrumentLink::ccfDelAll() { return kvxCCFdelAll(); }

std::int32_t InstrumentLink::ccfChangeBcn(std::int32_t oldBcn, std::int32_t newBcn) {
    return kvxCCFchangeBCN(oldBcn, newBcn);
}

std::int32_t InstrumentLink::ccfGetTcpPort() { return kvxCCFgetTCPport(); }

std::int32_t InstrumentLink::ccfSetTcpPort(std::uint32_t port) { return kvxCCFsetTCPport(port); }

std::int32_t InstrumentLink::commOpen(std::int32_t bcn) { return kvxCommOpen(bcn); }

std::int32_t InstrumentLink::commClose(std::int32_t bcn) { return kvxCommClose(bcn); }

std::int32_t InstrumentLink::instBcn(std::int32_t bcn, std::int32_t &reported) { return kvxInstBCN(bcn, &reported); }

std::int32_t InstrumentLink::modelCheck(std::int32_t bcn) { return kvxModelCheck(bcn); }

std::int32_t InstrumentLink::instStatus(std::int32_t bcn, std::uint32_t &status) { return kvxInstStatus(bcn, &status); }

std::int32_t InstrumentLink::selftestResult(std::int32_t bcn, std::uint32_t &result) {
    return kvxSelftestResult(bcn, &result);
}

std::int32_t InstrumentLink::busyWait(std::int32_t bcn, std::uint32_t longestMs, std::uint32_t &status) {
    return kvxBusyWait(bcn, longestMs, &status);
}

std::int32_t InstrumentLink::iError(std::int32_t bcn, std::int32_t &word) { return kvxIError(bcn, &word); }

std::int32_t InstrumentLink::loggerCompatibility(std::int32_t bcn, char *text) {
    return kvxLoggerCompatibility(bcn, text);
}

std::int32_t InstrumentLink::timeSet(std::int32_t bcn) { return kvxTimeSet(bcn); }

std::int32_t InstrumentLink::configSet(std::int32_t bcn, std::int32_t type, const InstrumentConfig &config,
                                       std::int32_t &detail) {
    return kvxConfigSet(bcn, type, &config, &detail);
}

std::int32_t InstrumentLink::totalizerClear(std::int32_t bcn) { return kvxTotalizerClear(bcn); }

std::int32_t InstrumentLink::instMonitor(std::int32_t bcn, bool on, std::uint32_t channel) {
    return kvxInstMonitor(bcn, on ? 1 : 0, channel);
}

std::int32_t InstrumentLink::scansEnable(std::int32_t bcn, bool on) { return kvxScansEnable(bcn, on ? 1 : 0); }

std::int32_t InstrumentLink::scansEnableAt(std::int32_t bcn, const InstrumentTime &time, std::int32_t milliseconds) {
    return kvxScansEnableAt(bcn, &time, milliseconds);
}

std::int32_t InstrumentLink::scansGet(std::int32_t bcn, std::uint32_t maxCount, void *scanBuffer) {
    return kvxScansGet(bcn, maxCount, scanBuffer);
}

std::int32_t InstrumentLink::parseExpr(const char *text, std::uint8_t *out, std::int32_t &channelMask,
                                       std::int32_t &length, std::int32_t &errorPosition, std::int32_t &errorCode) {
    return kvxParseExpr(text, out, &channelMask, &length, &errorPosition, &errorCode);
}

} // namespace korvel
