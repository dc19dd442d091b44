// kvxParseExpr: the equation compiler behind the library guard. It needs an
// initialised library but no session.
#include "equation_compiler.h"
#include "kvlink32.h"
#include "library_state.h"

extern "C" KVX_API int32_t kvxParseExpr(const char *text, uint8_t *out, int32_t *channelMask, int32_t *length,
                                        int32_t *errorPosition, int32_t *errorCode) {
    return kvlink::guardedCall([&]() -> int32_t {
        const kvlink::EquationResult result = kvlink::compileEquation(text, out);
        if (result.error != kvlink::EquationOk) {
            *errorCode = result.error;
            *errorPosition = result.errorPosition;
            return 0;
        }
        *channelMask = result.channelMask;
        *length = result.length;
        *errorCode = kvlink::EquationOk;
        return KVX_OK;
    });
}
