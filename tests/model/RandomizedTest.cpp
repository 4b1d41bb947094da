#include "tests/model/Scenario.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <string>

namespace {

std::uint64_t fromEnvironment(const char* name, std::uint64_t fallback) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? std::strtoull(value, nullptr, 10) : fallback;
}

// Seeded random afternoons at the track, each played on the real window and on the model,
// compared after every pass. TAVORIN_SCENARIOS and TAVORIN_PASSES make the run longer;
// TAVORIN_SEED picks the first seed. Seeds 18 and 21, once told "Unknown error" for a disk
// that took part of a record, are in the default run; ResultsLogOutage holds that reason.
TEST(RandomizedRuns, TheWindowAndTheModelAgreeAfterEveryPass) {
    const std::uint64_t first = fromEnvironment("TAVORIN_SEED", 1);
    const std::uint64_t count = fromEnvironment("TAVORIN_SCENARIOS", 150);
    const std::size_t passes = fromEnvironment("TAVORIN_PASSES", 400);
    scenario::Figures figures;
    int failures = 0;
    for (std::uint64_t seed = first; seed < first + count && failures < 3; ++seed) {
        const scenario::Scenario s = scenario::generate(seed, passes);
        const auto divergence = scenario::play(s, passes, &figures);
        if (!divergence) {
            continue;
        }
        ++failures;
        const scenario::Scenario shrunk = scenario::shrink(s, *divergence);
        const auto again = scenario::play(shrunk, shrunk.passes.size());
        ADD_FAILURE() << "seed " << seed << " diverges after pass " << divergence->pass << ": "
                      << divergence->what << "\nshortest failing prefix: " << divergence->pass
                      << " passes (TAVORIN_SEED=" << seed
                      << " TAVORIN_SCENARIOS=1 TAVORIN_PASSES=" << divergence->pass
                      << ")\nwithout what it does not need, after pass "
                      << (again ? again->pass : 0) << ": " << (again ? again->what : "passes")
                      << "\n"
                      << scenario::describe(shrunk, shrunk.passes.size());
    }
    std::cout << "[ figures  ] " << count << " scenarios, " << figures.passes
              << " passes compared, " << figures.actions << " operator actions and world changes ("
              << figures.faults << " faults injected), " << figures.records << " records, "
              << figures.pulses << " pulses, " << figures.hangs << " hung reads, "
              << figures.lateNotices << " late times told\n";
}

} // namespace
