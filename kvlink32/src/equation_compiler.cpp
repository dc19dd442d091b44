#include "equation_compiler.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <string>

namespace kvlink {
namespace {

// The whole text is one level; three more levels of parentheses or function
// calls may open inside it.
constexpr uint8_t kMaxDepth = 4;
constexpr double kSmallestNormal = 1.17549435e-38;
constexpr double kLargestFinite = 3.40282347e38;
constexpr uint32_t kLastChannel = KVX_MAX_CHANNELS;

struct FunctionName {
    const char *name;
    EquationToken code;
};

// Tried in this order; the first name that matches is taken.
constexpr FunctionName kFunctions[] = {
    {"ABS", TokenAbs}, {"INT", TokenInt}, {"EXP", TokenExp}, {"LN", TokenLn}, {"LOG", TokenLog}, {"SQR", TokenSqr},
};

bool isSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Constants are written with "." whatever the caller's locale says.
double parseDecimal(const std::string &number) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    return strtod_l(number.c_str(), nullptr, cLocale);
}

class EquationParser {
public:
    EquationParser(const char *text, uint8_t *out) : text_(text), length_(std::strlen(text)), out_(out) {}

    EquationResult run() {
        const bool parsed = expression();
        emit(TokenEnd);
        if (result_.error == EquationOk) {
            if (!parsed || !atEnd()) {
                fail(EquationSyntax, cursor_);
            } else if (result_.channelMask == 0) {
                fail(EquationNoChannel, length_);
            } else {
                result_.length = static_cast<int32_t>(written_);
            }
        }
        return result_;
    }

private:
    using Parse = bool (EquationParser::*)();
    using TakeOperator = EquationToken (EquationParser::*)();

    // Records the error unless an earlier one was recorded; always false so
    // that callers can return it.
    bool fail(EquationError error, size_t position) {
        if (result_.error == EquationOk) {
            result_.error = error;
            result_.errorPosition = static_cast<int32_t>(position);
        }
        return false;
    }

    // A token that would not fit the area is refused whole. Only channel and
    // constant tokens carry an operand.
    void emit(EquationToken code, const void *operand = nullptr) {
        const size_t size = equationTokenSize(code);
        if (written_ + size > KVX_EQUATION_AREA) {
            fail(EquationTooLong, cursor_);
            return;
        }
        out_[written_] = code;
        if (operand != nullptr) std::memcpy(out_ + written_ + 1, operand, size - 1);
        written_ += size;
    }

    bool atEnd() const { return cursor_ >= length_; }
    char peek() const { return atEnd() ? '\0' : text_[cursor_]; }
    char peekAt(size_t ahead) const { return cursor_ + ahead < length_ ? text_[cursor_ + ahead] : '\0'; }
    void skipSpace() {
        while (isSpace(peek())) ++cursor_;
    }

    // operand { operator operand }, each operator emitted after its right operand.
    bool chain(Parse operand, TakeOperator nextOperator) {
        if (!(this->*operand)()) return false;
        for (;;) {
            const EquationToken op = (this->*nextOperator)();
            if (op == TokenEnd) return true;
            if (!(this->*operand)()) return false;
            emit(op);
        }
    }

    EquationToken takeOperator(char symbol, EquationToken code, size_t width = 1) {
        skipSpace();
        for (size_t i = 0; i < width; ++i) {
            if (peekAt(i) != symbol) return TokenEnd;
        }
        cursor_ += width;
        skipSpace();
        return code;
    }
    EquationToken takeAdditive() {
        const EquationToken add = takeOperator('+', TokenAdd);
        return add != TokenEnd ? add : takeOperator('-', TokenSubtract);
    }
    // A "**" never reaches here: the power level has taken every one.
    EquationToken takeMultiplicative() {
        const EquationToken multiply = takeOperator('*', TokenMultiply);
        return multiply != TokenEnd ? multiply : takeOperator('/', TokenDivide);
    }
    EquationToken takePower() { return takeOperator('*', TokenPower, 2); }

    bool expression() {
        ++depth_;
        const bool parsed = chain(&EquationParser::term, &EquationParser::takeAdditive);
        --depth_;
        return parsed;
    }
    bool term() { return chain(&EquationParser::power, &EquationParser::takeMultiplicative); }
    bool power() { return chain(&EquationParser::unary, &EquationParser::takePower); }

