// Any bytes as numbers through the number texts, each compared byte for byte
// with snprintf: the first four bytes are a reading for its value text (with
// both decimal symbols), the next eight a double for "%#.*G" and the
// engineering steps, with the count of digits (0 to 17) from the byte after.
#include "platform/engineering_notation.h"
#include "platform/significant_digits.h"
#include "platform/value_text.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "printf_number_texts.h"

namespace {

using namespace korvel;

void expectSame(std::string_view ours, const char *theirs, std::size_t theirLength) {
    if (ours != std::string_view(theirs, theirLength)) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    static const ValueTexts point('.');
    static const ValueTexts comma(',');
    char ours[kValueTextCapacity];
    char theirs[64];
    if (size >= sizeof(float)) {
        float reading = 0;
        std::memcpy(&reading, data, sizeof reading);
        for (const ValueTexts *texts : {&point, &comma}) {
            const char decimalSymbol = texts == &point ? '.' : ',';
            const std::size_t length = texts->write(reading, ours);
            expectSame({ours, length}, theirs, oracle::printfValueText(reading, decimalSymbol, theirs, sizeof theirs));
        }
    }
    constexpr std::size_t kDoubleAt = sizeof(float);
    if (size >= kDoubleAt + sizeof(double) + 1) {
        double value = 0;
        std::memcpy(&value, data + kDoubleAt, sizeof value);
        const int digits = data[kDoubleAt + sizeof value] % (kMaxSignificantDigits + 1);
        std::size_t length = writeSignificant(value, digits, ours, ',');
        expectSame({ours, length}, theirs, oracle::printfSignificant(value, digits, ',', theirs, sizeof theirs));
        length = writeEngineering(value, digits, '.', ours);
        expectSame({ours, length}, theirs, oracle::printfEngineering(value, digits, '.', theirs, sizeof theirs));
    }
    return 0;
}
