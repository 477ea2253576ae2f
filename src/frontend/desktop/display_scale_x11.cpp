#include "frontend/desktop/display_scale.h"

#include <SDL2/SDL_syswm.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <string_view>

namespace tessaly::desktop {

double xftDpi(const char* resources) {
  if (resources == nullptr) return 0;
  std::string_view rest(resources);
  while (!rest.empty()) {
    const auto end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
    constexpr std::string_view kName = "Xft.dpi:";
    if (line.substr(0, kName.size()) != kName) continue;
    const std::string value(line.substr(kName.size()));
    char* parsed = nullptr;
    const double dpi = std::strtod(value.c_str(), &parsed);
    if (parsed != value.c_str() && dpi > 0) return dpi;
  }
  return 0;
}

double displayScale(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (window == nullptr || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return 1;
  const double dpi = xftDpi(XResourceManagerString(info.info.x11.display));
  if (dpi <= 0) return 1;
  return std::clamp(dpi / 96.0, 1.0, 4.0);
}

}  // namespace tessaly::desktop
