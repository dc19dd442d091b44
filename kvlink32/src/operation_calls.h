// The shapes most instrument operations share: a command with up to three
// int arguments that answers nothing or one 32-bit word.
#pragma once

#include "exchange.h"
#include "library_state.h"

#include <cstdint>
#include <type_traits>

namespace kvlink {

struct IntArguments {
    int32_t values[3] = {0, 0, 0};
    int count = 0;
};

inline IntArguments ints(int32_t first) { return IntArguments{{first, 0, 0}, 1}; }
inline IntArguments ints(int32_t first, int32_t second) { return IntArguments{{first, second, 0}, 2}; }

// Runs the command with its int arguments; when `reply` is given the reply's
// word (int, unsigned or float bits) is decoded into it.
int32_t runCommand(Session &session, int32_t bcn, Link link, int32_t command, const IntArguments &arguments = {},
                   uint32_t *reply = nullptr);

// The entry guard, then the command with its int arguments.
int32_t commandCall(int32_t bcn, Link link, int32_t command, IntArguments arguments = {});

template <class Word>
void storeWord(uint32_t word, Word *out) {
    static_assert(sizeof(Word) == 4);
    if constexpr (std::is_floating_point_v<Word>)
        *out = floatFromBits(word);
    else
        *out = static_cast<Word>(word);
}

// The entry guard, then the command; its reply word is stored in *out on success.
template <class Word>
int32_t wordCall(int32_t bcn, Link link, int32_t command, Word *out, IntArguments arguments = {}) {
    return instrumentCall(bcn, link, [&](Session &session) -> int32_t {
        uint32_t word = 0;
        const int32_t result = runCommand(session, bcn, link, command, arguments, &word);
        if (result == KVX_OK) storeWord(word, out);
        return result;
    });
}

} // namespace kvlink