    // One sign at most; a minus is applied to the primary alone, so -C1**2
    // raises the negated reading.
    bool unary() {
        skipSpace();
        const char sign = peek();
        if (sign == '+' || sign == '-') {
            ++cursor_;
            skipSpace();
        }
        if (!primary()) return false;
        if (sign == '-') emit(TokenNegate);
        return true;
    }

    bool primary() {
        if (const EquationToken function = takeFunctionName(); function != TokenEnd) return functionCall(function);
        if (const size_t digits = numberLength(); digits > 0) return constant(digits);
        if (upper(peek()) == 'C' && isDigit(peekAt(1))) return channel();
        if (peek() == '(') return bracketed(false);
        return false;
    }

    EquationToken takeFunctionName() {
        for (const FunctionName &function : kFunctions) {
            const size_t size = std::strlen(function.name);
            size_t i = 0;
            while (i < size && upper(peekAt(i)) == function.name[i]) ++i;
            if (i == size) {
                cursor_ += size;
                skipSpace();
                return function.code;
            }
        }
        return TokenEnd;
    }

    bool functionCall(EquationToken function) {
        if (peek() != '(') return fail(EquationNoLeftParen, cursor_);
        if (!bracketed(true)) return false;
        emit(function);
        return true;
    }

    // "(" expression ")" of a parenthesis or a function argument. An unclosed
    // argument is always a missing ")"; an unclosed parenthesis only when the
    // text has ended.
    bool bracketed(bool functionArgument) {
        if (depth_ >= kMaxDepth) return fail(EquationTooDeep, cursor_);
        ++cursor_;
        skipSpace();
        if (!expression()) return false;
        if (peek() != ')') {
            return fail(functionArgument || atEnd() ? EquationNoRightParen : EquationSyntax, cursor_);
        }
        ++cursor_;
        skipSpace();
        return true;
    }

    // Length of the decimal number at the cursor (sign, digits, point,
    // exponent), or 0 when none starts here.
    size_t numberLength() const {
        size_t n = 0;
        if (peekAt(n) == '+' || peekAt(n) == '-') ++n;
        size_t digits = 0;
        while (isDigit(peekAt(n))) ++n, ++digits;
        if (peekAt(n) == '.') {
            ++n;
            while (isDigit(peekAt(n))) ++n, ++digits;
        }
        if (digits == 0) return 0;
        if (upper(peekAt(n)) == 'E') {
            size_t e = n + 1;
            if (peekAt(e) == '+' || peekAt(e) == '-') ++e;
            if (isDigit(peekAt(e))) {
                while (isDigit(peekAt(e))) ++e;
                n = e;
            }
        }
        return n;
    }

    bool constant(size_t size) {
        const size_t start = cursor_;
        double value = parseDecimal(std::string(text_ + cursor_, size));
        cursor_ += size;
        if (std::fabs(value) < kSmallestNormal) {
            value = 0.0;
        } else if (std::fabs(value) > kLargestFinite) {
            return fail(EquationConstantTooLarge, start);
        }
        // Between FLT_MAX and the limit the value rounds to FLT_MAX.
        const float single = static_cast<float>(std::clamp(value, -double{FLT_MAX}, double{FLT_MAX}));
        emit(TokenConstant, &single);
        skipSpace();
        return true;
    }

    bool channel() {
        const size_t start = cursor_++;
        uint32_t number = 0;
        while (isDigit(peek())) {
            // Saturates above the last channel instead of overflowing.
            if (number <= kLastChannel) number = number * 10 + static_cast<uint32_t>(peek() - '0');
            ++cursor_;
        }
        if (number < 1 || number > kLastChannel) return fail(EquationBadChannel, start);
        const uint16_t operand = static_cast<uint16_t>(number);
        emit(TokenChannel, &operand);
        result_.channelMask |= static_cast<int32_t>(1u << (number - 1));
        return true;
    }

    const char *text_;
    size_t length_;
    size_t cursor_ = 0;
    uint8_t *out_;
    size_t written_ = 0;
    uint8_t depth_ = 0;
    EquationResult result_;
};

} // namespace

EquationResult compileEquation(const char *text, uint8_t *out) { return EquationParser(text, out).run(); }

} // namespace kvlink
