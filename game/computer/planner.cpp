#include "game/computer/planner.h"

#include <algorithm>
#include <cstdlib>

#include "game/computer/evaluation.h"

namespace virexo::computer {

namespace {

// A chain is worth a little more than its cleared cells alone.
constexpr double kChainBonus = 40.0;
// Every key pressed costs time that the rows do not give back.
constexpr double kPressCost = 3.0;

int Walk(int from, int to) { return std::abs(from - to); }

}  // namespace

int Planner::Frames(int presses) const { return params_.reactionUpdates + presses * params_.pressInterval; }

void Planner::Enumerate(const Grid& g, const Hand& hand, int column, bool pairs, std::vector<Candidate>& out) const {
    out.clear();
    auto emit = [&](const Grid& before, Hand h, int p0, int p1, int from, int target, int presses) {
        if (target == p0 || target == p1 || !before.PathClear(from, target, h.count)) return;
        Candidate c;
        c.after = before;
        c.outcome = c.after.Throw(target, h);
        if (c.outcome.placed == 0) return;
        c.move.pick[0] = p0;
        c.move.pick[1] = p1;
        c.move.target = target;
        c.move.presses = presses + Walk(from, target) + 1;
        out.push_back(c);
    };
    auto throws = [&](const Grid& before, const Hand& h, int p0, int p1, int from, int presses) {
        for (int t = 0; t < kColumns; ++t) emit(before, h, p0, p1, from, t, presses);
    };
    // A second pick-up of the hand's colour from another column, then a throw.
    auto gather = [&](const Grid& before, const Hand& h, int p0, int from, int presses) {
        if (!pairs || !params_.pairsPickUps || h.count >= kHandMax) return;
        for (int a = 0; a < kColumns; ++a) {
            if (a == p0 || before.RunColour(a, h) < 0 || !before.PathClear(from, a, h.count)) continue;
            Grid g2 = before;
            Hand h2 = h;
            g2.PickUp(a, h2);
            throws(g2, h2, p0, a, a, presses + Walk(from, a) + 1);
        }
    };

    if (hand.count > 0) {
        throws(g, hand, -1, -1, column, 0);
        gather(g, hand, -1, column, 0);
        return;
    }
    for (int a = 0; a < kColumns; ++a) {
        if (g.RunColour(a, hand) < 0 || !g.PathClear(column, a, 0)) continue;
        Grid g1 = g;
        Hand h1 = hand;
        g1.PickUp(a, h1);
        const int presses = Walk(column, a) + 1;
        throws(g1, h1, a, -1, a, presses);
        gather(g1, h1, a, a, presses);
    }
}

// The board a move leaves, with the rows pushed in before the computer can
// act again counted against it.
double Planner::Score(const Candidate& c, int framesBefore, const Situation& s) const {
    const int frames = framesBefore + Frames(c.move.presses);
    int pushes = 0;
    if (s.rowPeriod > 0) {
        // Before the next move is done: another reaction and a few presses.
        const int horizon = frames + params_.reactionUpdates + 4 * params_.pressInterval;
        if (horizon > s.rowTimer) pushes = 1 + (horizon - s.rowTimer - 1) / s.rowPeriod;
    }
    double v = Evaluate(c.after, pushes, params_.readsViruses);
    if (v >= kWon) return kWon - frames;
    v += kChainBonus * std::max(0, c.outcome.links - 1);
    return v - kPressCost * c.move.presses;
}

void Planner::Begin(const Situation& s) {
    situation_ = s;
    Enumerate(s.grid, s.hand, s.column, true, first_);
    for (Candidate& c : first_) c.move.value = Score(c, 0, s);
    std::sort(first_.begin(), first_.end(),
              [](const Candidate& a, const Candidate& b) { return a.move.value > b.move.value; });
    expanded_ = 0;
    beam_ = params_.depth >= 2 ? std::min<int>(params_.beam, static_cast<int>(first_.size())) : 0;
}

int Planner::StepsFor(int updates) const {
    const int n = std::max(1, updates);
    return std::max(1, (params_.beam + n - 1) / n);
}

bool Planner::Step(int count) {
    // A first move is judged by the best move that can follow it.
    for (; expanded_ < beam_ && count > 0; ++expanded_, --count) {
        Candidate& c = first_[static_cast<std::size_t>(expanded_)];
        if (c.move.value >= kWon - 1e6) continue;
        // What can follow is looked at in single pick-ups, which keeps each
        // look bounded (two-column gathers can be seven times as many).
        Enumerate(c.after, Hand{}, c.move.target, false, second_);
        const int before = Frames(c.move.presses);
        const double carried = kChainBonus * std::max(0, c.outcome.links - 1) - kPressCost * c.move.presses;
        for (const Candidate& next : second_) c.move.value = std::max(c.move.value, Score(next, before, situation_) + carried);
    }
    return expanded_ >= beam_;
}

std::optional<Move> Planner::Choose(kestrel::RandomGenerator& rng) {
    if (first_.empty()) return std::nullopt;
    std::sort(first_.begin(), first_.begin() + beam_,
              [](const Candidate& a, const Candidate& b) { return a.move.value > b.move.value; });
    // Waiting is a choice too when the hand is empty: a move that leaves the
    // board worse than it stands is not made.
    if (situation_.hand.count == 0) {
        Candidate stay;
        stay.after = situation_.grid;
        if (first_.front().move.value <= Score(stay, 0, situation_) + 1.0) return std::nullopt;
    }
    std::size_t pick = 0;
    if (params_.errorRate > 0.0 && rng.Float() < params_.errorRate) {
        // A slip: some other move that does not lose outright.
        std::size_t open = 0;
        while (open < first_.size() && first_[open].move.value > kLost / 2) ++open;
        if (open > 1) pick = 1 + static_cast<std::size_t>(rng.Int(0, static_cast<int>(open) - 2));
    }
    return first_[pick].move;
}

std::optional<Move> Planner::Plan(const Situation& s, kestrel::RandomGenerator& rng) {
    Begin(s);
    Step(beam_);
    return Choose(rng);
}

}  // namespace virexo::computer
