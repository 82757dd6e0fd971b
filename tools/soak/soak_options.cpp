#include "tools/soak/soak_options.h"

#include <cstdlib>
#include <type_traits>

namespace virexo::soak {

std::optional<SoakOptions> ParseSoakOptions(const std::vector<std::string>& args, std::string* why) {
    SoakOptions o;
    auto number = [&](std::size_t& i, auto& out, double lo, double hi) {
        if (i + 1 >= args.size()) {
            *why = args[i] + " needs a value";
            return false;
        }
        const std::string& s = args[++i];
        char* end = nullptr;
        const double v = std::strtod(s.c_str(), &end);
        if (s.empty() || *end != '\0' || !(v >= lo && v <= hi)) {
            *why = "bad value for " + args[i - 1] + ": " + s;
            return false;
        }
        using T = std::remove_reference_t<decltype(out)>;
        if (!std::is_floating_point_v<T> && v != static_cast<double>(static_cast<long>(v))) {
            *why = "bad value for " + args[i - 1] + ": " + s;
            return false;
        }
        out = static_cast<T>(v);
        return true;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        bool ok = true;
        if (a == "--frames") ok = number(i, o.frames, 1, 2e9);
        else if (a == "--seed") ok = number(i, o.seed, 0, 4294967295.0);
        else if (a == "--rss-margin-mb") ok = number(i, o.rssMarginMb, 0, 1e6);
        else if (a == "--require" && i + 1 < args.size()) {
            const std::string& what = args[++i];
            if (what == "every") o.coverage = SoakOptions::Coverage::Every;
            else if (what == "kinds") o.coverage = SoakOptions::Coverage::Kinds;
            else if (what == "none") o.coverage = SoakOptions::Coverage::None;
            else {
                *why = "--require takes every, kinds or none, not " + what;
                ok = false;
            }
        }
        else if (a == "--log-games") o.logGames = true;
        else if (a == "--style" && i + 1 < args.size()) {
            const std::string& name = args[++i];
            for (int st = 0; st < kStyles; ++st)
                if (name == StyleName(static_cast<Style>(st))) o.style = static_cast<Style>(st);
            if (!o.style) {
                *why = "unknown style " + name;
                ok = false;
            }
        }
        else {
            *why = "unknown option " + a;
            ok = false;
        }
        if (!ok) return std::nullopt;
    }
    return o;
}

}  // namespace virexo::soak
