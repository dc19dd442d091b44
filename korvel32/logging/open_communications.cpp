#include "logging/open_communications.h"

#include "logging/communication_messages.h"
#include "logging/self_test_questions.h"
#include "platform/string_table.h"

#include <optional>

namespace korvel {
namespace {
// A stop of scanning may have to finish a long scan first.
constexpr std::uint32_t kIdleWaitMs = 95000;

// 0 when the instrument answers as the one configured for this BCN, else the
// message to show.
int identityProblem(InstrumentLink &link, std::int32_t bcn) {
    std::int32_t reported = 0;
    const std::int32_t rc = link.instBcn(bcn, reported);
    if (rc != KVX_OK) return communicationFailureMessage(rc);
    if (reported != bcn) return message::kBcnMismatch;
    const std::int32_t model = link.modelCheck(bcn);
    if (model == KVX_E_MODEL_MISMATCH) return message::kModelMismatch;
    if (model < 0) return communicationFailureMessage(model);
    return 0;
}

// Asks about every problem the instrument reports; false at the first No.
bool userAcceptsProblems(InstrumentLink &link, std::int32_t bcn, UserInterface &ui) {
    std::uint32_t status = 0;
    if (link.instStatus(bcn, status) != KVX_OK) return true;
    std::optional<std::uint32_t> selftestResult;
    std::uint32_t result = 0;
    if ((status & kStatusSelftestResult) && link.selftestResult(bcn, result) == KVX_OK) selftestResult = result;
    for (const int question : selfTestQuestions(status, selftestResult)) {
        const MessageAnswer answer = ui.showMessage(instrumentMessage(question, static_cast<unsigned>(bcn)),
                                                    MessageIcon::Question, MessageButtons::YesNo);
        if (answer != MessageAnswer::Yes) return false;
    }
    return true;
}

} // namespace

bool openCommunications(InstrumentLink &link, unsigned bcn, OpenMode mode, UserInterface &ui) {
    const auto number = static_cast<std::int32_t>(bcn);
    const auto fail = [&](int message) {
        if (mode != OpenMode::Silent)
            ui.showMessage(instrumentMessage(message, bcn), MessageIcon::Exclamation, MessageButtons::Ok);
        return false;
    };

    const std::int32_t opened = link.commOpen(number);
    if (opened != KVX_OK) return fail(communicationFailureMessage(opened));
    if (const int problem = identityProblem(link, number); problem != 0) {
        link.commClose(number);
        return fail(problem);
    }
    if (mode == OpenMode::StartChecks && !userAcceptsProblems(link, number, ui)) {
        link.commClose(number);
        return false;
    }
    if (link.scansEnable(number, false) == KVX_OK) {
        std::uint32_t status = 0;
        link.busyWait(number, kIdleWaitMs, status);
    }
    return true;
}

} // namespace korvel
