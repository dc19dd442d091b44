// The equation compiler: the text of a computed channel's equation becomes
// the postfix byte code that the instrument evaluates. Pure function of its
// input; it never writes past the caller's equation area.
#pragma once

#include "kvlink32.h"

#include <cstddef>
#include <cstdint>

namespace kvlink {

// Token codes of the equation byte code. Operands follow their code in host
// byte order and come before their operator.
enum EquationToken : uint8_t {
    TokenEnd = 0,
    TokenChannel = 1,  // + 16-bit channel number 1..30
    TokenConstant = 2, // + 32-bit float
    TokenReserved = 3, // + 8 bytes, never produced
    TokenNegate = 4,
    TokenSubtract = 5,
    TokenAdd = 6,
    TokenMultiply = 7,
    TokenDivide = 8,
    TokenPower = 9,
    TokenExp = 10,
    TokenLn = 11,
    TokenLog = 12,
    TokenAbs = 13,
    TokenInt = 14,
    TokenSqr = 15,
    TokenLast = TokenSqr,
};

// Bytes a token occupies, code included.
constexpr size_t equationTokenSize(uint8_t code) {
    switch (code) {
        case TokenChannel: return 3;
        case TokenConstant: return 5;
        case TokenReserved: return 9;
        default: return 1;
    }
}

// Compile errors, as the logger numbers its messages for them.
enum EquationError : int32_t {
    EquationOk = 0,
    EquationBadChannel = 1,       // "Invalid Channel Number!"
    EquationSyntax = 2,           // "Invalid Equation!"
    EquationTooDeep = 3,          // "Exceeded nested parentheses limit!"
    EquationNoRightParen = 4,     // "Missing right parenthesis!"
    EquationNoLeftParen = 5,      // "Missing left parenthesis!"
    EquationTooLong = 6,          // "Token string is too large!"
    EquationConstantTooLarge = 7, // "Constant too large!"
    EquationNoChannel = 8,        // "Missing channel number reference!"
};

struct EquationResult {
    int32_t error = EquationOk;
    int32_t errorPosition = 0; // offset into the text, set with error
    int32_t channelMask = 0;   // bit n-1: channel n referenced
    int32_t length = 0;        // byte-code bytes including the end code
};

// Compiles the zero-terminated text into out (KVX_EQUATION_AREA bytes).
// After a failure out may hold a partial byte code.
EquationResult compileEquation(const char *text, uint8_t *out);

} // namespace kvlink
