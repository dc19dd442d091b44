// The logger's one way to the instrument library: every kvx call of the
// engine and the windows passes through here. Each member is the library
// function of the same name and returns its result code; outputs are written
// only on success, as the library does. A test overrides the calls it needs
// to fail in ways the simulator cannot make and leaves the rest to the
// library.
#pragma once

#include "kvlink32.h"

#include <array>
#include <cstdint>

namespace korvel {

// One entry of ccf.cfg.
struct CcfEntry {
    std::int32_t bcn = 0;
    std::array<std::uint8_t, 4> address{};
    std::int32_t model = 0; // KVX_MODEL_M200A or KVX_MODEL_M100A
};

class InstrumentLink {
public:
    virtual ~InstrumentLink() = default;

    // The library and its waits.
    virtual std::int32_t libInit(bool dispatchWhileWaiting);
    virtual std::int32_t libExit();
    virtual std::int32_t timeoutSet(std::int32_t seconds);
    virtual std::int32_t messagePumpSet(KvxMessagePump pump, void *context);
    virtual void pcTimeChange();
    virtual std::int32_t timeToolbox(std::int32_t &seconds, std::int32_t &milliseconds);

    // The communications configuration, ccf.cfg.
    virtual std::int32_t ccfCreate();
    virtual std::int32_t ccfNumEntries();
    virtual std::int32_t ccfLowBcn();
    virtual std::int32_t ccfGetEntry(std::uint32_t index, CcfEntry &entry);
    virtual std::int32_t ccfGetBcn(std::int32_t bcn, CcfEntry &entry);
    virtual std::int32_t ccfGetNetMode();
    virtual std::int32_t ccfSetNetMode(std::int32_t mode);
    // The changes are refused while any session is open.
    virtual std::int32_t ccfSetBcn(const CcfEntry &entry);
    virtual std::int32_t ccfDelBcn(std::int32_t bcn);
    virtual std::int32_t ccfDelAll();
    virtual std::int32_t ccfChangeBcn(std::int32_t oldBcn, std::int32_t newBcn);
    virtual std::int32_t ccfGetTcpPort();
    virtual std::int32_t ccfSetTcpPort(std::uint32_t port);

    // One instrument's session.
    virtual std::int32_t commOpen(std::int32_t bcn);
    virtual std::int32_t commClose(std::int32_t bcn);
    virtual std::int32_t instBcn(std::int32_t bcn, std::int32_t &reported);
    virtual std::int32_t modelCheck(std::int32_t bcn);
    virtual std::int32_t instStatus(std::int32_t bcn, std::uint32_t &status);
    virtual std::int32_t selftestResult(std::int32_t bcn, std::uint32_t &result);
    virtual std::int32_t busyWait(std::int32_t bcn, std::uint32_t longestMs, std::uint32_t &status);
    virtual std::int32_t iError(std::int32_t bcn, std::int32_t &word);
    // text: at least 8 bytes.
    virtual std::int32_t loggerCompatibility(std::int32_t bcn, char *text);
    virtual std::int32_t timeSet(std::int32_t bcn);
    virtual std::int32_t configSet(std::int32_t bcn, std::int32_t type, const InstrumentConfig &config,
                                   std::int32_t &detail);
    virtual std::int32_t totalizerClear(std::int32_t bcn);
    virtual std::int32_t instMonitor(std::int32_t bcn, bool on, std::uint32_t channel);
    virtual std::int32_t scansEnable(std::int32_t bcn, bool on);
    virtual std::int32_t scansEnableAt(std::int32_t bcn, const InstrumentTime &time, std::int32_t milliseconds);
    // The logging tick's read: scanBuffer holds a ScanBufferHeader and room for
    // maxCount records.
    virtual std::int32_t scansGet(std::int32_t bcn, std::uint32_t maxCount, void *scanBuffer);

    // The equation compiler; out holds KVX_EQUATION_AREA bytes.
    virtual std::int32_t parseExpr(const char *text, std::uint8_t *out, std::int32_t &channelMask, std::int32_t &length,
                                   std::int32_t &errorPosition, std::int32_t &errorCode);
};

} // namespace korvel
