// A contact sheet: every picture at 1:1 on the game's dark backdrop, with
// its name, plus a mock-up of a board row and a banner cut into its strips.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "canvas.h"

namespace assetgen {

struct NamedImage {
    std::string name;
    const Canvas* canvas;
};

Canvas MakeContactSheet(const std::vector<NamedImage>& images);

}  // namespace assetgen
