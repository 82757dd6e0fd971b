#include "game/net/state_checksum.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>
#include <unordered_map>

#include "game/casilla.h"
#include "game/doc.h"
#include "game/ficha.h"
#include "game/globals.h"
#include "game/net/fnv1a.h"
#include "game/screen_flow.h"
#include "game/tablero.h"

namespace virexo::net {

namespace {

// The one walk over the state; the checksum and the dump are two sinks of it,
// so they can never cover different fields.
class HashSink {
public:
    void Begin(const char*, int index) { h_.I32(index); }
    void End() { h_.Byte(0xFF); }
    void Int(const char*, std::int64_t v) { h_.U64(static_cast<std::uint64_t>(v)); }
    void Float(const char*, float v) { h_.F32(v); }
    void Text(const char*, const std::string& s) { h_.Text(s); }
    std::uint64_t value() const { return h_.value(); }

private:
    Fnv1a64 h_;
};

class TextSink {
public:
    void Begin(const char* what, int index) {
        if (!first_) out_ << '\n';
        first_ = false;
        out_ << what;
        if (index >= 0) out_ << ' ' << index;
        out_ << ':';
    }
    void End() {}
    void Int(const char* name, std::int64_t v) { out_ << ' ' << name << '=' << v; }
    void Float(const char* name, float v) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.9g", static_cast<double>(v));
        out_ << ' ' << name << '=' << buf;
    }
    void Text(const char* name, const std::string& s) { out_ << ' ' << name << "=\"" << s << '"'; }
    std::string str() const { return out_.str() + "\n"; }

private:
    std::ostringstream out_;
    bool first_ = true;
};

template <class Sink>
void WalkDoc(Sink& s, const _doc& d) {
    s.Float("x", d.x);
    s.Float("ox", d.ox);
    s.Float("y", d.y);
    s.Float("sdx", d.sdx);
    s.Float("td", d.td);
    s.Int("color", d.color);
    s.Int("fichas", d.fichas);
    s.Int("enmano", d.listafichas ? static_cast<std::int64_t>(d.listafichas->Count()) : -1);
    s.Int("puntos", d.puntos);
    s.Int("joycont", d.joycont);
    s.Int("joy", d.joy);
}

template <class Sink>
void WalkBoard(Sink& s, int index, const _tablero& b) {
    s.Begin("board", index);
    s.Int("ancho", b.ancho);
    s.Int("alto", b.alto);
    s.Int("limpiacont", b.limpiacont);
    s.Int("limpieza", b.limpieza);
    s.Int("lineacont", b.lineacont);
    s.Int("numbixos", b.numbixos);
    s.End();

    std::unordered_map<const _ficha*, int> order;
    int n = 0;
    if (b.fichas) {
        for (const auto& f : *b.fichas) {
            order[f.get()] = n;
            s.Begin("  piece", n++);
            s.Int("color", f->color);
            s.Int("bixo", f->bixo);
            s.Float("x", f->x);
            s.Float("y", f->y);
            s.Float("dy", f->dy);
            s.Int("carried", f->carried() ? 1 : 0);
            s.End();
        }
    }
    // Cells column by column: the piece each holds (its place in the list
    // above, -1 for none) and the mark.
    for (int i = 0; i < b.ancho; ++i) {
        s.Begin("  column", i);
        for (int j = 0; j < b.alto; ++j) {
            const std::size_t k = static_cast<std::size_t>(i * b.alto + j);
            if (k >= b.casilla.size() || !b.casilla[k]) {
                s.Int("missing", j);
                continue;
            }
            const _casilla& c = *b.casilla[k];
            auto it = c.ficha ? order.find(c.ficha.get()) : order.end();
            s.Int("p", c.ficha ? (it == order.end() ? -2 : it->second) : -1);
            s.Int("m", c.marcada);
        }
        s.End();
    }
    if (b.doc) {
        s.Begin("  thrower", index);
        WalkDoc(s, *b.doc);
        s.End();
    }
}

template <class Sink>
void Walk(Sink& s, std::int32_t rngState) {
    s.Begin("game", -1);
    s.Text("estado", estado);
    s.Int("jugadores", jugadores);
    s.Float("tiempo", tiempo);
    s.Int("contbixo0", contbixo[0]);
    s.Int("contbixo1", contbixo[1]);
    s.Int("periodobixo", periodobixo);
    s.Int("periodolinea", periodolinea);
    s.Int("rng", rngState);
    s.End();
    for (int p = 0; p < 2; ++p) {
        if (tableros[static_cast<std::size_t>(p)]) {
            WalkBoard(s, p, *tableros[static_cast<std::size_t>(p)]);
        } else if (docs[static_cast<std::size_t>(p)]) {
            s.Begin("thrower", p);
            WalkDoc(s, *docs[static_cast<std::size_t>(p)]);
            s.End();
        }
    }
}

bool MakeFolder(const std::string& path, std::string* why) {
    // Each level in turn, like mkdir -p.
    for (std::size_t at = 1; at <= path.size(); ++at) {
        if (at != path.size() && path[at] != '/') continue;
        const std::string part = path.substr(0, at);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            if (why) *why = "cannot create " + part + ": " + std::strerror(errno);
            return false;
        }
    }
    return true;
}

}  // namespace

