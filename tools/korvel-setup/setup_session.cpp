#include "setup_session.h"

#include "setup/bcn_lookup.h"

namespace {

korvel::SetupTemplate completedTemplate() {
    korvel::SetupTemplate setupTemplate;
    setupTemplate.completeFromStringTable();
    return setupTemplate;
}

} // namespace

SetupSession::SetupSession()
        : template_(completedTemplate()), formats_(korvel::readRegionalFormats()),
          document_({instruments_, options_, plot_, host_, korvel::bcnResolver(link_)}, ui_, formats_) {}
