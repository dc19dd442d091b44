// Who the instrument is and how it is: model, BCN, software compatibility,
// self-test, reset.
#include "operation_calls.h"

#include <cstring>

namespace kvlink {
namespace {

constexpr int32_t kCommandReset = 3;
constexpr int32_t kCommandModel = 114;
constexpr int32_t kCommandSelftestBegin = 115;
constexpr int32_t kCommandSelftestResult = 116;
constexpr int32_t kCommandInstrumentBcn = 119;
constexpr int32_t kCommandCompatibility = 127;
constexpr size_t kModelTextSize = 40;
constexpr size_t kCompatibilityTextSize = 8;

struct RawText {
    char *text;
    size_t size;
};

bool decodeRawText(MessageReader &in, void *argument) {
    const auto &area = *static_cast<RawText *>(argument);
    if (!in.getRaw(area.text, area.size)) return false;
    area.text[area.size - 1] = '\0'; // a text handed on is always terminated
    return true;
}

int32_t readText(Session &session, int32_t bcn, int32_t command, char *text, size_t size) {
    RawText area{text, size};
    PayloadCodec codec;
    codec.decode = decodeRawText;
    codec.argument = &area;
    return runExchange(session, bcn, Link::Main, command, codec);
}

// Model code from the model text; the M200 test comes first.
int32_t modelFromText(const char *text) {
    if (std::strncmp(text, "M200", 4) == 0) return KVX_MODEL_M200A;
    if (std::strncmp(text, "M100", 4) == 0) return KVX_MODEL_M100A;
    return KVX_E_UNRECOGNISED_MODEL;
}

int32_t readModel(Session &session, int32_t bcn, char (&text)[kModelTextSize]) {
    const int32_t result = readText(session, bcn, kCommandModel, text, kModelTextSize);
    return result == KVX_OK ? modelFromText(text) : result;
}

} // namespace
} // namespace kvlink

using kvlink::Link;
using kvlink::Session;

extern "C" {

KVX_API int32_t kvxReset(int32_t bcn) { return kvlink::commandCall(bcn, Link::Main, kvlink::kCommandReset); }

KVX_API int32_t kvxSelftestBegin(int32_t bcn) {
    return kvlink::commandCall(bcn, Link::Main, kvlink::kCommandSelftestBegin);
}

KVX_API int32_t kvxSelftestResult(int32_t bcn, uint32_t *result) {
    return kvlink::wordCall(bcn, Link::Main, kvlink::kCommandSelftestResult, result);
}

KVX_API int32_t kvxInstBCN(int32_t bcn, int32_t *reported) {
    return kvlink::wordCall(bcn, Link::Main, kvlink::kCommandInstrumentBcn, reported);
}

KVX_API int32_t kvxModel(int32_t bcn, int32_t *model, char text[40]) {
    return kvlink::instrumentCall(bcn, Link::Main, [&](Session &session) -> int32_t {
        char reply[kvlink::kModelTextSize];
        const int32_t code = kvlink::readModel(session, bcn, reply);
        if (code < 0) return code;
        std::memcpy(text, reply, sizeof reply);
        *model = code;
        return KVX_OK;
    });
}

KVX_API int32_t kvxModelCheck(int32_t bcn) {
    return kvlink::instrumentCall(bcn, Link::Main, [&](Session &session) -> int32_t {
        char reply[kvlink::kModelTextSize];
        const int32_t code = kvlink::readModel(session, bcn, reply);
        if (code < 0) return code;
        return code == session.model ? KVX_OK : KVX_E_MODEL_MISMATCH;
    });
}

KVX_API int32_t kvxLoggerCompatibility(int32_t bcn, char *text) {
    return kvlink::instrumentCall(bcn, Link::Main, [&](Session &session) -> int32_t {
        char reply[kvlink::kCompatibilityTextSize];
        const int32_t result = kvlink::readText(session, bcn, kvlink::kCommandCompatibility, reply, sizeof reply);
        if (result == KVX_OK) std::memcpy(text, reply, std::strlen(reply) + 1);
        return result;
    });
}

} // extern "C"
