// The kvxCCF... exports: each reads ccf.cfg afresh and, when it changes
// something, writes the whole file back.
#include "ccf_file.h"
#include "library_state.h"

#include <algorithm>

namespace kvlink {
namespace {

// A reading call: the file read afresh, then one answer from its image.
template <class Answer>
int32_t answerFromCcf(Answer &&answer) {
    return guardedCall([&]() -> int32_t {
        CcfImage image;
        const int32_t read = readCcf(library().ccfPath, image);
        if (read != KVX_OK) return read;
        return answer(image);
    });
}

// A changing call, after its argument checks: the file cannot change under an
// open session; otherwise read, change the image, write it back whole.
template <class Change>
int32_t rewriteCcf(Change &&change) {
    LibraryState &lib = library();
    if (lib.openSessions > 0) return KVX_E_SESSIONS_OPEN;
    CcfImage image;
    const int32_t read = readCcf(lib.ccfPath, image);
    if (read != KVX_OK) return read;
    const int32_t changed = change(image);
    if (changed != KVX_OK) return changed;
    return writeCcf(lib.ccfPath, image);
}

// Fills the caller's address and model of an entry; null pointers are
// skipped.
void reportEntry(const CcfImage &image, int slot, uint8_t *address, int32_t *model) {
    if (address != nullptr) {
        const auto shown = ccfEntryAddress(image, slot, library().isolatedPrefix);
        std::copy(shown.begin(), shown.end(), address);
    }
    if (model != nullptr) *model = image.models[static_cast<size_t>(slot)];
}

} // namespace
} // namespace kvlink

using namespace kvlink;

extern "C" {

KVX_API int32_t kvxCCFcreate(void) {
    return guardedCall([] { return createCcf(library().ccfPath); });
}

KVX_API int32_t kvxCCFnumEntries(void) {
    return answerFromCcf([](const CcfImage &image) -> int32_t { return image.count; });
}

KVX_API int32_t kvxCCFlowBCN(void) {
    return answerFromCcf([](const CcfImage &image) -> int32_t {
        if (image.count == 0) return 0;
        return *std::min_element(image.bcns.begin(), image.bcns.begin() + image.count);
    });
}

KVX_API int32_t kvxCCFgetEntry(uint32_t index, int32_t *bcn, uint8_t address[4], int32_t *model) {
    return answerFromCcf([&](const CcfImage &image) -> int32_t {
        if (index >= image.count) return KVX_E_BAD_INDEX;
        const int slot = static_cast<int>(index);
        if (bcn != nullptr) *bcn = image.bcns[index];
        reportEntry(image, slot, address, model);
        return KVX_OK;
    });
}

KVX_API int32_t kvxCCFgetBCN(int32_t bcn, uint8_t address[4], int32_t *model) {
    return answerFromCcf([&](const CcfImage &image) -> int32_t {
        const int slot = findCcfSlot(image, bcn);
        if (slot < 0) return 0;
        reportEntry(image, slot, address, model);
        return KVX_OK;
    });
}

KVX_API int32_t kvxCCFsetBCN(int32_t bcn, const uint8_t address[4], int32_t model) {
    if (!validBcn(bcn)) return KVX_E_BAD_BCN;
    return guardedCall([&]() -> int32_t {
        if (model != KVX_MODEL_M200A && model != KVX_MODEL_M100A) return KVX_E_BAD_MODEL;
        // A missing address is taken as 0.0.0.0, the address isolated entries carry.
        std::array<uint8_t, 4> given{};
        if (address != nullptr) std::copy(address, address + given.size(), given.begin());
        return rewriteCcf([&](CcfImage &image) { return setCcfEntry(image, bcn, given, static_cast<uint8_t>(model)); });
    });
}

KVX_API int32_t kvxCCFdelBCN(int32_t bcn) {
    return guardedCall([&] { return rewriteCcf([&](CcfImage &image) { return deleteCcfEntry(image, bcn); }); });
}

KVX_API int32_t kvxCCFdelAll(void) {
    return guardedCall([] {
        return rewriteCcf([](CcfImage &image) {
            deleteAllCcfEntries(image);
            return KVX_OK;
        });
    });
}

KVX_API int32_t kvxCCFchangeBCN(int32_t oldBcn, int32_t newBcn) {
    return guardedCall(
        [&] { return rewriteCcf([&](CcfImage &image) { return changeCcfBcn(image, oldBcn, newBcn); }); });
}

KVX_API int32_t kvxCCFgetNetMode(void) {
    return answerFromCcf([](const CcfImage &image) -> int32_t { return image.netMode; });
}

KVX_API int32_t kvxCCFsetNetMode(int32_t mode) {
    return guardedCall([&]() -> int32_t {
        if (mode != KVX_NET_ISOLATED && mode != KVX_NET_GENERAL) return KVX_E_BAD_NET_MODE;
        return rewriteCcf([&](CcfImage &image) {
            image.netMode = static_cast<uint8_t>(mode);
            return KVX_OK;
        });
    });
}

KVX_API int32_t kvxCCFgetTCPport(void) {
    return answerFromCcf([](const CcfImage &image) { return image.socketPort; });
}

KVX_API int32_t kvxCCFsetTCPport(uint32_t port) {
    return guardedCall([&]() -> int32_t {
        if (port < 1024 || port > 65535) return KVX_E_BAD_PORT;
        return rewriteCcf([&](CcfImage &image) {
            image.socketPort = static_cast<int32_t>(port);
            return KVX_OK;
        });
    });
}

} // extern "C"
