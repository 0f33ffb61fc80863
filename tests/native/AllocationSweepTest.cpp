// Every allocation the command makes, made to fail in turn: the user is told
// memory ran out, nothing crosses the export, and the host and the system
// are left as they should be.

#include <gtest/gtest.h>

#include <cstdio>

#include "AllocationLimit.h"
#include "CommandSweep.h"

namespace tollik {
namespace {

using testing::CommandScenarios;
using testing::Ending;
using testing::Scenario;
using testing::SweepRun;

std::size_t AllocationsOfACleanRun(const Scenario& scenario) {
    SweepRun run(scenario);
    std::size_t count = 0;
    {
        const testing::AllocationFault counting(0);
        run.OnCommand();
        count = counting.Count();
    }
    EXPECT_EQ(testing::EndingOf(run), Ending::Launched);
    return count;
}

TEST(AllocationSweep, EveryAllocationFailingEndsWithTheOutOfMemoryMessage) {
    std::size_t points = 0;
    for (const Scenario& scenario : CommandScenarios()) {
        SCOPED_TRACE(scenario.name);
        const std::size_t total = AllocationsOfACleanRun(scenario);
        ASSERT_GT(total, 0u);
        int failures = 0;
        for (std::size_t n = 1; n <= total + 1 && failures < 10; ++n) {
            SweepRun run(scenario);
            {
                const testing::AllocationFault fault(n);
                run.OnCommand();
            }
            ++points;
            // One past the last allocation, nothing fails.
            const Ending expected = n <= total ? Ending::OutOfMemory : Ending::Launched;
            const Ending ending = testing::EndingOf(run);
            bool ok = ending == expected;
            if (!ok) ADD_FAILURE() << "allocation " << n << ": " << testing::Describe(ending);
            for (const std::string& broken : testing::BrokenInvariants(run)) {
                ADD_FAILURE() << "allocation " << n << ": " << broken;
                ok = false;
            }
            failures += ok ? 0 : 1;
        }
    }
    std::printf("allocation sweep: %zu scenarios, %zu allocation points\n",
                CommandScenarios().size(), points);
    RecordProperty("allocation_points", static_cast<int>(points));
}

}  // namespace
}  // namespace tollik
