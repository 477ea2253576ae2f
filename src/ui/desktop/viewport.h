#pragma once
// Where the window's client area of 6225 x 8145 twips lies in the output's
// pixels: one uniform scale, centred, the rest letterboxed. At scale 1,
// 15 twips make one pixel (415 x 543 pixels).

#include <SDL2/SDL_rect.h>

#include <optional>

#include "ui/screen_object.h"

namespace tessaly::desktop {

inline constexpr float kClientWidthTwips = 6225;
inline constexpr float kClientHeightTwips = 8145;
inline constexpr double kTwipsPerPixel = 15;  // at scale 1, 96 dots per inch

struct TwipPoint {
  float x = 0;
  float y = 0;
};

class Viewport {
 public:
  // The client area at exactly `scale`, its top-left corner at the output's.
  static Viewport atScale(double scale);
  // The largest uniform scale at which the client area fits the output,
  // centred in it.
  static Viewport fit(int outputWidth, int outputHeight);

  double scale() const { return scale_; }
  // The client area in output pixels.
  SDL_Rect client() const { return client_; }

  // A twip coordinate as an output pixel edge; objects that share an edge in
  // twips share it in pixels, so bricks tile without seams at any scale.
  int x(double twips) const;
  int y(double twips) const;
  // An object's bounds as the pixels between its rounded edges.
  SDL_Rect edges(const Rect& bounds) const;
  // A length in pixels at this scale, at least one.
  int pixels(double lengthAtScale1) const;
  // The twip position of an output pixel's centre, or nothing in the letterbox.
  std::optional<TwipPoint> toTwips(int px, int py) const;

 private:
  Viewport(double scale, int originX, int originY);
  double scale_;
  SDL_Rect client_;
};

}  // namespace tessaly::desktop
