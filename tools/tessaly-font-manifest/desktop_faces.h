#pragma once
// The faces the desktop game draws with, for the web build to serve the same
// (native builds only): the game's fonts, and an installed face's design
// units read with FreeType as the desktop's text renderer reads them.

#include <optional>
#include <string>
#include <vector>

#include "frontend/web/text_metrics.h"
#include "ui/screen_object.h"

namespace tessaly::manifest {

// Every font an object of the window is drawn with, once each (face, weight
// and character set; the size does not choose the face).
std::vector<Font> gameFonts();

// Nothing when FreeType cannot open the face.
std::optional<web::FaceUnits> readFaceUnits(const std::string& file, int index);

}  // namespace tessaly::manifest
