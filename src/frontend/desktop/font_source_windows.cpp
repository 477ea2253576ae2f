// Windows' own fonts first, as the system lists them under its Fonts keys
// (the machine's, then the user's own), then the faces shipped in the fonts
// folder beside tessaly.exe, which stand in for those Windows lacks.

#include <windows.h>
// after windows.h, which they build on
#include <knownfolders.h>
#include <shlobj.h>

#include <SDL2/SDL.h>
#include <SDL2/SDL_ttf.h>

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "frontend/desktop/font_source.h"

namespace tessaly::desktop {

namespace {

std::string utf8(std::wstring_view w) {
  if (w.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
  return s;
}

std::string lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

struct FaceInfo {
  std::string family;
  int index = 0;
  bool bold = false;
  bool italic = false;
};

struct FontFile {
  std::string path;
  std::string listedAs;  // the Fonts key's name for it, lower case ("arial bold (truetype)"); empty when shipped
  bool read = false;
  std::vector<FaceInfo> faces;
};

std::wstring fontsFolder() {
  PWSTR path = nullptr;
  std::wstring folder;
  if (SHGetKnownFolderPath(FOLDERID_Fonts, 0, nullptr, &path) == S_OK) folder = path;
  CoTaskMemFree(path);
  return folder;
}

// Each value names a face and its file; a bare file name lies in the Fonts folder.
void listKey(HKEY root, const std::wstring& folder, std::vector<FontFile>& files) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts", 0, KEY_READ, &key) != 0) return;
  for (DWORD i = 0;; ++i) {
    wchar_t name[512];
    wchar_t data[1024] = {};
    DWORD nameLength = 512;
    DWORD dataBytes = sizeof data - sizeof(wchar_t);
    DWORD type = 0;
    const LONG got =
        RegEnumValueW(key, i, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(data), &dataBytes);
    if (got == ERROR_NO_MORE_ITEMS) break;
    if (got != ERROR_SUCCESS || type != REG_SZ) continue;
    std::wstring file(data);
    if (file.find_first_of(L"\\/") == std::wstring::npos) file = folder + L"\\" + file;
    files.push_back({utf8(file), lower(utf8({name, nameLength})), false, {}});
  }
  RegCloseKey(key);
}

void listShipped(std::vector<FontFile>& files) {
  char* base = SDL_GetBasePath();
  if (base == nullptr) return;
  const std::string folder = std::string(base) + "fonts";
  SDL_free(base);
  std::error_code failed;
  const std::filesystem::path path(std::u8string(folder.begin(), folder.end()));
  for (const auto& entry : std::filesystem::directory_iterator(path, failed)) {
    const std::u8string name = entry.path().u8string();
    files.push_back({std::string(name.begin(), name.end()), {}, false, {}});
  }
}

// Every face in the file, by the names FreeType reads from it.
void readFaces(FontFile& file) {
  file.read = true;
  TTF_Font* first = TTF_OpenFontIndex(file.path.c_str(), 12, 0);
  if (first == nullptr) return;
  const long count = TTF_FontFaces(first);
  TTF_CloseFont(first);
  for (int index = 0; index < count && index < 32; ++index) {
    TTF_Font* font = TTF_OpenFontIndex(file.path.c_str(), 12, index);
    if (font == nullptr) continue;
    const char* family = TTF_FontFaceFamilyName(font);
    const int style = TTF_GetFontStyle(font);
    if (family != nullptr)
      file.faces.push_back({family, index, (style & TTF_STYLE_BOLD) != 0, (style & TTF_STYLE_ITALIC) != 0});
    TTF_CloseFont(font);
  }
}

// What Windows calls a face the game names otherwise.
std::string windowsName(const std::string& family) {
  if (lower(family) == "ms song") return "SimSun";  // the Song face of Chinese Windows, renamed since
  return family;
}

std::vector<std::string> genericNames(std::string_view family) {
  if (family == "serif") return {"Times New Roman", "Liberation Serif", "Georgia"};
  if (family == "monospace") return {"Consolas", "Courier New", "Liberation Mono"};
  return {"Arial", "Liberation Sans", "Segoe UI", "Tahoma", "Verdana"};
}

}  // namespace

struct FontSource::Faces {
  std::vector<FontFile> files;  // Windows' own, then the shipped ones
};

FontSource::FontSource() : faces_(std::make_unique<Faces>()) {
  const std::wstring folder = fontsFolder();
  listKey(HKEY_LOCAL_MACHINE, folder, faces_->files);
  listKey(HKEY_CURRENT_USER, folder, faces_->files);
  listShipped(faces_->files);
}

FontSource::~FontSource() = default;

std::optional<InstalledFace> FontSource::best(const std::string& family, bool bold, int charset) {
  if (family == "sans-serif" || family == "serif" || family == "monospace") {
    for (const std::string& name : genericNames(family))
      if (auto face = best(name, bold, charset)) return face;
    return std::nullopt;
  }
  const std::string wanted = lower(windowsName(family));
  // A roman face of the wanted weight beats one of the other weight, which
  // beats an italic one (Lucida Handwriting has only italic).
  const FontFile* bestFile = nullptr;
  const FaceInfo* bestFace = nullptr;
  int bestScore = 4;
  for (FontFile& file : faces_->files) {
    if (bestFile != nullptr && file.listedAs.empty() && !bestFile->listedAs.empty()) break;  // Windows' own first
    if (!file.listedAs.empty() && file.listedAs.find(wanted) == std::string::npos) continue;
    if (!file.read) readFaces(file);
    for (const FaceInfo& face : file.faces) {
      if (lower(face.family) != wanted) continue;
      const int score = (face.italic ? 2 : 0) + (face.bold != bold ? 1 : 0);
      if (score < bestScore) bestFile = &file, bestFace = &face, bestScore = score;
    }
  }
  if (bestFace == nullptr) return std::nullopt;
  return InstalledFace{{bestFace->family, family}, bestFile->path, bestFace->index, bestFace->bold, false};
}

std::string_view whereFacesAreLooked() {
  return "neither Windows' fonts nor those shipped in the fonts folder beside tessaly.exe offer one that opens";
}

}  // namespace tessaly::desktop
