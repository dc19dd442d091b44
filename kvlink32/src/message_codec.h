// Bounded writer and reader over a connection's message buffer. Encoders
// append a request payload, decoders take a reply payload apart; both refuse
// to step outside the message, which the exchange reports as KVX_E_MARSHAL.
#pragma once

#include "byte_order.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace kvlink {

class MessageWriter {
public:
    MessageWriter(uint8_t *buffer, size_t capacity, size_t offset)
            : buffer_(buffer), capacity_(capacity), offset_(offset) {}

    bool putInt(int32_t v) { return putWord(static_cast<uint32_t>(v)); }
    bool putUInt(uint32_t v) { return putWord(v); }
    bool putFloat(float v) { return putWord(floatBits(v)); }
    bool putShort(uint16_t v) {
        if (!fits(2)) return false;
        putU16(buffer_ + offset_, v);
        offset_ += 2;
        return true;
    }
    bool putByte(uint8_t v) { return putRaw(&v, 1); }
    bool putRaw(const void *data, size_t size) {
        if (!fits(size)) return false;
        if (size > 0) std::memcpy(buffer_ + offset_, data, size);
        offset_ += size;
        return true;
    }
    bool putZeros(size_t size) {
        if (!fits(size)) return false;
        std::memset(buffer_ + offset_, 0, size);
        offset_ += size;
        return true;
    }
    size_t offset() const { return offset_; }

private:
    bool fits(size_t size) const { return size <= capacity_ - offset_; }
    bool putWord(uint32_t v) {
        if (!fits(4)) return false;
        putU32(buffer_ + offset_, v);
        offset_ += 4;
        return true;
    }

    uint8_t *buffer_;
    size_t capacity_;
    size_t offset_;
};

class MessageReader {
public:
    MessageReader(const uint8_t *buffer, size_t length, size_t offset)
            : buffer_(buffer), length_(length), offset_(offset) {}

    bool getInt(int32_t &v) {
        uint32_t word;
        if (!getUInt(word)) return false;
        v = static_cast<int32_t>(word);
        return true;
    }
    bool getUInt(uint32_t &v) {
        if (!available(4)) return false;
        v = getU32(buffer_ + offset_);
        offset_ += 4;
        return true;
    }
    bool getFloat(float &v) {
        uint32_t word;
        if (!getUInt(word)) return false;
        v = floatFromBits(word);
        return true;
    }
    bool getShort(uint16_t &v) {
        if (!available(2)) return false;
        v = getU16(buffer_ + offset_);
        offset_ += 2;
        return true;
    }
    bool getByte(uint8_t &v) { return getRaw(&v, 1); }
    bool getRaw(void *data, size_t size) {
        if (!available(size)) return false;
        if (size > 0) std::memcpy(data, buffer_ + offset_, size);
        offset_ += size;
        return true;
    }
    bool skip(size_t size) {
        if (!available(size)) return false;
        offset_ += size;
        return true;
    }
    size_t remaining() const { return length_ - offset_; }
    size_t offset() const { return offset_; }

private:
    bool available(size_t size) const { return size <= length_ - offset_; }

    const uint8_t *buffer_;
    size_t length_;
    size_t offset_;
};

// The payload work of one call: an encoder for the request, a decoder for
// the reply, either may be absent. Both receive the call's argument block.
struct PayloadCodec {
    bool (*encode)(MessageWriter &out, void *argument) = nullptr;
    bool (*decode)(MessageReader &in, void *argument) = nullptr;
    void *argument = nullptr;
};

} // namespace kvlink
