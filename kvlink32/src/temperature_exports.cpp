// The temperature services: the instrument does the computation, the
// library carries the arguments in the order given and the float answer.
#include "exchange.h"
#include "library_state.h"

#include <array>
#include <cstddef>

namespace kvlink {
namespace {

constexpr int32_t kCommandTempBlock = 120;
constexpr int32_t kCommandTempLin = 121;
constexpr int32_t kCommandTempRefAdj = 122;

struct TemperatureRequest {
    int32_t value = 0;
    std::array<float, 2> floats{};
    size_t floatCount = 0;
    float answer = 0.0f;
};

bool encodeRequest(MessageWriter &out, void *argument) {
    const auto &request = *static_cast<const TemperatureRequest *>(argument);
    if (!out.putInt(request.value)) return false;
    for (size_t i = 0; i < request.floatCount; ++i) {
        if (!out.putFloat(request.floats[i])) return false;
    }
    return true;
}

bool decodeAnswer(MessageReader &in, void *argument) {
    return in.getFloat(static_cast<TemperatureRequest *>(argument)->answer);
}

// A request without arguments (the block temperature) sends no payload.
int32_t temperatureCall(int32_t bcn, int32_t command, TemperatureRequest request, bool withArguments, float *result) {
    return instrumentCall(bcn, Link::Main, [&](Session &session) -> int32_t {
        const PayloadCodec codec{withArguments ? encodeRequest : nullptr, decodeAnswer, &request};
        const int32_t status = runExchange(session, bcn, Link::Main, command, codec);
        if (status == KVX_OK) *result = request.answer;
        return status;
    });
}

} // namespace
} // namespace kvlink

extern "C" {

KVX_API int32_t kvxTempBlock(int32_t bcn, float *result) {
    return kvlink::temperatureCall(bcn, kvlink::kCommandTempBlock, {}, false, result);
}

KVX_API int32_t kvxTempLin(int32_t bcn, int32_t value, float first, float second, float *result) {
    return kvlink::temperatureCall(bcn, kvlink::kCommandTempLin, {value, {first, second}, 2, 0.0f}, true, result);
}

KVX_API int32_t kvxTempRefAdj(int32_t bcn, int32_t value, float first, float *result) {
    return kvlink::temperatureCall(bcn, kvlink::kCommandTempRefAdj, {value, {first, 0.0f}, 1, 0.0f}, true, result);
}

} // extern "C"
