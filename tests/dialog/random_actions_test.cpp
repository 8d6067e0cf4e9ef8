// 100,000 random user actions on the headless dialog from a fixed seed, each
// followed by the checks of tools/fuzz/dialog_actions.cpp.

#include <random>

#include <gtest/gtest.h>

#include "dialog_actions.h"

TEST(RandomActions, EveryCheckHoldsAfterEachOfAHundredThousandActions)
{
    ActionRun run;
    ASSERT_TRUE(startActionRun(run));
    std::mt19937 generator(20261207);
    const ActionPicker pick = [&generator](unsigned bound) { return static_cast<unsigned>(generator() % bound); };
    std::string problem;
    while (run.actions < 100000 && problem.empty())
        problem = runOneAction(run, pick);
    endActionRun(run);
    EXPECT_EQ(problem, "");
    // The actions reached what they are meant to: repairs, refusals, records, files,
    // actions inside message boxes and closes.
    EXPECT_GT(run.messages, 1000u);
    EXPECT_GT(run.ssidRefusals, 0u);
    EXPECT_GT(run.budgetRefusals, 0u);
    EXPECT_GT(run.recordsSent, 100u);
    EXPECT_GT(run.filesOpened, 1000u);
    EXPECT_GT(run.actionsInMessageBoxes, 100u);
    EXPECT_GT(run.closes, 100u);
    EXPECT_EQ(run.deepestHandlerDepth, kMaxHandlerDepth);
}
