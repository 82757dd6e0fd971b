#include "game/frame_stats.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ostream>

namespace virexo {

namespace {

double Percentile(std::vector<std::int32_t> v, double p) {
    if (v.empty()) return 0.0;
    std::sort(v.begin(), v.end());
    const auto i = static_cast<std::size_t>(p * static_cast<double>(v.size() - 1) + 0.5);
    return v[std::min(i, v.size() - 1)] / 1000.0;
}

}  // namespace

void EstadisticasFotogramas::Suma(PorEstado& s, std::int64_t intervalUs, int updates) {
    s.frames += 1;
    s.updates += updates;
    s.wallUs += intervalUs;
    s.intervalsUs.push_back(static_cast<std::int32_t>(std::min<std::int64_t>(intervalUs, INT32_MAX)));
}

void EstadisticasFotogramas::Anota(const std::string& state, std::int64_t presentedUs, int updates) {
    // The frame just timed is the one presented now.
    for (Lento& l : lentos_)
        if (l.state.empty() && l.frame + 1 == trabajoUs_.size()) l.state = state;
    if (correccionLenta_.state.empty() && correccionLenta_.frame + 1 == trabajoUs_.size())
        correccionLenta_.state = state;
    // The first frame has no interval: it only starts the clock.
    if (!haveLast_) {
        haveLast_ = true;
        firstUs_ = lastUs_ = presentedUs;
        return;
    }
    const std::int64_t interval = presentedUs - lastUs_;
    lastUs_ = presentedUs;
    auto [it, added] = porEstado_.try_emplace(state);
    if (added) it->second.order = static_cast<int>(porEstado_.size());
    Suma(it->second, interval, updates);
    Suma(total_, interval, updates);
}

void EstadisticasFotogramas::AnotaLanzador(int lanzador, const void* doc, float columna) {
    if (lanzador < 0 || lanzador > 1) return;
    Lanzador& l = lanzadores_[lanzador];
    // A new game's thrower starts where it stands: no walk to get there.
    if (l.doc == doc) l.andado += std::fabs(static_cast<double>(columna - l.columna));
    l.doc = doc;
    l.columna = columna;
    l.visto = true;
}

void EstadisticasFotogramas::AnotaTrabajo(std::int64_t us, bool correccion, std::int64_t cpuUs) {
    us = std::clamp<std::int64_t>(us, 0, INT32_MAX);
    trabajoUs_.push_back(static_cast<std::int32_t>(us));
    const Lento l{static_cast<std::int32_t>(us), trabajoUs_.size() - 1, haveLast_ ? lastUs_ - firstUs_ : 0,
                  cpuUs, correccion, {}};
    constexpr std::size_t kLentos = 5;
    if (lentos_.size() < kLentos || us > lentos_.back().us) {
        const auto at = std::find_if(lentos_.begin(), lentos_.end(), [&](const Lento& o) { return o.us < l.us; });
        lentos_.insert(at, l);
        if (lentos_.size() > kLentos) lentos_.pop_back();
    }
    if (!correccion) return;
    if (correccionesN_ == 0 || us > correccionLenta_.us) correccionLenta_ = l;
    correccionesN_ += 1;
    correccionesUs_ += us;
    correccionMaxUs_ = std::max(correccionMaxUs_, us);
}

std::optional<std::int64_t> EstadisticasFotogramas::Primero() const {
    if (!haveLast_) return std::nullopt;
    return firstUs_;
}

void EstadisticasFotogramas::Escribe(std::ostream& out) const {
    std::vector<std::pair<const std::string*, const PorEstado*>> rows;
    for (const auto& [name, s] : porEstado_) rows.emplace_back(&name, &s);
    std::sort(rows.begin(), rows.end(),
              [](const auto& a, const auto& b) { return a.second->order < b.second->order; });
    rows.emplace_back(nullptr, &total_);
    out << "state frames seconds fps median_ms p95_ms game_speed\n";
    for (const auto& [name, s] : rows) {
        const double seconds = s->wallUs / 1e6;
        char line[160];
        std::snprintf(line, sizeof line, "%s %lld %.3f %.2f %.2f %.2f %.4f\n",
                      name ? name->c_str() : "all", static_cast<long long>(s->frames), seconds,
                      seconds > 0 ? s->frames / seconds : 0.0, Percentile(s->intervalsUs, 0.5),
                      Percentile(s->intervalsUs, 0.95),
                      seconds > 0 ? (s->updates / 60.0) / seconds : 0.0);
        out << line;
    }
    for (int i = 0; i < 2; ++i)
        if (lanzadores_[i].visto)
            out << "thrower " << i << " cells_walked " << std::lround(lanzadores_[i].andado) << "\n";
    if (trabajoUs_.empty()) return;
    char line[160];
    std::snprintf(line, sizeof line, "work frames %zu median_ms %.2f p95_ms %.2f max_ms %.2f\n",
                  trabajoUs_.size(), Percentile(trabajoUs_, 0.5), Percentile(trabajoUs_, 0.95),
                  *std::max_element(trabajoUs_.begin(), trabajoUs_.end()) / 1000.0);
    out << line;
    std::snprintf(line, sizeof line, "work correction_frames %lld mean_ms %.2f max_ms %.2f\n",
                  static_cast<long long>(correccionesN_),
                  correccionesN_ ? correccionesUs_ / 1000.0 / static_cast<double>(correccionesN_) : 0.0,
                  correccionMaxUs_ / 1000.0);
    out << line;
    const auto linea = [&](const char* clave, const Lento& l) {
        char cpu[32] = "-";
        if (l.cpuUs >= 0) std::snprintf(cpu, sizeof cpu, "%.2f", l.cpuUs / 1000.0);
        std::snprintf(line, sizeof line, "work %s %.2f frame %zu at_s %.3f state %s correction %d cpu_ms %s\n", clave,
                      l.us / 1000.0, l.frame, l.atUs / 1e6, l.state.empty() ? "-" : l.state.c_str(),
                      l.correccion ? 1 : 0, cpu);
        out << line;
    };
    for (const Lento& l : lentos_) linea("slowest", l);
    if (correccionesN_) linea("slowest_correction", correccionLenta_);
}

}  // namespace virexo
