#pragma once
// Where the installed faces are found, by family: fontconfig on Linux
// (font_source_fontconfig.cpp); on Windows the system's font registry and
// Fonts folder, then the faces shipped beside tessaly.exe
// (font_source_windows.cpp). FontBook decides which family stands in for
// which; a source only answers for one family at a time.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly::desktop {

// A face as the source found it.
struct InstalledFace {
  std::vector<std::string> families;  // every name the face goes by
  std::string file;                   // UTF-8
  int index = 0;                      // face within the file
  bool bold = false;                  // a bold face of its own
  bool embolden = false;              // the source would thicken it to make it bold
};

class FontSource {
 public:
  FontSource();
  ~FontSource();
  FontSource(const FontSource&) = delete;
  FontSource& operator=(const FontSource&) = delete;

  // The source's best face for `family` in the wanted weight (charset 134:
  // with the Chinese characters). It may name another family: the caller
  // checks. A generic family ("sans-serif", "serif", "monospace") always
  // resolves to something while any face is installed.
  std::optional<InstalledFace> best(const std::string& family, bool bold, int charset);

 private:
  struct Faces;  // what the source has found so far
  std::unique_ptr<Faces> faces_;
};

// Where the source looked, for the player told that no face opens.
std::string_view whereFacesAreLooked();

}  // namespace tessaly::desktop
