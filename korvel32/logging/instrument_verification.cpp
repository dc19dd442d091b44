#include "logging/instrument_verification.h"

#include "logging/compatibility_check.h"
#include "logging/open_communications.h"
#include "platform/string_table.h"

namespace korvel {

void verifyInstrument(InstrumentLink &link, unsigned bcn, UserInterface &ui) {
    if (!openCommunications(link, bcn, OpenMode::ShowErrors, ui)) return;
    const auto number = static_cast<std::int32_t>(bcn);
    char text[16] = {};
    const std::int32_t result = link.loggerCompatibility(number, text);
    link.commClose(number);

    int messageId = message::kCommunicationInterruption;
    if (result == KVX_OK) {
        const int problem = compatibilityProblem(compatibilityNumber(text));
        messageId = problem != 0 ? problem : message::kConnectionSuccessful;
    } else if (result == KVX_INST_OLD_SOFTWARE) {
        messageId = message::kConnectedWithOldSoftware;
    }
    const MessageIcon icon =
        messageId == message::kConnectionSuccessful ? MessageIcon::Information : MessageIcon::Exclamation;
    ui.showMessage(instrumentMessage(messageId, bcn), icon, MessageButtons::Ok);
}

} // namespace korvel
