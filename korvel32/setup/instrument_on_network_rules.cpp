#include "setup/instrument_on_network_rules.h"

#include "setup/dialog_numbers.h"

#include <utility>

namespace korvel {
namespace {

constexpr unsigned long kHighestBcn = 99;
constexpr unsigned long kHighestAddressByte = 255;

constexpr std::array<OnNetworkControl, 4> kAddressControls{OnNetworkControl::Address1, OnNetworkControl::Address2,
                                                           OnNetworkControl::Address3, OnNetworkControl::Address4};

} // namespace

InstrumentOnNetworkModel::InstrumentOnNetworkModel(InstrumentLink &link, OnNetworkRequest request)
        : link_(link), request_(std::move(request)), entry_(request_.entry) {}

OnNetworkFields InstrumentOnNetworkModel::initialFields() const {
    OnNetworkFields fields;
    fields.bcn = std::to_string(request_.entry.bcn);
    fields.m100a = request_.entry.model == KVX_MODEL_M100A;
    for (std::size_t i = 0; i < fields.address.size(); ++i)
        fields.address[i] = std::to_string(request_.entry.address[i]);
    return fields;
}

bool InstrumentOnNetworkModel::enabled(OnNetworkControl control) const {
    switch (control) {
        case OnNetworkControl::Bcn:
        case OnNetworkControl::M100A:
        case OnNetworkControl::M200A: return true;
        default: return !request_.isolated;
    }
}

Checked<OnNetworkControl> InstrumentOnNetworkModel::accept(const OnNetworkFields &fields) {
    const auto bcn = typedWholeNumber(fields.bcn);
    if (!bcn || *bcn < 1 || *bcn > kHighestBcn) return refuse(message::kBcnRange, OnNetworkControl::Bcn);
    const auto number = static_cast<std::int32_t>(*bcn);
    if (request_.adding || number != request_.entry.bcn) {
        CcfEntry present;
        const std::int32_t found = link_.ccfGetBcn(number, present);
        if (found < 0) {
            fileFailed_ = true;
            return refuse(message::kCcfUnreadable, OnNetworkControl::Bcn);
        }
        if (found >= 1) return refuse(message::kBcnInUse, OnNetworkControl::Bcn);
    }
    CcfEntry entered = request_.entry;
    entered.bcn = number;
    entered.model = fields.m100a ? KVX_MODEL_M100A : KVX_MODEL_M200A;
    if (!request_.isolated) {
        for (std::size_t i = 0; i < kAddressControls.size(); ++i) {
            const auto byte = typedWholeNumber(fields.address[i]);
            if (!byte || *byte > kHighestAddressByte) return refuse(message::kAddressByteRange, kAddressControls[i]);
            entered.address[i] = static_cast<std::uint8_t>(*byte);
        }
    }
    entry_ = entered;
    return std::nullopt;
}

bool InstrumentOnNetworkModel::movesOn(const std::string &text, std::size_t caret) {
    return text.size() == kAddressDigits && caret == kAddressDigits;
}

} // namespace korvel
