#include "game/net/game_snapshot.h"

#include <unordered_map>

#include "game/casilla.h"
#include "game/doc.h"
#include "game/explota.h"
#include "game/ficha.h"
#include "game/globals.h"
#include "game/screen_flow.h"
#include "game/tablero.h"
#include "toolkit/system/random.h"

namespace virexo::net {

namespace {

// Copies the two boards and throwers as one graph, so that every link
// between them (cell to piece, piece to thrower and board, thrower to board)
// points into the copy. A piece is copied once however many places hold it.
class GraphCopy {
public:
    std::shared_ptr<_ficha> Piece(const std::shared_ptr<_ficha>& f) {
        if (!f) return nullptr;
        auto it = pieces_.find(f.get());
        if (it != pieces_.end()) return it->second;
        auto c = std::make_shared<_ficha>(*f);
        pieces_[f.get()] = c;
        c->doc = Thrower(f->doc.lock());
        c->tablero = Board(f->tablero.lock());
        return c;
    }

    std::shared_ptr<_doc> Thrower(const std::shared_ptr<_doc>& d) {
        if (!d) return nullptr;
        auto it = throwers_.find(d.get());
        if (it != throwers_.end()) return it->second;
        auto c = std::make_shared<_doc>(*d);
        throwers_[d.get()] = c;
        c->tablero = Board(d->tablero.lock());
        c->listafichas = kestrel::CreateList<_ficha>();
        if (d->listafichas)
            for (const auto& f : *d->listafichas) c->listafichas->AddLast(Piece(f));
        return c;
    }

    std::shared_ptr<_tablero> Board(const std::shared_ptr<_tablero>& b) {
        if (!b) return nullptr;
        auto it = boards_.find(b.get());
        if (it != boards_.end()) return it->second;
        auto c = std::make_shared<_tablero>(*b);
        boards_[b.get()] = c;
        c->doc = Thrower(b->doc);
        for (std::size_t k = 0; k < b->casilla.size(); ++k) {
            const auto& cell = b->casilla[k];
            if (!cell) continue;
            auto cc = std::make_shared<_casilla>(*cell);
            cc->tablero = c;
            cc->ficha = Piece(cell->ficha);
            c->casilla[k] = std::move(cc);
        }
        c->fichas = kestrel::CreateList<_ficha>();
        if (b->fichas)
            for (const auto& f : *b->fichas) c->fichas->AddLast(Piece(f));
        return c;
    }

private:
    std::unordered_map<const _ficha*, std::shared_ptr<_ficha>> pieces_;
    std::unordered_map<const _doc*, std::shared_ptr<_doc>> throwers_;
    std::unordered_map<const _tablero*, std::shared_ptr<_tablero>> boards_;
};

void CopyGame(const std::array<std::shared_ptr<_doc>, 2>& fromDocs,
              const std::array<std::shared_ptr<_tablero>, 2>& fromBoards,
              std::array<std::shared_ptr<_doc>, 2>& toDocs, std::array<std::shared_ptr<_tablero>, 2>& toBoards) {
    GraphCopy copy;
    for (std::size_t p = 0; p < 2; ++p) {
        toBoards[p] = copy.Board(fromBoards[p]);
        toDocs[p] = copy.Thrower(fromDocs[p]);
    }
}

std::vector<std::shared_ptr<_explota>> CopyParticles(const kestrel::TListPtr<_explota>& list) {
    std::vector<std::shared_ptr<_explota>> out;
    if (list)
        for (const auto& e : *list) out.push_back(std::make_shared<_explota>(*e));
    return out;
}

}  // namespace

GameSnapshot GameSnapshot::Take() {
    GameSnapshot s;
    s.estado_ = estado;
    s.jugadores_ = jugadores;
    s.tiempo_ = tiempo;
    s.periodobixo_ = periodobixo;
    s.periodolinea_ = periodolinea;
    s.lineasiniciales_ = lineasiniciales;
    s.contbixo_ = {contbixo[0], contbixo[1]};
    CopyGame(docs, tableros, s.docs_, s.tableros_);
    s.particles_ = CopyParticles(listaexplota);
    s.rng_ = kestrel::RndSeed();
    s.music_ = canalmusica;
    return s;
}

void GameSnapshot::Restore() const {
    estado = estado_;
    jugadores = jugadores_;
    tiempo = tiempo_;
    periodobixo = periodobixo_;
    periodolinea = periodolinea_;
    lineasiniciales = lineasiniciales_;
    contbixo[0] = contbixo_[0];
    contbixo[1] = contbixo_[1];
    CopyGame(docs_, tableros_, docs, tableros);
    auto particles = kestrel::CreateList<_explota>();
    for (const auto& e : particles_) particles->AddLast(std::make_shared<_explota>(*e));
    listaexplota = particles;
    kestrel::SeedRnd(rng_);
    canalmusica = music_;
}

}  // namespace virexo::net