std::uint64_t GameChecksum(std::int32_t rngState) {
    HashSink s;
    Walk(s, rngState);
    return s.value();
}

std::string DescribeGame(std::int32_t rngState) {
    TextSink s;
    Walk(s, rngState);
    return s.str();
}

std::string CacheFolder() {
    const char* xdg = std::getenv("XDG_CACHE_HOME");
    if (xdg && xdg[0] == '/') return std::string(xdg) + "/virexo";
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') return std::string(home) + "/.cache/virexo";
    return {};
}

std::string WriteCacheFile(const std::string& name, const std::string& text, std::string* why) {
    const std::string folder = CacheFolder();
    if (folder.empty()) {
        if (why) *why = "neither XDG_CACHE_HOME nor HOME is set";
        return {};
    }
    if (!MakeFolder(folder, why)) return {};
    char stamp[32];
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    gmtime_r(&now, &tm);
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &tm);
    const std::size_t dash = name.find('-');
    const std::string head = name.substr(0, dash), tail = dash == std::string::npos ? "" : name.substr(dash);
    for (int n = 0; n < 100; ++n) {
        std::string path = folder + "/" + head + "-" + stamp + tail;
        if (n > 0) path += "-" + std::to_string(n);
        path += ".txt";
        FILE* f = std::fopen(path.c_str(), "wx");  // never overwrite an earlier file
        if (!f) {
            if (errno == EEXIST) continue;
            if (why) *why = "cannot write " + path + ": " + std::strerror(errno);
            return {};
        }
        const bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
        if (std::fclose(f) != 0 || !ok) {
            if (why) *why = "cannot write " + path;
            return {};
        }
        return path;
    }
    if (why) *why = "too many files in one second";
    return {};
}

std::string WriteDesyncReport(std::uint32_t frame, std::uint64_t localSum, const std::string& localDump,
                              std::uint64_t remoteSum, const std::string& remoteDump, std::string* why) {
    char sums[128];
    std::snprintf(sums, sizeof sums, "frame %u\nthis machine %016llx\nother machine %016llx\n", frame,
                  static_cast<unsigned long long>(localSum), static_cast<unsigned long long>(remoteSum));
    std::string text = "The games went out of step\n";
    text += sums;
    text += "\n== this machine\n" + localDump;
    text += "\n== other machine\n" + (remoteDump.empty() ? std::string("(not received)\n") : remoteDump);
    return WriteCacheFile("desync", text, why);
}

}  // namespace virexo::net
