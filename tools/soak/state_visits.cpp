#include "tools/soak/state_visits.h"

#include <iomanip>

namespace virexo::soak {

const std::vector<std::string>& StateVisits::StateNames() {
    static const std::vector<std::string> names = {
        "menu",  "dificultad", "creapartida", "ayuda",  "iniciajuego", "juego", "pausa",
        "fin10", "fin20",      "fin21",       "fin10b", "fin20b",      "fin21b"};
    return names;
}

const std::vector<std::string>& StateVisits::OptionalStateNames() {
    static const std::vector<std::string> names = {"rival"};
    return names;
}

void StateVisits::Observe(const std::string& estado, int jugadores) {
    if (estado == last_) return;
    last_ = estado;
    visits_[estado] += 1;
    if (estado == "juego" && (jugadores == 1 || jugadores == 2)) play_[jugadores - 1] += 1;
}

long StateVisits::Visits(const std::string& name) const {
    const auto it = visits_.find(name);
    return it == visits_.end() ? 0 : it->second;
}

long StateVisits::PlayVisits(int jugadores) const {
    return jugadores == 1 || jugadores == 2 ? play_[jugadores - 1] : 0;
}

long StateVisits::Won() const { return Visits("fin10b") + Visits("fin20b") + Visits("fin21b"); }

long StateVisits::Lost() const { return Visits("fin10") + Visits("fin20") + Visits("fin21"); }

std::vector<std::string> StateVisits::Missing() const {
    std::vector<std::string> missing;
    for (const auto& name : StateNames())
        if (Visits(name) == 0) missing.push_back(name);
    if (play_[0] == 0) missing.push_back("juego with one player");
    if (play_[1] == 0) missing.push_back("juego with two players");
    return missing;
}

std::vector<std::string> StateVisits::Unknown() const {
    std::vector<std::string> unknown;
    for (const auto& [name, count] : visits_) {
        bool known = false;
        for (const auto& n : StateNames()) known = known || n == name;
        for (const auto& n : OptionalStateNames()) known = known || n == name;
        if (!known) unknown.push_back(name);
    }
    return unknown;
}

std::vector<std::string> StateVisits::MissingKinds() const {
    std::vector<std::string> missing;
    for (const auto& name : Missing())
        if (name.rfind("fin", 0) != 0) missing.push_back(name);
    if (Won() == 0) missing.push_back("a won end screen");
    if (Lost() == 0) missing.push_back("a lost end screen");
    return missing;
}

void StateVisits::Print(std::ostream& out) const {
    for (const auto* names : {&StateNames(), &OptionalStateNames()})
        for (const auto& name : *names)
            out << "  " << std::left << std::setw(12) << name << std::right << std::setw(9) << Visits(name) << '\n';
    for (const auto& name : Unknown()) out << "  unknown state \"" << name << "\": " << Visits(name) << '\n';
    out << "  play with 1 player: " << play_[0] << ", with 2 players: " << play_[1] << '\n';
    out << "  games won: " << Won() << ", lost: " << Lost() << '\n';
}

}  // namespace virexo::soak
