// Forward declarations of the game types and the toolkit objects they hold,
// so the game headers can name each other without include cycles.
#pragma once

#include <memory>

namespace kestrel {
class TImage;
class TImageFont;
class TSound;
class TChannel;
}  // namespace kestrel

namespace virexo {

class _tablero;
class _casilla;
class _ficha;
class _doc;
class _explota;

using TImagePtr = std::shared_ptr<kestrel::TImage>;
using TImageFontPtr = std::shared_ptr<kestrel::TImageFont>;
using TSoundPtr = std::shared_ptr<kestrel::TSound>;
using TChannelPtr = std::shared_ptr<kestrel::TChannel>;

}  // namespace virexo
