// The game's asset table: every embedded file with its kind and the sizes,
// sample formats and durations it must have.
#pragma once

#include <string>
#include <vector>

namespace asset_test {

enum class Kind { Font, Wav, Ogg, Png };

struct Asset {
    std::string name;
    Kind kind;
    // Png: width, height. Wav/Ogg: channels, rate, seconds.
    int width = 0, height = 0;
    int channels = 0, rate = 0;
    double seconds = 0;
};

// The 45 files in the order the game registers them.
const std::vector<Asset>& AssetTable();
// Registers the embedded files once (the game registers them the same way).
void RegisterAssetsOnce();

}  // namespace asset_test
