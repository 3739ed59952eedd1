// A unit table's initialisation and finalisation when a unit's work fails: the units
// that completed are rolled back exactly, and a failing finalisation does not keep the
// others from running.

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/rtl/Units.h"

namespace {

std::vector<std::string> Log;
bool InitFails = false, FinFails = false;

} // namespace

#define TEST_API
QELL_DECLARE_UNIT(TEST_API, First);
QELL_DECLARE_UNIT(TEST_API, Failing);
QELL_DECLARE_UNIT(TEST_API, Last);
QELL_DEFINE_UNIT(First, [] { Log.push_back("init First"); }, [] {
    Log.push_back("fin First");
    if (FinFails) throw std::runtime_error("First cannot finish");
})
QELL_DEFINE_UNIT(Failing, [] {
    Log.push_back("init Failing");
    if (InitFails) throw std::runtime_error("Failing cannot start");
}, [] { Log.push_back("fin Failing"); })
QELL_DEFINE_UNIT(Last, [] { Log.push_back("init Last"); }, [] { Log.push_back("fin Last"); })

namespace {

const TPackageUnitEntry Entries[] = {{First_Initialization, First_Finalization},
                                     {Failing_Initialization, Failing_Finalization},
                                     {Last_Initialization, Last_Finalization}};
const TPackageInfoTable Table{3, Entries};

std::string Raised(void (*Run)(const TPackageInfoTable&))
{
    try {
        Run(Table);
    } catch (const std::exception& E) {
        return E.what();
    }
    return "";
}

struct UnitTable : ::testing::Test {
    void SetUp() override
    {
        Log.clear();
        InitFails = FinFails = false;
    }
};

TEST_F(UnitTable, AUnitWhoseWorkFailsIsNotCountedAndTheCompletedOnesAreRolledBack)
{
    InitFails = true;
    EXPECT_EQ(Raised(InitializePackage), "Failing cannot start");
    EXPECT_EQ(Log, (std::vector<std::string>{"init First", "init Failing", "fin First"}));
    EXPECT_EQ(First_Counter.Count(), 0);
    EXPECT_EQ(Failing_Counter.Count(), 0) << "counted as initialised though its work failed";
    EXPECT_EQ(Last_Counter.Count(), 0);

    // Once it can, the next initialisation does every unit's work, as a first one does.
    InitFails = false;
    Log.clear();
    EXPECT_EQ(Raised(InitializePackage), "");
    EXPECT_EQ(Log, (std::vector<std::string>{"init First", "init Failing", "init Last"}));
    FinalizePackage(Table);
}

TEST_F(UnitTable, AFailingFinalisationLetsTheOthersRunAndIsReportedAfterThem)
{
    EXPECT_EQ(Raised(InitializePackage), "");
    FinFails = true;
    Log.clear();
    EXPECT_EQ(Raised(FinalizePackage), "First cannot finish");
    EXPECT_EQ(Log, (std::vector<std::string>{"fin Last", "fin Failing", "fin First"}));
    EXPECT_EQ(Last_Counter.Count(), 0);
    EXPECT_EQ(Failing_Counter.Count(), 0);
    EXPECT_EQ(First_Counter.Count(), 0);
}

TEST_F(UnitTable, ARollBackThatFailsStillReportsTheErrorThatCausedIt)
{
    InitFails = FinFails = true;
    EXPECT_EQ(Raised(InitializePackage), "Failing cannot start");
    EXPECT_EQ(Log, (std::vector<std::string>{"init First", "init Failing", "fin First"}));
    EXPECT_EQ(First_Counter.Count(), 0);
}

} // namespace
