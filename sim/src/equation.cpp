#include "equation.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <vector>

namespace korvelsim {

namespace {

enum Code : std::uint8_t {
    kEnd = 0,
    kChannel,
    kConstant,
    kReserved,
    kNegate,
    kSubtract,
    kAdd,
    kMultiply,
    kDivide,
    kPower,
    kExp,
    kLn,
    kLog,
    kAbs,
    kInt,
    kSqr,
};

std::optional<double> unary(std::uint8_t code, double x) {
    switch (code) {
        case kNegate: return -x;
        case kExp: return std::exp(x);
        case kLn: return std::log(x);
        case kLog: return std::log10(x);
        case kAbs: return std::fabs(x);
        case kInt: return std::trunc(x);
        case kSqr: return std::sqrt(x);
        default: return std::nullopt;
    }
}

std::optional<double> binary(std::uint8_t code, double a, double b) {
    switch (code) {
        case kSubtract: return a - b;
        case kAdd: return a + b;
        case kMultiply: return a * b;
        case kDivide: return a / b;
        case kPower: return std::pow(a, b);
        default: return std::nullopt;
    }
}

class Evaluator {
public:
    Evaluator(const std::uint8_t *area, const std::array<float, KVX_MAX_CHANNELS> &readings)
            : area_(area), readings_(readings) {}

    std::optional<double> run(std::size_t position) {
        while (position < KVX_EQUATION_AREA) {
            const std::uint8_t code = area_[position];
            if (code == kEnd) {
                return stack_.size() == 1 ? std::optional(stack_.back()) : std::nullopt;
            }
            const std::size_t size = code == kChannel ? 3 : code == kConstant ? 5 : 1;
            if (position + size > KVX_EQUATION_AREA || !apply(code, area_ + position + 1)) {
                return std::nullopt;
            }
            position += size;
        }
        return std::nullopt;
    }

private:
    bool apply(std::uint8_t code, const std::uint8_t *operand) {
        if (code == kChannel) {
            std::uint16_t channel = 0;
            std::memcpy(&channel, operand, sizeof channel);
            if (channel < 1 || channel > KVX_MAX_CHANNELS) {
                return false;
            }
            stack_.push_back(readings_[channel - 1U]);
            return true;
        }
        if (code == kConstant) {
            float constant = 0;
            std::memcpy(&constant, operand, sizeof constant);
            stack_.push_back(constant);
            return true;
        }
        if (stack_.empty()) {
            return false;
        }
        const double top = stack_.back();
        if (const auto result = unary(code, top)) {
            stack_.back() = *result;
            return true;
        }
        if (stack_.size() < 2) {
            return false;
        }
        stack_.pop_back();
        const auto result = binary(code, stack_.back(), top);
        if (result) {
            stack_.back() = *result;
        }
        return result.has_value();
    }

    const std::uint8_t *area_;
    const std::array<float, KVX_MAX_CHANNELS> &readings_;
    std::vector<double> stack_;
};

} // namespace

float evaluateEquation(const std::uint8_t (&area)[KVX_EQUATION_AREA], std::size_t offset,
                       const std::array<float, KVX_MAX_CHANNELS> &readings) {
    const auto result = Evaluator(area, readings).run(offset);
    return result ? static_cast<float>(*result) : std::numeric_limits<float>::quiet_NaN();
}

} // namespace korvelsim
