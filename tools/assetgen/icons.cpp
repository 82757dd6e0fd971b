#include "icons.h"

#include <cmath>
#include <string>

#include "palette.h"
#include "png_writer.h"
#include "viruses.h"

namespace assetgen {

namespace {

constexpr int kGreen = 1;  // the title's colour

// The virus fills this share of the icon; the rest holds the shadow.
constexpr float kVirusShare = 0.92f;

}  // namespace

const std::vector<int>& IconSizes() {
    static const std::vector<int> sizes = {16, 22, 24, 32, 48, 64, 128, 256};
    return sizes;
}

Canvas MakeAppIcon(int size) {
    Canvas icon(size, size);
    const int inner = std::max(1, int(std::lround(size * kVirusShare)));
    const Canvas virus = MakeVirus(kGreen, inner);
    const int ox = (size - inner) / 2;
    const int oy = std::max(0, (size - inner) / 2 - std::max(1, size / 64));

    // A soft shadow below the creature keeps its outline readable on light
    // panels as well as on dark ones.
    Mask shadow(size, size);
    const Mask alpha = virus.AlphaMask();
    const int drop = std::max(1, size / 32);
    for (int y = 0; y < inner; ++y)
        for (int x = 0; x < inner; ++x) {
            const int tx = x + ox, ty = y + oy + drop;
            if (tx < size && ty < size) shadow.Ref(tx, ty) = alpha.At(x, y);
        }
    icon.FillMask(Blur(shadow, std::max(1, size / 48)), 0, 0, Rgb(0, 0, 8, 0.55f));
    icon.Draw(virus, ox, oy);
    return icon;
}

void WriteAppIcons(const std::filesystem::path& root) {
    for (int size : IconSizes()) {
        const std::string dim = std::to_string(size) + "x" + std::to_string(size);
        const std::filesystem::path dir = root / "icons" / "hicolor" / dim / "apps";
        std::filesystem::create_directories(dir);
        WritePng((dir / "virexo.png").string(), MakeAppIcon(size));
    }
}

}  // namespace assetgen
