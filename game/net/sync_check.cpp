#include "game/net/sync_check.h"

#include <sstream>
#include <stdexcept>
#include <vector>

#include "game/net/state_checksum.h"
#include "game/screen_flow.h"
#include "toolkit/system/random.h"

namespace virexo::net {

namespace {
std::uint64_t Sum() { return GameChecksum(kestrel::RndSeed()); }

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}
}  // namespace

SyncCheck::SyncCheck(int depth, Saver saver) : depth_(depth), saver_(std::move(saver)) {
    if (depth < 1) throw std::invalid_argument("sync check: the depth must be 1 or more");
}

void SyncCheck::Run(const TeclasJugadores& bits) {
    ponteclasdered(&bits);
    actualizaestado();
    ponteclasdered(nullptr);
}

bool SyncCheck::Step(const TeclasJugadores& bits) {
    if (mismatch_) return false;
    Past now{saver_.take(), bits, 0};
    Run(bits);
    now.sumAfter = Sum();
    ++updates_;
    history_.push_back(std::move(now));
    while (history_.size() > static_cast<std::size_t>(depth_)) history_.pop_front();
    // The first run's state after this update, to show a difference with.
    const GameSnapshot firstAfter = saver_.take();

    // Back to before the oldest update kept, and every kept update again.
    const int back = static_cast<int>(history_.size());
    saver_.restore(history_.front().before);
    for (int i = 0; i < back; ++i) {
        const Past& p = history_[static_cast<std::size_t>(i)];
        Run(p.bits);
        ++reruns_;
        const std::uint64_t sum = Sum();
        if (sum == p.sumAfter) continue;
        SyncMismatch m;
        m.update = updates_ - static_cast<std::uint64_t>(back - i);
        m.rerunDepth = back;
        m.first = p.sumAfter;
        m.rerun = sum;
        const std::string rerun = DescribeGame(kestrel::RndSeed());
        // The first run's state after update i is the snapshot taken before
        // the next one, or the one taken after the newest.
        // (Restored whole, whatever the saver leaves out.)
        if (i + 1 < back) history_[static_cast<std::size_t>(i + 1)].before.Restore();
        else firstAfter.Restore();
        m.difference = DescribeDifference(DescribeGame(kestrel::RndSeed()), rerun);
        mismatch_ = std::move(m);
        return false;
    }
    return true;
}

std::string DescribeDifference(const std::string& first, const std::string& second) {
    const std::vector<std::string> a = Lines(first), b = Lines(second);
    std::string out;
    const std::size_t n = std::max(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const std::string& l = i < a.size() ? a[i] : std::string();
        const std::string& r = i < b.size() ? b[i] : std::string();
        if (l == r) continue;
        out += "- " + l + "\n+ " + r + "\n";
    }
    return out;
}

}  // namespace virexo::net
