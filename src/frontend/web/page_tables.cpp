// Writes the page's tables from the engine's own declarations, when the page
// is built: the script never copies a number or a layout of the engine's.
// Compiled by the same compiler as the engine and run in Node, so that each
// record's layout is the one the engine has.
//
//   node page_tables.js FOLDER
//
// writes into FOLDER:
//   page/tables.js      the page's module: the event kinds, the devices, the
//                       touch controls, the pad's buttons, the page's record
//   canvas_tables.js    the canvas library's: the records it fills, the
//                       drawing commands ($TessalyLayout)
//   canvas_tables.d.ts  their types, for the type checker

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <type_traits>

#include "frontend/core/game_loop.h"
#include "frontend/core/input_map.h"
#include "frontend/web/canvas_commands.h"
#include "frontend/web/page_record.h"
#include "frontend/web/text_metrics.h"

namespace {

using namespace tessaly;

// A number's type as the page's tables name it: the heap view it is read through.
template <typename T>
std::string typeOf() {
  const std::string bits = std::to_string(8 * sizeof(T));
  if constexpr (std::is_floating_point_v<T>) return "f" + bits;
  if constexpr (sizeof(T) == 1) return "u8";  // text, byte by byte
  return (std::is_signed_v<T> ? "i" : "u") + bits;
}

// A record's fields, each "name": { "at": offset, "type": "i32" }, "count"
// for an array; the bytes they cover, to find one left out.
struct Fields {
  std::string json;
  std::size_t bytes = 0;
  template <typename T>
  void add(const char* name, std::size_t at) {
    json += (json.empty() ? "" : ", ") + std::string("\"") + name + "\": { \"at\": " + std::to_string(at) +
            ", \"type\": \"" + typeOf<std::remove_extent_t<T>>() + "\"";
    if constexpr (std::is_array_v<T>) json += ", \"count\": " + std::to_string(std::extent_v<T>);
    json += " }";
    bytes += sizeof(T);
  }
};

#define FIELD(Record, name) f.add<decltype(Record::name)>(#name, offsetof(Record, name))

template <typename Record>
std::string record(const Fields& f) {
  // Every byte is a listed field's: none was left out, and no padding lies
  // where the page would not look.
  if (f.bytes != sizeof(Record)) {
    std::fprintf(stderr, "page_tables: a record's fields cover %zu of its %zu bytes\n", f.bytes, sizeof(Record));
    std::exit(1);
  }
  return "{ \"size\": " + std::to_string(sizeof(Record)) + ", \"fields\": { " + f.json + " } }";
}

std::string pageRecord() {
  using R = web::PageRecord;
  Fields f;
  FIELD(R, leanX), FIELD(R, leanY), FIELD(R, frames), FIELD(R, kind), FIELD(R, device), FIELD(R, control);
  FIELD(R, x), FIELD(R, y), FIELD(R, keyLength), FIELD(R, codeLength), FIELD(R, wait), FIELD(R, beat);
  FIELD(R, gameKey), FIELD(R, width), FIELD(R, height), FIELD(R, key), FIELD(R, code);
  return record<R>(f);
}

std::string faceUnits() {
  using R = web::FaceUnits;
  Fields f;
  FIELD(R, unitsPerEm), FIELD(R, ascender), FIELD(R, descender);
  return record<R>(f);
}

std::string textInk() {
  using R = web::TextInk;
  Fields f;
  FIELD(R, advance), FIELD(R, left), FIELD(R, right), FIELD(R, ascent), FIELD(R, descent);
  return record<R>(f);
}

#undef FIELD

// "Name": number, ...
struct Names {
  std::string json;
  void add(const char* name, long number) {
    json += (json.empty() ? "" : ", ") + std::string("\"") + name + "\": " + std::to_string(number);
  }
  std::string object() const { return "{ " + json + " }"; }
};

std::string kinds() {
  Names n;
#define NAME(name) n.add(#name, static_cast<long>(frontend::Event::Kind::name));
  TESSALY_EVENT_KINDS(NAME)
#undef NAME
  return n.object();
}

std::string devices() {
  Names n;
#define NAME(name) n.add(#name, static_cast<long>(frontend::Device::name));
  TESSALY_DEVICES(NAME)
#undef NAME
  return n.object();
}

std::string touchControls() {
  Names n;
#define NAME(name) n.add(#name, frontend::touch::name);
  TESSALY_TOUCH_CONTROLS(NAME)
#undef NAME
  return n.object();
}

std::string padButtons() {
  Names n;
#define NAME(name, number) n.add(#name, frontend::pad::name);
  TESSALY_PAD_BUTTONS(NAME)
#undef NAME
  return n.object();
}

std::string commands() {
  std::string json;
#define COMMAND(name, code, words)                                                                         \
  json += (json.empty() ? "" : ", ") + std::string("\"" #name "\": { \"code\": ") + std::to_string(code) + \
          ", \"words\": " + std::to_string(words) + " }";
  TESSALY_CANVAS_COMMANDS(COMMAND)
#undef COMMAND
  return "{ " + json + " }";
}

void write(const std::string& path, const std::string& text) {
  std::FILE* out = std::fopen(path.c_str(), "w");
  if (out == nullptr || std::fputs(text.c_str(), out) < 0 || std::fclose(out) != 0) {
    std::fprintf(stderr, "page_tables: cannot write %s\n", path.c_str());
    std::exit(1);
  }
}

constexpr const char* kMade =
    "// Made when the page is built, by src/frontend/web/page_tables.cpp from the engine's own\n"
    "// declarations: change those, not this.\n";

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: node page_tables.js FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  const auto frozen = [](const char* name, const std::string& json) {
    return "export const " + std::string(name) + " = Object.freeze(" + json + ");\n";
  };
  write(folder + "/page/tables.js",
        std::string("// @ts-check\n") + kMade +
            "\n// The kinds of event the page hands the engine (frontend/core/game_loop.h).\n" +
            frozen("Kind", kinds()) + "// The devices (frontend/core/input_map.h).\n" + frozen("Device", devices()) +
            "// The on-screen controls of a touch screen.\n" + frozen("Touch", touchControls()) +
            "// A pad's buttons with a meaning in the game, by their number in the standard layout.\n" +
            frozen("Pad", padButtons()) +
            "// The record the page and the engine share (frontend/web/page_record.h): where each field lies.\n" +
            frozen("record", pageRecord()));
  const std::string layout =
      "{ \"faceUnits\": " + faceUnits() + ", \"textInk\": " + textInk() + ", \"commands\": " + commands() + " }";
  write(folder + "/canvas_tables.js",
        std::string(kMade) +
            "// The records the canvas library fills (frontend/web/text_metrics.h) and a frame's drawing\n"
            "// commands (frontend/web/canvas_commands.h): each command's code and the words it takes.\n"
            "mergeInto(LibraryManager.library, {\n  $TessalyLayout: " +
            layout + ",\n});\n");
  write(folder + "/canvas_tables.d.ts", std::string(kMade) + "declare const TessalyLayout: " + layout + ";\n");
  return 0;
}
