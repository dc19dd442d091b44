// Verify against korvel-sim: each answer of the instrument gives its one
// message, and the connection is given back so that ccf.cfg can change again.
#include "logging/instrument_verification.h"

#include "simulated_logger.h"

namespace korvel {
namespace {

class InstrumentVerification : public SimulatedLogger {
protected:
    void SetUp() override {
        SimulatedLogger::SetUp();
        startInstruments({5});
    }

    // The one message Verify showed, with its icon.
    std::pair<std::string, MessageIcon> verified() {
        ui = ScriptedUserInterface{};
        verifyInstrument(link, 5, ui);
        EXPECT_EQ(ui.messages().size(), 1u);
        if (ui.messages().empty()) return {};
        return {ui.messages().front().text, ui.messages().front().icon};
    }
};

TEST_F(InstrumentVerification, EachAnswerOfTheInstrumentHasItsMessage) {
    using enum MessageIcon;
    const std::vector<std::tuple<std::string, int, MessageIcon>> cases = {
        {"compat 5 V_1.0", 1280, Information}, {"compat 5 V_1.99", 1280, Information},
        {"compat 5 V_0.0", 25, Exclamation},   {"compat 5 V_2.0", 26, Exclamation},
        {"compat 5 old", 1290, Exclamation},   {"error 5 -7 127 1", 18, Exclamation},
    };
    for (const auto &[line, messageId, icon] : cases) {
        control("compat 5 V_1.0");
        control(line);
        EXPECT_EQ(verified(), std::pair(instrumentMessage(messageId, 5), icon)) << line;
        EXPECT_EQ(kvxCCFsetNetMode(KVX_NET_GENERAL), KVX_OK) << "no session is left open after " << line;
    }
}

TEST_F(InstrumentVerification, TheInstrumentCheckSpeaksForItself) {
    control("model 5 M200A");
    EXPECT_EQ(verified().first, instrumentMessage(message::kModelMismatch, 5));
    control("model 5 M100A");
    control("report-bcn 5 6");
    EXPECT_EQ(verified().first, instrumentMessage(message::kBcnMismatch, 5));
    control("report-bcn 5 5");
    control("refuse 5");
    const std::string refused = verified().first;
    EXPECT_EQ(refused.rfind("Instrument 05:  ", 0), 0u) << refused;
    EXPECT_NE(refused, instrumentMessage(message::kCommunicationInterruption, 5)) << "said once, by the check";

    control("accept 5");
    control("forget 5");
    EXPECT_EQ(verified().first, instrumentMessage(message::kConnectionSuccessful, 5));
    const std::vector<int> asked = sim->requestCommands(5);
    const auto disabled = std::find(asked.begin(), asked.end(), 104);
    EXPECT_LT(disabled - asked.begin(), std::find(asked.begin(), asked.end(), 127) - asked.begin())
        << "scanning is stopped before the compatibility is asked";
}

} // namespace
} // namespace korvel
