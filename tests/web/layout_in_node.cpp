// The records the page's JavaScript reads or fills in the engine's memory, as
// the engine's compiler lays them out, and the numbers it passes for the
// devices and their controls, as the input map has them, in JSON:
// page_engine.test.mjs holds the page's tables to them.

#include <cstddef>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <type_traits>
#include <utility>

#include "frontend/core/input_map.h"
#include "frontend/web/canvas_commands.h"
#include "frontend/web/page_record.h"
#include "frontend/web/text_metrics.h"

namespace {

// A number's type as the page's tables name it: the heap view it is read through.
template <typename T>
std::string typeOf() {
  const std::string bits = std::to_string(8 * sizeof(T));
  if constexpr (std::is_floating_point_v<T>) return "f" + bits;
  if constexpr (sizeof(T) == 1) return "u8";  // text, byte by byte
  return (std::is_signed_v<T> ? "i" : "u") + bits;
}

// "name":{"at":offset,"type":"i32"}, with "count" for an array.
template <typename T>
std::string field(const char* name, std::size_t at) {
  std::string json = "\"" + std::string(name) + "\":{\"at\":" + std::to_string(at) + ",\"type\":\"" +
                     typeOf<std::remove_extent_t<T>>() + "\"";
  if constexpr (std::is_array_v<T>) json += ",\"count\":" + std::to_string(std::extent_v<T>);
  return json + "}";
}

template <typename Record, typename... Fields>
std::string record(const char* name, const Fields&... fields) {
  std::string json = "\"" + std::string(name) + "\":{\"size\":" + std::to_string(sizeof(Record)) + ",\"fields\":{";
  const char* comma = "";
  ((json += comma + fields, comma = ","), ...);
  return json + "}}";
}

// "name":{"Left":0,...}
std::string numbers(const char* name, std::initializer_list<std::pair<const char*, int>> named) {
  std::string json = "\"" + std::string(name) + "\":{";
  const char* comma = "";
  for (const auto& [key, value] : named) {
    json += comma + ("\"" + std::string(key) + "\":" + std::to_string(value));
    comma = ",";
  }
  return json + "}";
}

std::string controls() {
  using tessaly::frontend::Device;
  namespace pad = tessaly::frontend::pad;
  namespace touch = tessaly::frontend::touch;
  const auto number = [](Device d) { return static_cast<int>(d); };
  const std::string device = numbers(
      "device",
      {{"Keyboard", number(Device::Keyboard)}, {"Gamepad", number(Device::Gamepad)}, {"Touch", number(Device::Touch)}});
  const std::string onScreen = numbers("touch", {{"Left", touch::Left},
                                                 {"Right", touch::Right},
                                                 {"Up", touch::Up},
                                                 {"Down", touch::Down},
                                                 {"Faster", touch::Faster},
                                                 {"Pause", touch::Pause},
                                                 {"NextPattern", touch::NextPattern},
                                                 {"PreviousPattern", touch::PreviousPattern}});
  const std::string buttons = numbers("pad", {{"South", pad::South},
                                              {"LeftShoulder", pad::LeftShoulder},
                                              {"RightShoulder", pad::RightShoulder},
                                              {"Start", pad::Start},
                                              {"DpadUp", pad::DpadUp},
                                              {"DpadDown", pad::DpadDown},
                                              {"DpadLeft", pad::DpadLeft},
                                              {"DpadRight", pad::DpadRight}});
  return "\"controls\":{" + device + "," + onScreen + "," + buttons + "}";
}

// "commands":{"Fill":{"code":1,"words":6},...}
std::string commands() {
  namespace c = tessaly::web::command;
  std::string json = "\"commands\":{";
  const char* comma = "";
  for (const auto& [name, shape] :
       {std::pair{"Fill", c::kFill}, std::pair{"Clip", c::kClip}, std::pair{"Unclip", c::kUnclip},
        std::pair{"Image", c::kImage}, std::pair{"Caption", c::kCaption}}) {
    json += comma + ("\"" + std::string(name) + "\":{\"code\":" + std::to_string(shape.code) +
                     ",\"words\":" + std::to_string(shape.words) + "}");
    comma = ",";
  }
  return json + "}";
}

}  // namespace

#define FIELD(Record, name) field<decltype(Record::name)>(#name, offsetof(Record, name))

int main() {
  using tessaly::web::FaceUnits, tessaly::web::PageRecord, tessaly::web::TextInk;
  const std::string page = record<PageRecord>("pageRecord", FIELD(PageRecord, wait), FIELD(PageRecord, gameKey),
                                              FIELD(PageRecord, width), FIELD(PageRecord, height),
                                              FIELD(PageRecord, key), FIELD(PageRecord, code), FIELD(PageRecord, beat));
  const std::string units = record<FaceUnits>("faceUnits", FIELD(FaceUnits, unitsPerEm), FIELD(FaceUnits, ascender),
                                              FIELD(FaceUnits, descender));
  const std::string ink = record<TextInk>("textInk", FIELD(TextInk, advance), FIELD(TextInk, left),
                                          FIELD(TextInk, right), FIELD(TextInk, ascent), FIELD(TextInk, descent));
  std::printf("{%s,%s,%s,%s,%s}\n", page.c_str(), units.c_str(), ink.c_str(), commands().c_str(), controls().c_str());
}
