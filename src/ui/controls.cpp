#include "ui/controls.h"

#include <algorithm>
#include <iterator>

namespace tessaly {

namespace {

constexpr Color kBoardGreen{128, 255, 128};
constexpr Color kBoardEdge{192, 192, 255};
constexpr Color kPaddleOrange{255, 128, 0};
constexpr Color kBallBlue{0, 0, 255};
constexpr Color kMarkerRed{255, 0, 0};
constexpr Color kLogoGrey{192, 192, 192};
constexpr Color kWhite{255, 255, 255};
constexpr Color kReadoutRed{255, 0, 0};
constexpr Color kLogoNavy{0, 0, 128};
constexpr Color kHeadingInk{0, 0, 64};

constexpr Font kBrickFont{"Arial", 7.5f, true, 0};
constexpr Font kReadoutFont{"Arial", 19.5f, true, 0};
constexpr Font kLogoFont{"Times New Roman", 18.0f, false, 0};
constexpr Font kHeadingFont{"Impact", 21.75f, true, 0};
constexpr Font kPauseFont{"MS Song", 24.0f, true, 134};
constexpr Font kGameOverFont{"Lucida Handwriting", 27.75f, true, 0};
constexpr Font kLevelFont{"Times New Roman", 27.75f, true, 0};

Look shape(ShapeForm form, Color outline = kTextColor, int outlineWidth = 1) {
  Look look;
  look.kind = ObjectKind::Shape;
  look.form = form;
  look.outline = outline;
  look.outlineWidth = outlineWidth;
  return look;
}

Look label(Font font, Color text, Alignment alignment, bool transparent, bool border, bool autoSize) {
  Look look;
  look.kind = ObjectKind::Label;
  look.font = font;
  look.textColor = text;
  look.alignment = alignment;
  look.transparentBack = transparent;
  look.border = border;
  look.autoSize = autoSize;
  return look;
}

Look heading(Color text) { return label(kHeadingFont, text, Alignment::Left, false, true, false); }
Look readout(bool autoSize) { return label(kReadoutFont, kReadoutRed, Alignment::Right, true, false, autoSize); }

Look pushButton(Font font) {
  Look look;
  look.kind = ObjectKind::Button;
  look.font = font;
  return look;
}

}  // namespace

Controls::Controls(const Clock& clock, TextMeasurer& measurer)
    : board(*this, "board", -1, shape(ShapeForm::Rectangle, kBoardEdge), {120, 2040, 6000, 6000}, kBoardGreen, "",
            true),
      ball(*this, "ball", -1, shape(ShapeForm::Circle), {960, 5760, 255, 255}, kBallBlue, "", true),
      logobox(*this, "logobox", -1, shape(ShapeForm::RoundedRectangle), {120, 1320, 6015, 615}, kLogoGrey, "", true),
      showscore(*this, "showscore", -1, readout(false), {1320, 120, 1695, 495}, kFaceColor, "000000", true),
      highscore(*this, "highscore", -1, readout(false), {4320, 120, 1695, 495}, kFaceColor, "000000", true),
      numbricks(*this, "numbricks", -1, readout(true), {5400, 840, 630, 450}, kFaceColor, "000", true),
      logo(*this, "logo", -1, label(kLogoFont, kLogoNavy, Alignment::Left, true, false, true), {1320, 1440, 3300, 405},
           kFaceColor, "TESSALY!", true),
      Label3(*this, "Label3", -1, heading(kHeadingInk), {120, 0, 3015, 615}, kFaceColor, "  Score", true),
      Label7(*this, "Label7", -1, heading(kHeadingInk), {3360, 0, 2775, 615}, kFaceColor, " High", true),
      Label2(*this, "Label2", -1, heading(kTextColor), {120, 720, 3255, 615}, kFaceColor, " Lives", true),
      Label4(*this, "Label4", -1, heading(kTextColor), {3600, 720, 2535, 615}, kFaceColor, " Bricks", true),
      Label5(*this, "Label5", -1, heading(kTextColor), {0, 1920, 6255, 6255}, kFaceColor, "", true),
      pause(*this, "pause", -1, pushButton(kPauseFont), {2040, 3120, 2415, 1455}, kFaceColor, "Pause", false),
      gameover(*this, "gameover", -1, pushButton(kGameOverFont), {2040, 2760, 2415, 1935}, kFaceColor, "Game Over",
               false),
      nextlevel(*this, "nextlevel", -1, pushButton(kLevelFont), {1560, 5400, 3495, 975}, kFaceColor, "Level: 1", false),
      Timer1(clock),
      Timer2(clock),
      measurer_(&measurer),
      buttons_{&nextlevel, &gameover, &pause} {
  const Look paddleLook = shape(ShapeForm::RoundedRectangle);
  paddle.add({*this, "paddle", 0, paddleLook, {3240, 6360, 1935, 255}, kPaddleOrange, "", true});
  paddle.add({*this, "paddle", 1, paddleLook, {3480, 2160, 1935, 255}, kPaddleOrange, "", true});
  paddle.add({*this, "paddle", 2, paddleLook, {720, 3480, 1935, 255}, kPaddleOrange, "", true});
  paddle.add({*this, "paddle", 3, paddleLook, {3360, 5040, 1935, 255}, kPaddleOrange, "", true});

  const Look markerLook = shape(ShapeForm::RoundedRectangle, kTextColor, 2);
  for (int i = 0; i < 8; ++i) {
    const float left = 1440.0f + 480.0f * static_cast<float>(i % 4);
    const float top = i < 4 ? 840.0f : 1080.0f;
    life.add({*this, "life", i, markerLook, {left, top, 375, 135}, kMarkerRed, "", i < 3});
  }

  brick.add({*this,
             "brick",
             0,
             label(kBrickFont, kTextColor, Alignment::Center, false, true, false),
             {360, 2040, 1935, 855},
             kWhite,
             "4",
             false});

  // Front to back as the window stacks them; kept back to front here.
  drawOrder_ = {&life(7), &life(0),   &paddle(3), &paddle(2), &paddle(1), &ball,    &paddle(0), &life(3), &life(1),
                &life(2), &showscore, &highscore, &logo,      &numbricks, &life(4), &life(5),   &life(6), &Label2,
                &Label3,  &logobox,   &Label7,    &Label4,    &brick(0),  &board,   &Label5};
  std::reverse(drawOrder_.begin(), drawOrder_.end());
  drawOrder_.reserve(drawOrder_.size() + 625);

  Timer1.setInterval(25);
  Timer2.setInterval(25);
}

ScreenObject& Controls::createBrick(int n) {
  ScreenObject& made = brick.create(n);
  drawOrder_.push_back(&made);
  return made;
}

void Controls::bringToFront(const ScreenObject& object) {
  // Searched from the front: a brick just created is found at once.
  const auto found = std::find(drawOrder_.rbegin(), drawOrder_.rend(), &object);
  if (found == drawOrder_.rend()) return;
  const auto at = std::prev(found.base());
  std::rotate(at, std::next(at), drawOrder_.end());
  if (object.visible()) changed();
}

ScreenObject* Controls::button(std::string_view name) {
  for (ScreenObject* b : buttons_)
    if (b->name() == name) return b;
  return nullptr;
}

}  // namespace tessaly
