#include "instrument_edit.h"

#include "setup/text_format.h"

std::optional<InstrumentEdit> InstrumentEdit::open(SetupSession &session, unsigned bcn) {
    const int slot = session.instruments().find(bcn);
    if (slot == 0) {
        failure(korvel::formatted("the setup has no instrument %02u", bcn));
        return std::nullopt;
    }
    return InstrumentEdit(session, slot);
}

InstrumentEdit::InstrumentEdit(SetupSession &session, int slot)
        : session_(&session), slot_(slot),
          identity_(korvel::identityOf(session.instruments(), slot, session.options())),
          instrument_(*session.instruments().slot(slot).setup, identity_, session.formats().decimalSymbol) {}

korvel::ChannelsConfigurationModel InstrumentEdit::channels() const {
    return instrument_.channels(session_->instruments().setupTemplate().offChannel);
}

int InstrumentEdit::finishChannels(korvel::ChannelsConfigurationModel &channels, const std::string &outPath) {
    if (const auto refused = channels.accept()) return refusedWith(*refused);
    instrument_.acceptChannels(channels);
    return finish(outPath);
}

int InstrumentEdit::finish(const std::string &outPath) {
    if (const auto refused = instrument_.accept()) return refusedWith(*refused);
    *session_->instruments().slot(slot_).setup = instrument_.setup();
    return session_->save(outPath) ? 0 : kFailed;
}
