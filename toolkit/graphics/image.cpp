#include "toolkit/graphics/image.h"

#include "toolkit/core/error.h"
#include "toolkit/graphics/graphics.h"
#include "toolkit/graphics/lumo2d_graphics.h"
#include "toolkit/resources/load_report.h"
#include "toolkit/resources/pixmap_loader.h"

namespace kestrel {

namespace {

void CheckIndex(const TImage& image, int index) {
    if (index < 0 || std::size_t(index) >= image.frames.size()) throw TArrayBoundsException();
}

TPixmapPtr PixmapOf(const Url& url) {
    if (TPixmapPtr p = url.As<TPixmap>()) return p;
    return LoadPixmap(url);
}

}  // namespace

void TImageFrame::DrawPolygon(const std::vector<float>&, float, float, float, float) {
    throw TNullMethodException();
}

bool TImageFrame::CopyFromBackBuffer(int, int, int, int) { return false; }

bool TImageFrame::DrawUnder(TImageFrame&, float, float, float, float, float, float, float, float,
                            float, float, float, float) {
    return false;
}

bool TImageFrame::Reload(const TPixmapPtr&, int) { return false; }

TPixmapPtr TImageFrame::ReadDrawnAt(int, int) { return nullptr; }

TImageFramePtr TImage::Frame(int index) {
    CheckIndex(*this, index);
    const std::size_t i = std::size_t(index);
    const int seq = GraphicsSeq();
    if (seqs[i] == seq) return frames[i];
    // Pixels written since the frame was made go into it where they can.
    if (frames[i] && pixmaps[i] && frames[i]->Reload(pixmaps[i], flags)) {
        seqs[i] = seq;
        return frames[i];
    }
    TLumo2DDriver* driver = CurrentLumo2DDriverPtr();
    frames[i] = driver ? driver->CreateFrameFromPixmap(Lock(index, 1, 0), flags) : nullptr;
    seqs[i] = frames[i] ? seq : 0;
    return frames[i];
}

TPixmapPtr TImage::Lock(int index, int /*read*/, int write) {
    CheckIndex(*this, index);
    const std::size_t i = std::size_t(index);
    // Written pixels are taken at the next draw, into the renderer frame
    // already made when it can take them (TImageFrame::Reload).
    if (write != 0) seqs[i] = 0;
    if (!pixmaps[i]) pixmaps[i] = CreatePixmap(width, height, PF_RGBA8888, 4);
    return pixmaps[i];
}

void TImage::SetPixmap(int index, TPixmapPtr pixmap) {
    CheckIndex(*this, index);
    const std::size_t i = std::size_t(index);
    if ((flags & MASKEDIMAGE) && pixmap && AlphaBitsPerPixel[std::size_t(pixmap->format)] == 0)
        pixmap = MaskPixmap(pixmap, mask_r, mask_g, mask_b);
    pixmaps[i] = std::move(pixmap);
    seqs[i] = 0;
    frames[i] = nullptr;
}

TImagePtr TImage::Create(int width, int height, int frameCount, int flags, int mask_r,
                         int mask_g, int mask_b) {
    auto image = std::make_shared<TImage>();
    image->width = width;
    image->height = height;
    image->flags = flags;
    image->mask_r = mask_r;
    image->mask_g = mask_g;
    image->mask_b = mask_b;
    const std::size_t n = frameCount > 0 ? std::size_t(frameCount) : 0;
    image->pixmaps.resize(n);
    image->frames.resize(n);
    image->seqs.assign(n, 0);
    return image;
}

TImagePtr TImage::Load(const Url& url, int flags, int mask_r, int mask_g, int mask_b) {
    LoadAttempt attempt("LoadImage", url);
    TPixmapPtr pixmap = PixmapOf(url);
    if (!pixmap) return attempt.Finish(TImagePtr());
    TImagePtr image = Create(pixmap->width, pixmap->height, 1, flags, mask_r, mask_g, mask_b);
    image->SetPixmap(0, pixmap);
    return attempt.Finish(image);
}

TImagePtr TImage::LoadAnim(const Url& url, int cellWidth, int cellHeight, int first, int count,
                           int flags, int mask_r, int mask_g, int mask_b) {
    LoadAttempt attempt("LoadAnimImage", url);
    TPixmapPtr pixmap = PixmapOf(url);
    if (!pixmap) return attempt.Finish(TImagePtr());
    // A cell size of 0 would divide by zero, and negative cells would lie
    // outside the picture: neither fits.
    if (cellWidth <= 0 || cellHeight <= 0 || first < 0 || count < 0) {
        SetLoadReason("cells of " + std::to_string(cellWidth) + " x " + std::to_string(cellHeight) +
                      " from " + std::to_string(first) + ", " + std::to_string(count) +
                      " of them: sizes must be positive, first and count not negative");
        return attempt.Finish(TImagePtr());
    }
    const int columns = pixmap->width / cellWidth;
    const int rows = pixmap->height / cellHeight;
    if (std::int64_t(first) + count > std::int64_t(columns) * rows) {
        SetLoadReason("the " + std::to_string(pixmap->width) + " x " +
                      std::to_string(pixmap->height) + " picture holds " +
                      std::to_string(columns * rows) + " cells of " + std::to_string(cellWidth) +
                      " x " + std::to_string(cellHeight) + ", not " + std::to_string(first) +
                      " + " + std::to_string(count));
        return attempt.Finish(TImagePtr());
    }
    TImagePtr image = Create(cellWidth, cellHeight, count, flags, mask_r, mask_g, mask_b);
    for (int cell = first; cell < first + count; ++cell) {
        const int x = (cell % columns) * cellWidth;
        const int y = (cell / columns) * cellHeight;
        image->SetPixmap(cell - first, pixmap->Window(x, y, cellWidth, cellHeight)->Copy());
    }
    return attempt.Finish(image);
}

}  // namespace kestrel
