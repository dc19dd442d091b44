// Drives one Instrument directly, on a virtual monotonic time line, and
// reads its scan blocks back field by field.
#pragma once

#include <chrono>
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "byte_order.h"
#include "config_codec.h"
#include "instrument.h"
#include "signal_source.h"
#include "sim_test_helpers.h"

namespace simtest {

using korvelsim::Instrument;
using namespace std::chrono_literals;

struct Record {
    std::int32_t first = 0;
    InstrumentTime time{};
    std::uint32_t msAndDio = 0;
    std::uint32_t alarm1 = 0;
    std::uint32_t alarm2 = 0;
    std::uint32_t totalizer = 0;
    std::vector<float> readings;

    // Milliseconds since the start of the month, enough to compare stamps.
    long long stampMs() const {
        return (((time.day * 24LL + time.hour) * 60 + time.minute) * 60 + time.second) * 1000 + (msAndDio & 0xFFFF);
    }
    std::uint8_t dio() const { return static_cast<std::uint8_t>(msAndDio >> 16); }
};

struct Block {
    std::int32_t recordSize = 0;
    std::uint32_t remaining = 0;
    std::vector<Record> records;
};

inline Block parseBlock(const korvelsim::Bytes &payload) {
    Block block;
    block.recordSize = korvelsim::readI32(payload.data());
    const std::int32_t count = korvelsim::readI32(payload.data() + 4);
    block.remaining = korvelsim::readU32(payload.data() + 8);
    for (std::int32_t k = 0; k < count; ++k) {
        const std::uint8_t *p = payload.data() + 12 + k * block.recordSize;
        Record record;
        record.first = korvelsim::readI32(p);
        std::memcpy(&record.time, p + 4, sizeof record.time);
        record.msAndDio = korvelsim::readU32(p + 12);
        record.alarm1 = korvelsim::readU32(p + 16);
        record.alarm2 = korvelsim::readU32(p + 20);
        record.totalizer = korvelsim::readU32(p + 24);
        for (int offset = 28; offset < block.recordSize; offset += 4) {
            record.readings.push_back(korvelsim::readFloat(p + offset));
        }
        block.records.push_back(record);
    }
    return block;
}

inline ChannelConfig vdc(float m = 1.0f, float b = 0.0f) {
    ChannelConfig channel{};
    channel.function = KVX_FN_VDC;
    channel.range = 8968; // 3 V
    channel.m = m;
    channel.b = b;
    return channel;
}

inline ChannelConfig computedChannel(std::int32_t function, std::int32_t a, std::int32_t aux) {
    ChannelConfig channel{};
    channel.function = function;
    channel.alpha = a;
    channel.aux = aux;
    channel.m = 1.0f;
    return channel;
}

// Scanning every interval, queue full keeps scanning (the logger's default).
inline InstrumentConfig intervalConfig(std::chrono::milliseconds interval) {
    InstrumentConfig config{};
    config.options = korvelsim::kIntervalTriggerOption | (1U << 11);
    config.interval1[2] = static_cast<std::int32_t>(interval.count() / 1000);
    config.interval1[3] = static_cast<std::int32_t>(interval.count() % 1000);
    return config;
}

// An instrument and a time line that starts now and moves only when told.
struct VirtualInstrument {
    VirtualInstrument() : device(3, "M200A") {}

    korvelsim::Response send(std::int32_t command, const korvelsim::Bytes &payload = {}) {
        return device.handle(command, payload.data(), now);
    }
    void configure(const InstrumentConfig &config) {
        ASSERT_FALSE(send(129, korvelsim::encodeConfig(config, true)).isError);
        now += 1s; // past the busy time
    }
    void startNow() { ASSERT_FALSE(send(103, korvelsim::Bytes(16, 0)).isError); }
    Block fetch(std::int32_t most = 100) { return parseBlock(send(100, ints({most})).payload); }
    std::uint32_t status() { return korvelsim::readU32(send(2).payload.data()); }

    Instrument device;
    Instrument::Instant now = korvelsim::SteadyClock::now();
};

} // namespace simtest
