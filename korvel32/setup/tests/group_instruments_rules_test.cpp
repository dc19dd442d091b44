#include "setup/group_instruments_rules.h"

#include "platform/string_table.h"
#include "scripted_user_interface.h"
#include "setup/setup_template.h"

#include <gtest/gtest.h>

using namespace korvel;

namespace {

using Items = std::vector<std::string>;

// BCNs 30, 10 and 20 in slots 1, 2 and 3.
class GroupInstruments : public ::testing::Test {
protected:
    GroupInstruments() {
        setupTemplate.complete("Label", "VDC");
        table.add(1, 30, ModelCode::M100A);
        table.add(2, 10, ModelCode::M200A);
        table.add(3, 20, ModelCode::M100A);
    }

    // The roles as the list shows them, in BCN order.
    Items afterChoosing(GroupInstrumentsModel &model, int slot, GroupRole role) {
        model.selectSlot(slot);
        model.chooseRole(role, ui);
        return model.lines();
    }

    SetupTemplate setupTemplate;
    InstrumentTable table{setupTemplate};
    LoggerOptions options;
    ScriptedUserInterface ui;
};

TEST_F(GroupInstruments, RolesChangeAtOnceAndSlavesNeedAMaster) {
    GroupInstrumentsModel model(table, options);
    EXPECT_EQ(model.lines(), (Items{"10 (Async)", "20 (Async)", "30 (Async)"}));
    EXPECT_EQ(model.listedSlots(), (std::vector<int>{2, 3, 1}));
    EXPECT_EQ(model.selectedSlot(), 2);
    EXPECT_FALSE(model.enabled(GroupControl::Slave));
    EXPECT_FALSE(model.enabled(GroupControl::ExternallyWired));
    EXPECT_FALSE(model.chooseRole(GroupRole::Slave, ui));

    EXPECT_EQ(afterChoosing(model, 3, GroupRole::Master), (Items{"10 (Async)", "20 (Master)", "30 (Async)"}));
    EXPECT_EQ(table.masterSlot(), 3);
    EXPECT_FALSE(model.enabled(GroupControl::Slave)) << "the Master is no Slave of itself";
    EXPECT_TRUE(model.enabled(GroupControl::ExternallyWired));
    EXPECT_EQ(afterChoosing(model, 1, GroupRole::Slave), (Items{"10 (Async)", "20 (Master)", "30 (Slave)"}));
    EXPECT_EQ(afterChoosing(model, 1, GroupRole::Async), (Items{"10 (Async)", "20 (Master)", "30 (Async)"}));
    // Demoting a Master without Slaves asks nothing.
    EXPECT_EQ(afterChoosing(model, 3, GroupRole::Async), (Items{"10 (Async)", "20 (Async)", "30 (Async)"}));
    EXPECT_EQ(table.masterSlot(), 0);
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(GroupInstruments, AMasterIsDemotedOnlyWhenTheUserSaysYes) {
    struct Case {
        const char *what;
        int slot;
        GroupRole role;
        MessageAnswer answer;
        int question;
        Items after;
        int masterSlot;
    };
    // Before each case: 20 is the Master, 30 its Slave, 10 Async.
    const Case cases[] = {
        {"the Master to Async, declined",
         3,
         GroupRole::Async,
         MessageAnswer::No,
         690,
         {"10 (Async)", "20 (Master)", "30 (Slave)"},
         3},
        {"the Master to Async",
         3,
         GroupRole::Async,
         MessageAnswer::Yes,
         690,
         {"10 (Async)", "20 (Async)", "30 (Async)"},
         0},
        {"a Slave to Master, declined",
         1,
         GroupRole::Master,
         MessageAnswer::No,
         691,
         {"10 (Async)", "20 (Master)", "30 (Slave)"},
         3},
        {"a Slave to Master",
         1,
         GroupRole::Master,
         MessageAnswer::Yes,
         691,
         {"10 (Async)", "20 (Slave)", "30 (Master)"},
         1},
        {"an Async to Master",
         2,
         GroupRole::Master,
         MessageAnswer::Yes,
         692,
         {"10 (Master)", "20 (Async)", "30 (Slave)"},
         2},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        table.makeAllAsync();
        table.setRole(3, GroupRole::Master);
        table.setRole(1, GroupRole::Slave);
        ScriptedUserInterface answers;
        answers.queueAnswer(c.answer);
        GroupInstrumentsModel model(table, options);
        model.selectSlot(c.slot);
        EXPECT_EQ(model.chooseRole(c.role, answers), c.answer == MessageAnswer::Yes);
        EXPECT_EQ(model.lines(), c.after);
        EXPECT_EQ(table.masterSlot(), c.masterSlot);
        ASSERT_EQ(answers.messages().size(), 1u);
        EXPECT_EQ(answers.messages()[0].text, resourceString(c.question));
        EXPECT_EQ(answers.messages()[0].buttons, MessageButtons::YesNo);
    }
}

TEST_F(GroupInstruments, TheWiredBoxSetsTheSetupsFlagWhileAMasterExists) {
    GroupInstrumentsModel model(table, options);
    model.setExternallyWired(false);
    EXPECT_TRUE(options.wiredGroup) << "no Master, no wiring";
    model.chooseRole(GroupRole::Master, ui);
    model.setExternallyWired(false);
    EXPECT_FALSE(options.wiredGroup);
    EXPECT_FALSE(model.externallyWired());
}

} // namespace
