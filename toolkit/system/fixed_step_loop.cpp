#include "toolkit/system/fixed_step_loop.h"

#include <optional>

#include "toolkit/system/system_driver.h"

namespace kestrel {

namespace {

class HorizonReset {
public:
    ~HorizonReset() { SetEventHorizon(std::nullopt); }
};

}  // namespace

int RunFixedSteps(FixedStepClock& clock, std::int64_t nowUs, const std::function<void()>& update) {
    const int steps = clock.BeginFrame(nowUs);
    HorizonReset reset;
    for (int i = 0; i < steps; ++i) {
        if (i + 1 < steps) SetEventHorizon(clock.StepMoment(i));
        else SetEventHorizon(std::nullopt);
        BeginInputUpdate();
        update();
    }
    return steps;
}

}  // namespace kestrel
