// The records the page's JavaScript reads or fills in the engine's memory, as
// the engine's compiler lays them out, in JSON: page_engine.test.mjs holds
// the page's layout tables to them.

#include <cstddef>
#include <cstdio>
#include <string>
#include <type_traits>

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

}  // namespace

#define FIELD(Record, name) field<decltype(Record::name)>(#name, offsetof(Record, name))

int main() {
  using tessaly::web::FaceUnits, tessaly::web::PageRecord, tessaly::web::TextInk;
  const std::string page =
      record<PageRecord>("pageRecord", FIELD(PageRecord, wait), FIELD(PageRecord, gameKey), FIELD(PageRecord, width),
                         FIELD(PageRecord, height), FIELD(PageRecord, key), FIELD(PageRecord, code));
  const std::string units = record<FaceUnits>("faceUnits", FIELD(FaceUnits, unitsPerEm), FIELD(FaceUnits, ascender),
                                              FIELD(FaceUnits, descender));
  const std::string ink = record<TextInk>("textInk", FIELD(TextInk, advance), FIELD(TextInk, left),
                                          FIELD(TextInk, right), FIELD(TextInk, ascent), FIELD(TextInk, descent));
  std::printf("{%s,%s,%s}\n", page.c_str(), units.c_str(), ink.c_str());
}
