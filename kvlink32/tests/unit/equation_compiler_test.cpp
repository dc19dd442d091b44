// The equation compiler: byte code of each construct, error codes with their
// positions, and the bounds of the equation area.
#include "equation_compiler.h"

#include <gtest/gtest.h>

#include <array>
#include <cfloat>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

using kvlink::EquationResult;
using Bytes = std::vector<uint8_t>;

Bytes channel(uint16_t number) {
    Bytes token{kvlink::TokenChannel, 0, 0};
    std::memcpy(&token[1], &number, sizeof number);
    return token;
}

Bytes constant(float value) {
    Bytes token(5, kvlink::TokenConstant);
    std::memcpy(&token[1], &value, sizeof value);
    return token;
}

Bytes op(kvlink::EquationToken code) { return {code}; }

// The tokens in order, then the end code.
Bytes byteCode(std::initializer_list<Bytes> tokens) {
    Bytes code;
    for (const Bytes &token : tokens) code.insert(code.end(), token.begin(), token.end());
    code.push_back(kvlink::TokenEnd);
    return code;
}

struct Compiled {
    std::string text;
    Bytes expected;
    int32_t mask;
};

TEST(EquationCompilerTest, CompilesToPostfixByteCode) {
    using namespace kvlink;
    const Compiled cases[] = {
        {"C1", byteCode({channel(1)}), 0x1},
        {"c2 + 3", byteCode({channel(2), constant(3.0f), op(TokenAdd)}), 0x2},
        {"(C1+C2)/2", byteCode({channel(1), channel(2), op(TokenAdd), constant(2.0f), op(TokenDivide)}), 0x3},
        {"LOG(C3)*1.5", byteCode({channel(3), op(TokenLog), constant(1.5f), op(TokenMultiply)}), 0x4},
        {"C30 - C29", byteCode({channel(30), channel(29), op(TokenSubtract)}), 0x30000000},
        {"C01", byteCode({channel(1)}), 0x1},
        {"  C1  ", byteCode({channel(1)}), 0x1},
        {"(((C1)))", byteCode({channel(1)}), 0x1},
        {"Ln ( c1 )", byteCode({channel(1), op(TokenLn)}), 0x1},
        {"ABS(C1)+INT(C2)+EXP(C3)+SQR(C4)",
         byteCode({channel(1), op(TokenAbs), channel(2), op(TokenInt), op(TokenAdd), channel(3), op(TokenExp),
                   op(TokenAdd), channel(4), op(TokenSqr), op(TokenAdd)}),
         0xF},
    };
    for (const Compiled &c : cases) {
        SCOPED_TRACE(c.text);
        std::array<uint8_t, KVX_EQUATION_AREA> out{};
        const EquationResult result = compileEquation(c.text.c_str(), out.data());
        ASSERT_EQ(result.error, EquationOk) << "at " << result.errorPosition;
        EXPECT_EQ(result.channelMask, c.mask);
        ASSERT_EQ(result.length, static_cast<int32_t>(c.expected.size()));
        EXPECT_EQ(Bytes(out.begin(), out.begin() + result.length), c.expected);
    }
}

TEST(EquationCompilerTest, OperatorsBindAndAssociateAsWritten) {
    using namespace kvlink;
    const Compiled cases[] = {
        // The sign binds to C1 before the power is taken.
        {"-C1**2", byteCode({channel(1), op(TokenNegate), constant(2.0f), op(TokenPower)}), 0x1},
        {"C1 - -2", byteCode({channel(1), constant(2.0f), op(TokenNegate), op(TokenSubtract)}), 0x1},
        // One sign is the operator's; the next belongs to the number.
        {"C1*--2", byteCode({channel(1), constant(-2.0f), op(TokenNegate), op(TokenMultiply)}), 0x1},
        {"+C1", byteCode({channel(1)}), 0x1},
        {"C1-C2-C3", byteCode({channel(1), channel(2), op(TokenSubtract), channel(3), op(TokenSubtract)}), 0x7},
        {"C1**C2**C3", byteCode({channel(1), channel(2), op(TokenPower), channel(3), op(TokenPower)}), 0x7},
        {"C1+C2*C3", byteCode({channel(1), channel(2), channel(3), op(TokenMultiply), op(TokenAdd)}), 0x7},
        {"C1/C2*C3", byteCode({channel(1), channel(2), op(TokenDivide), channel(3), op(TokenMultiply)}), 0x7},
        {"C1*(C2+C3)", byteCode({channel(1), channel(2), channel(3), op(TokenAdd), op(TokenMultiply)}), 0x7},
    };
    for (const Compiled &c : cases) {
        SCOPED_TRACE(c.text);
        std::array<uint8_t, KVX_EQUATION_AREA> out{};
        const EquationResult result = compileEquation(c.text.c_str(), out.data());
        ASSERT_EQ(result.error, EquationOk) << "at " << result.errorPosition;
        EXPECT_EQ(Bytes(out.begin(), out.begin() + result.length), c.expected);
    }
}

