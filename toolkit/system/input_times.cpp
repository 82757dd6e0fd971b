#include "toolkit/system/input_times.h"

#include <algorithm>

namespace kestrel {

std::optional<std::int64_t> ServerTimeToSteady(std::uint32_t serverMs, std::int64_t nowUs) {
    if (nowUs < 0) return std::nullopt;
    // The steady clock's milliseconds, as a server counting from the same
    // origin reads them now.
    const auto nowMs = static_cast<std::uint32_t>(static_cast<std::uint64_t>(nowUs) / 1000u);
    // The wrapping difference: right across the 2^32 ms wrap of either clock.
    const auto ageMs = static_cast<std::int32_t>(nowMs - serverMs);
    if (ageMs > kOldestEventMs || ageMs < -kEventTimeToleranceMs) return std::nullopt;
    // Whole milliseconds of the same clock; a time a little ahead of now
    // (rounding, or the two read a moment apart) is taken as now.
    const std::int64_t at = nowUs - static_cast<std::int64_t>(nowUs % 1000) - std::int64_t{ageMs} * 1000;
    return std::min(at, nowUs);
}

std::int64_t StampToSteady(std::uint32_t stampMs, std::uint32_t nowMs, std::int64_t nowUs) {
    if (stampMs == 0) return nowUs;
    const auto ageMs = static_cast<std::int32_t>(nowMs - stampMs);
    return nowUs - std::int64_t{ageMs} * 1000;
}

void InputGate::BeginUpdate(std::int64_t nowUs) {
    lastUpdateUs_ = nowUs;
    pressed_.clear();
}

void InputGate::Reset() {
    lastUpdateUs_.reset();
    pressed_.clear();
}

bool InputGate::LoopRunning(std::int64_t nowUs) const {
    return lastUpdateUs_ && nowUs - *lastUpdateUs_ <= kLoopIdleUs;
}

std::vector<bool> InputGate::Release(const std::vector<QueuedInput>& queue,
                                     std::optional<std::int64_t> horizonUs, std::int64_t nowUs) {
    std::vector<bool> delivered(queue.size(), false);
    const bool perUpdate = LoopRunning(nowUs);
    if (!perUpdate) pressed_.clear();
    std::vector<int> waiting;  // keys whose events wait for the next update
    const auto has = [](const std::vector<int>& keys, int key) {
        return std::find(keys.begin(), keys.end(), key) != keys.end();
    };
    for (std::size_t i = 0; i < queue.size(); ++i) {
        const QueuedInput& e = queue[i];
        // The horizon keeps order: nothing after a later event goes first.
        if (horizonUs && e.atUs > *horizonUs) break;
        if (perUpdate && e.kind != QueuedInput::Kind::Other) {
            if (has(waiting, e.key)) continue;
            if (e.kind == QueuedInput::Kind::Press) {
                if (has(pressed_, e.key)) {
                    waiting.push_back(e.key);
                    continue;
                }
                pressed_.push_back(e.key);
            }
        }
        delivered[i] = true;
    }
    return delivered;
}

void OrderEventTimes(std::vector<QueuedInput>& events, const std::vector<bool>& stamped,
                     std::optional<std::int64_t> previousUs) {
    for (std::size_t i = 0; i < events.size(); ++i) {
        std::int64_t& at = events[i].atUs;
        if (stamped[i]) {
            if (previousUs) at = std::max(at, *previousUs);
        } else if (previousUs) {
            at = *previousUs;
        } else {
            // Nothing before it: it happened no later than the next stamped
            // event, which must not wait behind it.
            for (std::size_t j = i + 1; j < events.size(); ++j)
                if (stamped[j]) {
                    at = std::min(at, events[j].atUs);
                    break;
                }
        }
        previousUs = at;
    }
}

}  // namespace kestrel
