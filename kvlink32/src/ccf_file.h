// ccf.cfg, the communications configuration: reading it into an image,
// changing the image, and writing it back whole.
#pragma once

#include "kvlink32.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kvlink {

struct CcfImage {
    uint8_t netMode = 0;
    std::array<uint8_t, KVX_MAX_BCN> models{};
    std::array<int32_t, KVX_MAX_BCN> bcns{}; // 0 marks an empty slot
    std::array<std::array<uint8_t, 4>, KVX_MAX_BCN> addresses{};
    int32_t socketPort = 0;
    uint8_t count = 0; // entries read
};

// Reads the file afresh: KVX_OK, KVX_E_CCF_MISSING or KVX_E_CCF_DAMAGED.
int32_t readCcf(const std::string &path, CcfImage &image);

// Writes the image whole (through a temporary file renamed over the old
// one): KVX_OK or KVX_E_CCF_WRITE.
int32_t writeCcf(const std::string &path, const CcfImage &image);

// Creates the file with mode 2, port 4369 and no entries unless it exists:
// 0 when it existed, 1 when created, KVX_E_CCF_WRITE.
int32_t createCcf(const std::string &path);

// Slot of the BCN among the first image.count slots, or -1.
int findCcfSlot(const CcfImage &image, int32_t bcn);

// The part of the file that is read; text beyond it is ignored.
constexpr size_t kCcfReadLimit = 9010;

// Parses the text of the file (it ends at its first zero byte) into a zeroed
// image: KVX_OK or KVX_E_CCF_DAMAGED.
int32_t parseCcf(std::string_view text, CcfImage &image);

// The whole text of the file for an image, CR LF lines.
std::string formatCcf(const CcfImage &image);

// Changes on the image; the caller writes it back afterwards.
// Set: updates the BCN's slot in place or appends one. In isolated mode the
// address is not stored: a new slot gets 0.0.0.0, an existing one keeps its
// own. KVX_OK, or KVX_E_CCF_DAMAGED when no slot is left for a new BCN.
int32_t setCcfEntry(CcfImage &image, int32_t bcn, const std::array<uint8_t, 4> &address, uint8_t model);
// KVX_OK or KVX_E_BCN_NOT_CONFIGURED.
int32_t deleteCcfEntry(CcfImage &image, int32_t bcn);
void deleteAllCcfEntries(CcfImage &image);
// KVX_OK, KVX_E_EXISTS when the new BCN is present, KVX_E_BCN_NOT_CONFIGURED.
int32_t changeCcfBcn(CcfImage &image, int32_t oldBcn, int32_t newBcn);

// The address a caller sees for a slot: the stored one, or in isolated mode
// the isolated-network prefix followed by the BCN's low byte.
std::array<uint8_t, 4> ccfEntryAddress(const CcfImage &image, int slot, const std::array<uint8_t, 3> &isolatedPrefix);

} // namespace kvlink