TEST(EquationCompilerTest, ConstantsAreRoundedToSinglePrecision) {
    struct Constant {
        std::string text;
        float expected;
    };
    const Constant cases[] = {
        {"0.1", 0.1f},
        {".5", 0.5f},
        {"5.", 5.0f},
        {"2.5E+1", 25.0f},
        {"1e-40", 0.0f},
        {"--1e-39", 0.0f},
        {"1.17549435e-38", FLT_MIN},
        {"3.40282347e38", FLT_MAX},
        {"--3.40282347e38", -FLT_MAX},
    };
    for (const Constant &c : cases) {
        SCOPED_TRACE(c.text);
        std::array<uint8_t, KVX_EQUATION_AREA> out{};
        // After "C1*" one sign is the operator's, a second one the number's.
        const std::string text = "C1*" + c.text;
        const EquationResult result = kvlink::compileEquation(text.c_str(), out.data());
        ASSERT_EQ(result.error, kvlink::EquationOk);
        EXPECT_EQ(Bytes(out.begin() + 3, out.begin() + 8), constant(c.expected));
    }
}

struct Refused {
    std::string text;
    int32_t error;
    int32_t position;
};

TEST(EquationCompilerTest, ReportsTheFirstErrorWithItsPosition) {
    using namespace kvlink;
    const Refused cases[] = {
        {"2*3", EquationNoChannel, 3},
        {"", EquationSyntax, 0},
        {"C31", EquationBadChannel, 0},
        {"C0", EquationBadChannel, 0},
        {"C1+C99999999999", EquationBadChannel, 3},
        {"C31+C0", EquationBadChannel, 0},
        {"CX", EquationSyntax, 0},
        {"C1 )", EquationSyntax, 3},
        {"C1 2", EquationSyntax, 3},
        {"C1 +", EquationSyntax, 4},
        {"C1**", EquationSyntax, 4},
        {"C1*--C2", EquationSyntax, 4},
        {"C1*inf", EquationSyntax, 3},  // only decimal numbers
        {"C1*0x10", EquationSyntax, 4}, // the number ends at the x
        {"((((C1))))", EquationTooDeep, 3},
        {"ABS(ABS(ABS(ABS(C1))))", EquationTooDeep, 15},
        {"LOG C1", EquationNoLeftParen, 4},
        {"log(C1", EquationNoRightParen, 6},
        {"log(C1 C2)", EquationNoRightParen, 7}, // an argument always wants its ")"
        {"(C1", EquationNoRightParen, 3},
        {"C1*(C2", EquationNoRightParen, 6},
        {"(C1 C2)", EquationSyntax, 4}, // a parenthesis only at the end of the text
        {"C1*1e39", EquationConstantTooLarge, 3},
        {"C1*-1e39", EquationConstantTooLarge, 4},
        {"C1*--1e39", EquationConstantTooLarge, 4},
    };
    for (const Refused &c : cases) {
        SCOPED_TRACE(c.text);
        std::array<uint8_t, KVX_EQUATION_AREA> out{};
        const EquationResult result = compileEquation(c.text.c_str(), out.data());
        EXPECT_EQ(result.error, c.error);
        EXPECT_EQ(result.errorPosition, c.position);
    }
}

TEST(EquationCompilerTest, SqrIsCaseInsensitive) {
    std::array<uint8_t, KVX_EQUATION_AREA> upper{};
    std::array<uint8_t, KVX_EQUATION_AREA> lower{};
    const EquationResult a = kvlink::compileEquation("SQR(C1)", upper.data());
    const EquationResult b = kvlink::compileEquation("sqr(c1)", lower.data());
    ASSERT_EQ(a.error, kvlink::EquationOk);
    ASSERT_EQ(b.error, kvlink::EquationOk);
    EXPECT_EQ(a.length, b.length);
    EXPECT_EQ(upper, lower);
}

// n channel readings added up take 4n bytes with the end code.
std::string sumOfReadings(int count) {
    std::string text = "C1";
    for (int i = 1; i < count; ++i) text += "+C1";
    return text;
}

TEST(EquationCompilerTest, ByteCodeFillsTheAreaButNeverPassesIt) {
    constexpr uint8_t kGuard = 0xA5;
    std::array<uint8_t, KVX_EQUATION_AREA + 16> out;

    out.fill(kGuard);
    const EquationResult full = kvlink::compileEquation(sumOfReadings(250).c_str(), out.data());
    EXPECT_EQ(full.error, kvlink::EquationOk);
    EXPECT_EQ(full.length, KVX_EQUATION_AREA);
    EXPECT_EQ(out[KVX_EQUATION_AREA - 1], kvlink::TokenEnd);

    out.fill(kGuard);
    const std::string tooLong = sumOfReadings(251);
    const EquationResult over = kvlink::compileEquation(tooLong.c_str(), out.data());
    EXPECT_EQ(over.error, kvlink::EquationTooLong);
    EXPECT_EQ(over.errorPosition, 752); // just after the reading that did not fit
    for (size_t i = KVX_EQUATION_AREA; i < out.size(); ++i) EXPECT_EQ(out[i], kGuard) << i;

    // A far longer text still stops at the area and keeps the first error.
    out.fill(kGuard);
    const std::string longer = sumOfReadings(400) + "+C31";
    EXPECT_EQ(kvlink::compileEquation(longer.c_str(), out.data()).error, kvlink::EquationTooLong);
    for (size_t i = KVX_EQUATION_AREA; i < out.size(); ++i) EXPECT_EQ(out[i], kGuard) << i;
}

} // namespace
