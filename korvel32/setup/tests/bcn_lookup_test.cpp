// Models come from a real ccf.cfg through the communications library.
#include "link/instrument_link.h"
#include "setup/bcn_lookup.h"
#include "setup_fixture.h"

#include <kvlink32.h>
#include <sim_process.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

namespace korvel {
namespace {

class BcnLookupTest : public ::testing::Test {
protected:
    void SetUp() override {
        kvtest::writeCcfFile(ccfDir.path(), 4, 4369, {{3, "127.0.0.3", 1}, {7, "127.0.0.7", 0}});
        ::setenv("KVLINK32_CCF_DIR", ccfDir.path().c_str(), 1);
        ASSERT_EQ(link.libInit(false), KVX_OK);
    }
    void TearDown() override {
        link.libExit();
        ::unsetenv("KVLINK32_CCF_DIR");
    }

    kvtest::TempDir ccfDir;
    InstrumentLink link;
};

TEST_F(BcnLookupTest, ModelCodeOneIsTheM100A) {
    EXPECT_EQ(lookUpBcn(link, 3).model, ModelCode::M100A);
    EXPECT_EQ(lookUpBcn(link, 7).model, ModelCode::M200A);
    EXPECT_TRUE(lookUpBcn(link, 7).present());
    EXPECT_FALSE(lookUpBcn(link, 8).present());
}

TEST_F(BcnLookupTest, OpenedSetupTakesItsModelsFromTheConfiguration) {
    test::SetupFixture saved;
    saved.addInstrument(3, ModelCode::M200A);
    saved.addInstrument(7, ModelCode::M100A);
    saved.addInstrument(9, ModelCode::M100A);
    const std::string file = ccfDir.path() + "/models.stp";
    ASSERT_TRUE(saved.doc.save(file));

    test::SetupFixture opened;
    SetupTarget target = opened.target();
    target.resolveBcn = bcnResolver(link);
    CSetupDoc doc(target, opened.ui, opened.regional);
    ASSERT_TRUE(doc.open(file));
    EXPECT_EQ(opened.instruments.slot(1).model, ModelCode::M100A);
    EXPECT_EQ(opened.instruments.slot(2).model, ModelCode::M200A);
    EXPECT_FALSE(opened.instruments.slot(3).inUse);
    ASSERT_EQ(opened.ui.messageTexts().size(), 1u);
    EXPECT_NE(opened.ui.messageTexts()[0].find("(09)"), std::string::npos);
}

} // namespace
} // namespace korvel
