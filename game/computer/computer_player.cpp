#include "game/computer/computer_player.h"

#include "game/casilla.h"
#include "game/doc.h"
#include "game/ficha.h"
#include "game/globals.h"
#include "game/player_keys.h"
#include "game/tablero.h"

namespace virexo::computer {

namespace {

std::uint64_t SignatureOf(const Grid& g, const Hand& h) {
    return g.Signature() ^ (static_cast<std::uint64_t>(h.colour + 1) << 56) ^ (static_cast<std::uint64_t>(h.count) << 60);
}

// How long to wait before looking again when no move was worth making.
constexpr int kIdleUpdates = 30;

}  // namespace

View Observe(const _tablero& board) {
    View v;
    Situation& s = v.situation;
    if (board.ancho == kColumns && board.alto == kRows) {
        for (int c = 0; c < kColumns; ++c)
            for (int r = 0; r < kRows; ++r)
                if (const auto& f = board.celda(c, r).ficha) s.grid.Set(c, r, f->color, f->bixo != 0);
    }
    if (board.doc) {
        s.column = static_cast<int>(board.doc->x);
        s.hand.colour = board.doc->fichas > 0 ? board.doc->color : -1;
        s.hand.count = board.doc->fichas;
    }
    s.rowTimer = board.lineacont;
    s.rowPeriod = periodolinea;
    v.clearPending = board.limpieza != 0;
    return v;
}

std::uint32_t SeedFrom(const _tablero& board) {
    const std::uint64_t h = Observe(board).situation.grid.Signature();
    return static_cast<std::uint32_t>(h ^ (h >> 32));
}

ComputerPlayer::ComputerPlayer(Strength strength, std::uint32_t seed)
    : strength_(strength), params_(ParamsOf(strength)), planner_(params_),
      rng_(static_cast<std::int32_t>(seed & 0x7FFFFFFF)) {}

void ComputerPlayer::Drop() {
    plan_.reset();
    walkedFrom_ = -1;
}

int ComputerPlayer::Goal() const {
    if (step_ == Step::kPick0) return plan_->pick[0];
    if (step_ == Step::kPick1) return plan_->pick[1];
    return plan_->target;
}

void ComputerPlayer::Think(const Situation& s) {
    planner_.Begin(s);
    thinking_ = true;
    thinkBegan_ = now_;
    thoughtBy_ = now_ + params_.reactionUpdates - 1;
}

std::uint8_t ComputerPlayer::Decide(const View& view) {
    ++now_;
    const Situation& s = view.situation;
    if (view.clearPending) {
        // The burst and its chains change the board: plan on what they leave.
        Drop();
        thinking_ = false;
        changedAt_ = now_;
        return 0;
    }
    const std::uint64_t sig = SignatureOf(s.grid, s.hand);
    if (sig != lastSig_) {
        const bool foreseen = plan_ && sig == expectedSig_;
        lastSig_ = sig;
        if (!foreseen) {
            Drop();
            changedAt_ = now_;
            Think(s);
        }
    }
    if (walkedFrom_ >= 0) {
        // The update after a step: was it refused (a column grown into the
        // carried stack)?
        if (plan_ && s.column == walkedFrom_) {
            Drop();
            changedAt_ = now_;
            Think(s);
        }
        walkedFrom_ = -1;
    }
    if (!plan_ && !thinking_ && now_ >= idleUntil_) Think(s);
    if (thinking_ && (now_ != thinkBegan_ || now_ >= thoughtBy_)) {
        // The search is spread over the reaction time (the update that began
        // it weighed the first moves) and done by its end.
        const long left = thoughtBy_ - now_;
        const bool done = planner_.Step(left > 0 ? planner_.StepsFor(static_cast<int>(left) + 1) : 1 << 20);
        if (done) {
            thinking_ = false;
            plan_ = planner_.Choose(rng_);
            ++plans_;
            if (plan_) step_ = plan_->pick[0] >= 0 ? Step::kPick0 : Step::kThrow;
            else idleUntil_ = now_ + kIdleUpdates;
        }
    }
    if (now_ - changedAt_ < params_.reactionUpdates) return 0;
    if (now_ - lastPress_ < params_.pressInterval) return 0;
    if (!plan_) return 0;
    return Carry(view);
}

std::uint8_t ComputerPlayer::Carry(const View& view) {
    const Situation& s = view.situation;
    const int goal = Goal();
    if (s.column != goal) {
        lastPress_ = now_;
        walkedFrom_ = s.column;
        return goal < s.column ? teclas::kIzquierda : teclas::kDerecha;
    }
    if (step_ == Step::kThrow) {
        // Whatever the throw brings about is a change to react to.
        Drop();
        lastPress_ = now_;
        return teclas::kArriba;
    }
    Grid g = s.grid;
    Hand h = s.hand;
    if (g.PickUp(goal, h) == 0) {
        Drop();
        changedAt_ = now_;
        return 0;
    }
    expectedSig_ = SignatureOf(g, h);
    step_ = step_ == Step::kPick0 && plan_->pick[1] >= 0 ? Step::kPick1 : Step::kThrow;
    lastPress_ = now_;
    return teclas::kAbajo;
}

}  // namespace virexo::computer
