#pragma once
// Draws the window's objects into an SDL surface, as the shared painter
// decides. Text and smooth shapes are rasterised at the size they are shown
// and kept while they are in use, whatever surface they are drawn on: a
// window that changes size back and forth redraws from what it kept.

#include <SDL2/SDL.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <tuple>
#include <unordered_map>

#include "frontend/core/painter.h"
#include "frontend/core/viewport.h"
#include "frontend/desktop/font_book.h"
#include "ui/controls.h"

namespace tessaly::desktop {

using frontend::PixelRect;
using frontend::Viewport;

inline SDL_Rect toSdl(const PixelRect& r) { return {r.x, r.y, r.w, r.h}; }

class FramePainter final : private frontend::Surface {
 public:
  explicit FramePainter(FontBook& fonts);
  ~FramePainter() override;
  FramePainter(const FramePainter&) = delete;
  FramePainter& operator=(const FramePainter&) = delete;

  // Repaints `area` (pixels of `target`) with every object that touches it;
  // the letterbox around the client area is painted too. `pressedButton`
  // names a push button drawn pressed in, or is empty.
  void paint(SDL_Surface* target, const Controls& controls, const Viewport& view, const PixelRect& area,
             std::string_view pressedButton = {});
  // The painter drawing onto `target`, for a frame's areas.
  frontend::Surface& onto(SDL_Surface* target) {
    target_ = target;
    return *this;
  }

 private:
  struct Cached {
    SDL_Surface* surface = nullptr;
    int width = 0;
    int height = 0;
    std::uint64_t lastUsed = 0;
  };
  // A caption as drawn: face, pixel size, colour and text. Found by a key
  // that views its text, without a copy: by its hash, then one comparison,
  // where an ordered map compared texts at every level of its tree (a frame
  // looks up a caption for each of its hundreds of bricks).
  template <class Text>
  struct CaptionKey {
    const void* face;
    int pixels;
    std::uint32_t color;
    Text text;
  };
  using TextKey = CaptionKey<std::string>;
  struct CaptionHash {
    using is_transparent = void;
    template <class Text>
    std::size_t operator()(const CaptionKey<Text>& k) const {
      std::size_t h = std::hash<std::string_view>{}(k.text);
      h = h * 1000003 ^ std::hash<const void*>{}(k.face);
      h = h * 1000003 ^ static_cast<std::size_t>(k.pixels);
      return h * 1000003 ^ k.color;
    }
  };
  struct CaptionEqual {
    using is_transparent = void;
    template <class A, class B>
    bool operator()(const CaptionKey<A>& a, const CaptionKey<B>& b) const {
      return a.face == b.face && a.pixels == b.pixels && a.color == b.color &&
             std::string_view(a.text) == std::string_view(b.text);
    }
  };
  using ShapeKey = std::tuple<int, int, int, int, std::uint32_t, std::uint32_t>;

  void clip(const PixelRect& area) override;
  void fill(const PixelRect& r, Color c) override;
  void blitShape(const frontend::RasterShape& shape, frontend::PixelPoint at) override;
  std::optional<frontend::PixelSize> prepareCaption(const Font& font, int pixels, std::string_view text,
                                                    Color color) override;
  void drawCaption(frontend::PixelPoint at, const PixelRect& inside) override;
  void beginFrame() override { ++frame_; }
  void endFrame() override;

  const Cached* shapeSurface(const frontend::RasterShape& shape);
  // Drops what this frame did not use from a cache grown past its limit.
  template <class Cache>
  void trim(Cache& cache, std::size_t limit);

  SDL_Surface* target_ = nullptr;
  FontBook& fonts_;
  SDL_Rect clip_{};                  // the area being repainted
  const Cached* caption_ = nullptr;  // the caption prepared to draw next
  std::uint64_t frame_ = 0;
  std::unordered_map<TextKey, Cached, CaptionHash, CaptionEqual> texts_;
  std::map<ShapeKey, Cached> shapes_;
};

}  // namespace tessaly::desktop
