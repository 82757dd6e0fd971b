// The fixed-step loop's event horizons: each update but the last of a frame
// sees only the input up to its own moment. Runs in a process of its own: it
// installs a system driver of its own before the system module starts.
#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <vector>

#include "toolkit/system/fixed_step_loop.h"
#include "toolkit/system/system_driver.h"

namespace kestrel {
namespace {

// A system driver that records the horizons it is given.
class HorizonRecorder : public THeadlessSystemDriver {
public:
    void SetEventHorizon(std::optional<std::int64_t> us) override { horizons.push_back(us); }
    void BeginInputUpdate() override { ++updatesMarked; }
    std::vector<std::optional<std::int64_t>> horizons;
    int updatesMarked = 0;
};

std::shared_ptr<TSystemDriver> g_recorder;

TEST(FixedStepLoop, EachUpdateButTheLastSeesInputUpToItsMomentAndTheHorizonIsClearedAfter) {
    g_recorder = std::make_shared<HorizonRecorder>();
    SetSystemDriverFactory([] { return g_recorder; });
    InitSystem();
    auto& rec = static_cast<HorizonRecorder&>(*SystemDriver());

    FixedStepClock clock;
    int updates = 0;
    EXPECT_EQ(RunFixedSteps(clock, 0, [&] { ++updates; }), 1);
    rec.horizons.clear();
    std::vector<std::optional<std::int64_t>> seen;
    std::vector<int> marked;  // updates marked when each update ran
    rec.updatesMarked = 0;
    EXPECT_EQ(RunFixedSteps(clock, 50000,
                            [&] {
                                seen.push_back(rec.horizons.back());
                                marked.push_back(rec.updatesMarked);
                            }),
              3);
    // Each update is marked as a new one before it runs.
    EXPECT_EQ(marked, (std::vector<int>{1, 2, 3}));
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0], clock.StepMoment(0));
    EXPECT_EQ(seen[1], clock.StepMoment(1));
    EXPECT_EQ(seen[2], std::nullopt);
    EXPECT_EQ(rec.horizons.back(), std::nullopt);

    // An update that throws still leaves no horizon behind.
    rec.horizons.clear();
    EXPECT_THROW(RunFixedSteps(clock, 100000, [] { throw std::runtime_error("x"); }),
                 std::runtime_error);
    ASSERT_FALSE(rec.horizons.empty());
    EXPECT_EQ(rec.horizons.back(), std::nullopt);
    EXPECT_TRUE(rec.horizons.front().has_value());
}

}  // namespace
}  // namespace kestrel
