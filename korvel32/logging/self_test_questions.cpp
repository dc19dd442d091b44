#include "logging/self_test_questions.h"

#include <array>

namespace korvel {
namespace {

struct BitQuestion {
    int bit;
    int message;
};

// Result bit → question, in the order they are asked.
constexpr std::array<BitQuestion, 17> kSelftestQuestions{{
    {16, 716},
    {0, 703},
    {1, 704},
    {2, 715},
    {3, 705},
    {4, 706},
    {5, 699},
    {6, 708},
    {7, 709},
    {8, 710},
    {9, 711},
    {10, 712},
    {11, 713},
    {12, 700},
    {13, 701},
    {14, 702},
    {15, 707},
}};

// Without a result word the status word tells less: status bit → question.
constexpr std::array<BitQuestion, 4> kStatusQuestions{{{3, 699}, {2, 700}, {4, 701}, {5, 702}}};

template <std::size_t N>
std::vector<int> questionsFor(const std::array<BitQuestion, N> &table, std::uint32_t word) {
    std::vector<int> messages;
    for (const BitQuestion &entry : table) {
        if (word & (std::uint32_t{1} << entry.bit)) messages.push_back(entry.message);
    }
    return messages;
}

} // namespace

std::vector<int> selfTestQuestions(std::uint32_t status, std::optional<std::uint32_t> selftestResult) {
    if ((status & kStatusProblemMask) == 0) return {};
    if ((status & kStatusSelftestResult) && selftestResult) return questionsFor(kSelftestQuestions, *selftestResult);
    return questionsFor(kStatusQuestions, status);
}

} // namespace korvel
