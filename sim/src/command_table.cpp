#include "command_table.h"

#include <algorithm>
#include <array>

namespace korvelsim {

namespace {

constexpr std::size_t kConfigType1 = 1492;
constexpr std::size_t kConfigType2 = 2492;
constexpr std::size_t kPassThruBlock = 4 + 2000;

constexpr CommandShape both(std::int32_t code) { return {code, 0, true, true}; }
constexpr CommandShape mainOnly(std::int32_t code, std::size_t payload = 0) { return {code, payload, true, false}; }
constexpr CommandShape passThru(std::int32_t code, std::size_t payload = 0) { return {code, payload, false, true}; }

constexpr std::array kCommands = {
    both(0),
    both(1),
    both(2),
    mainOnly(3),
    mainOnly(4),
    mainOnly(100, 4),
    mainOnly(101),
    mainOnly(102, 4),
    mainOnly(103, 16),
    mainOnly(104),
    mainOnly(105),
    mainOnly(106, 12),
    mainOnly(107),
    mainOnly(108, kConfigType1),
    mainOnly(109),
    mainOnly(110, 8),
    mainOnly(111, 4),
    mainOnly(112),
    mainOnly(113),
    mainOnly(114),
    mainOnly(115),
    mainOnly(116),
    mainOnly(117, 4),
    mainOnly(118),
    mainOnly(119),
    mainOnly(120),
    mainOnly(121, 12),
    mainOnly(122, 8),
    mainOnly(123, 4),
    mainOnly(124),
    mainOnly(125),
    mainOnly(126),
    mainOnly(127),
    mainOnly(128),
    mainOnly(129, kConfigType2),
    passThru(200, 4),
    passThru(201),
    passThru(202, kPassThruBlock),
    passThru(203, 4),
    passThru(204),
    passThru(205, 8),
    passThru(206),
};

} // namespace

const CommandShape *findCommand(std::int32_t code) {
    const auto *found = std::find_if(kCommands.begin(), kCommands.end(),
                                     [code](const CommandShape &entry) { return entry.code == code; });
    return found == kCommands.end() ? nullptr : found;
}

} // namespace korvelsim
