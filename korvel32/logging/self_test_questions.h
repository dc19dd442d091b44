// The questions asked when an instrument reports a self-test or condition
// problem as logging starts: one per problem, each "... Continue?".
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace korvel {

// Status bits 0..15: some problem is worth examining.
constexpr std::uint32_t kStatusProblemMask = 0xFFFFu;
// Status bit 8: the detailed self-test result word can be read.
constexpr std::uint32_t kStatusSelftestResult = 1u << 8;

// The string numbers of the questions, in the order they are asked. The
// self-test result word decides when it could be read; the status word
// otherwise.
std::vector<int> selfTestQuestions(std::uint32_t status, std::optional<std::uint32_t> selftestResult);

} // namespace korvel
