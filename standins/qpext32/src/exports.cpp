// The entry points the logger calls, each a thin call into the add-on.
#include "qpext32.h"

#include "channel_layout.h"
#include "toolbox.h"

#include <cstring>
#include <string>

using qpext32::toolbox;

namespace {

constexpr int kMaxBcn = 99;
constexpr std::uint32_t kLargestRecord = qpext32::kScanHeaderBytes + 4 * qpext32::kChannels;

bool validBcn(int32_t bcn) { return bcn >= 1 && bcn <= kMaxBcn; }

bool validRecordSize(uint32_t size) {
    return size >= qpext32::kScanHeaderBytes && size <= kLargestRecord && size % 4 == 0;
}

} // namespace

extern "C" {

QPEXT32_API int32_t qpext32_ordinal_3(const Qpext32CommandChannel *channel) {
    toolbox().connect(channel);
    return QPEXT32_OK;
}

QPEXT32_API int32_t qpext32_ordinal_4(void) {
    toolbox().shutDown();
    return QPEXT32_OK;
}

QPEXT32_API int32_t qpext32_ordinal_5(int32_t bcn, uint32_t queueBytes) {
    if (!validBcn(bcn)) return QPEXT32_E_NO_MEMORY;
    return toolbox().state().setQueue(bcn, queueBytes, false) ? QPEXT32_OK : QPEXT32_E_NO_MEMORY;
}

QPEXT32_API int32_t qpext32_ordinal_6(int32_t bcn) {
    toolbox().state().removeInstrument(bcn);
    return QPEXT32_OK;
}

QPEXT32_API int32_t qpext32_ordinal_7(int32_t bcn, uint32_t queueBytes) {
    if (!validBcn(bcn)) return QPEXT32_E_NO_MEMORY;
    return toolbox().state().setQueue(bcn, queueBytes, true) ? QPEXT32_OK : QPEXT32_E_NO_MEMORY;
}

QPEXT32_API int32_t qpext32_ordinal_8(const char *setupPath) {
    toolbox().state().setSetupFile(setupPath ? setupPath : "");
    return QPEXT32_OK;
}

QPEXT32_API int32_t qpext32_ordinal_9(int32_t bcn, uint32_t definedChannels, const char *const labels[],
                                      const char *const units[]) {
    if (validBcn(bcn)) toolbox().state().setLayout(bcn, qpext32::channelLayout(definedChannels, labels, units));
    return QPEXT32_OK;
}

QPEXT32_API int32_t qpext32_ordinal_10(int32_t bcn, int32_t logging) {
    toolbox().state().setLogging(bcn, logging != 0);
    return QPEXT32_OK;
}

QPEXT32_API int32_t qpext32_ordinal_11(int32_t on) {
    toolbox().state().setRemoteMode(on != 0);
    return QPEXT32_OK;
}

QPEXT32_API int32_t qpext32_ordinal_12(int32_t bcn, int32_t code) {
    toolbox().state().reportError(bcn, code);
    return QPEXT32_OK;
}

QPEXT32_API int32_t qpext32_ordinal_13(int32_t bcn, int32_t reply) {
    toolbox().state().commandDone(bcn, reply);
    return QPEXT32_OK;
}

QPEXT32_API int32_t qpext32_ordinal_14(int32_t kind, char *path, uint32_t size) {
    if (!path || size == 0) return -1;
    const std::string given = toolbox().state().commandPath(kind);
    // A path cut short could name another file: none is better.
    if (given.empty() || given.size() >= size) {
        path[0] = '\0';
        return -1;
    }
    std::memcpy(path, given.c_str(), given.size() + 1);
    return static_cast<int32_t>(given.size());
}

QPEXT32_API int32_t qpext32_ordinal_15(int32_t bcn, int32_t count, const void *records, uint32_t remaining,
                                       uint32_t recordSize) {
    if (!validBcn(bcn) || count <= 0 || !records || !validRecordSize(recordSize)) return QPEXT32_OK;
    toolbox().state().queueScans(bcn, static_cast<const std::uint8_t *>(records), count, recordSize,
                                 remaining & 0x7FFFFFFFu);
    return QPEXT32_OK;
}

QPEXT32_API int32_t qpext32_ordinal_16(int32_t oldBcn, int32_t newBcn) {
    if (validBcn(oldBcn) && validBcn(newBcn) && oldBcn != newBcn) toolbox().state().renameInstrument(oldBcn, newBcn);
    return QPEXT32_OK;
}

} // extern "C"
