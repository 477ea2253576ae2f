// The desktop game's opening frame at a scale, drawn off screen by the
// desktop's own painter, for frame.test.mjs to hold each browser's to: one
// line of JSON with the frame's size, its pixels (RGB, base64) and the boxes
// that hold the captions, where each engine's text smoothing may differ.
// Usage: desktop_frame [scale]

#include <SDL2/SDL_ttf.h>

#include <cstdio>
#include <string>

#include "frontend/desktop/font_book.h"
#include "frontend/desktop/offscreen_frame.h"
#include "harness/scripted_game.h"

using namespace tessaly;
using namespace tessaly::desktop;

namespace {

std::string base64(const std::string& bytes) {
  static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
    unsigned word = 0;
    for (std::size_t k = 0; k < 3; ++k) word = word << 8 | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0);
    for (std::size_t k = 0; k < 4; ++k) out += k <= n ? kDigits[word >> (18 - 6 * k) & 63] : '=';
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  const double scale = argc > 1 ? std::stod(argv[1]) : 1.0;
  if (TTF_Init() != 0) return 1;
  {
    FontBook fonts;
    TtfTextMeasurer measurer(fonts);
    ScriptedGame game(GameSetup{.seed = 1, .repeat = 0.25f}, measurer);
    game.form.open();
    OffscreenFrame frame(fonts, scale);
    frame.draw(game.form);
    const PixelRect client = frame.viewport().client();
    std::string rgb;
    for (int y = 0; y < client.h; ++y) {
      for (int x = 0; x < client.w; ++x) {
        const Color c = frame.pixel(x, y);
        rgb += {static_cast<char>(c.r), static_cast<char>(c.g), static_cast<char>(c.b)};
      }
    }
    std::string captions;
    const Controls& objects = game.form.objects();
    auto note = [&](const ScreenObject* object) {
      if (!object->visible() || object->caption().empty()) return;
      const PixelRect r = frame.viewport().edges(object->bounds());
      captions += (captions.empty() ? "" : ",") + std::to_string(r.x) + "," + std::to_string(r.y) + "," +
                  std::to_string(r.w) + "," + std::to_string(r.h);
    };
    for (const ScreenObject* object : objects.drawOrder()) note(object);
    for (const ScreenObject* object : objects.buttons()) note(object);
    std::printf("{\"width\":%d,\"height\":%d,\"captions\":[%s],\"rgb\":\"%s\"}\n", client.w, client.h, captions.c_str(),
                base64(rgb).c_str());
  }
  TTF_Quit();
  return 0;
}
