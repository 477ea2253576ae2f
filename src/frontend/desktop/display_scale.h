#pragma once
// The display's scale factor: how many pixels the desktop gives to what is
// one pixel at 96 dots per inch.

#include <SDL2/SDL_video.h>

namespace tessaly::desktop {

// The dots per inch an X resource database sets in its "Xft.dpi" line (what
// desktops set to scale their windows); 0 when it sets none.
double xftDpi(const char* resources);

// The scale for `window`'s display: Xft.dpi / 96 on X11, between 1 and 4;
// 1 wherever the display says nothing.
double displayScale(SDL_Window* window);

}  // namespace tessaly::desktop
