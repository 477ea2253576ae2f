#include "ui/controls.h"

#include <algorithm>
#include <atomic>
#include <iterator>

namespace tessaly {

namespace {

// Shared by every window, so that a new game's window, even one made where
// the last one lay, never shows a stacking its front end has seen.
std::atomic<std::uint64_t> lastStacking{0};

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
  return {.kind = ObjectKind::Shape, .form = form, .outline = outline, .outlineWidth = outlineWidth};
}

// The four headings: a boxed caption on the window's face.
Look heading(Color ink) { return {.kind = ObjectKind::Label, .textColor = ink, .border = true, .font = kHeadingFont}; }

// The score and brick read-outs: red digits on a see-through back, kept to the right.
Look readout(bool autoSize) {
  return {.kind = ObjectKind::Label,
          .textColor = kReadoutRed,
          .transparentBack = true,
          .alignment = Alignment::Right,
          .autoSize = autoSize,
          .font = kReadoutFont};
}

Look pushButton(Font font) { return {.kind = ObjectKind::Button, .font = font}; }

}  // namespace

Controls::Controls(const Clock& clock, TextMeasurer& measurer)
    : board(*this, {.name = "board",
                    .look = shape(ShapeForm::Rectangle, kBoardEdge),
                    .bounds = {120, 2040, 6000, 6000},
                    .back = kBoardGreen}),
      ball(*this,
           {.name = "ball", .look = shape(ShapeForm::Circle), .bounds = {960, 5760, 255, 255}, .back = kBallBlue}),
      logobox(*this, {.name = "logobox",
                      .look = shape(ShapeForm::RoundedRectangle),
                      .bounds = {120, 1320, 6015, 615},
                      .back = kLogoGrey}),
      showscore(*this,
                {.name = "showscore", .look = readout(false), .bounds = {1320, 120, 1695, 495}, .caption = "000000"}),
      highscore(*this,
                {.name = "highscore", .look = readout(false), .bounds = {4320, 120, 1695, 495}, .caption = "000000"}),
      numbricks(*this, {.name = "numbricks", .look = readout(true), .bounds = {5400, 840, 630, 450}, .caption = "000"}),
      logo(*this, {.name = "logo",
                   .look = {.kind = ObjectKind::Label,
                            .textColor = kLogoNavy,
                            .transparentBack = true,
                            .autoSize = true,
                            .font = kLogoFont},
                   .bounds = {1320, 1440, 3300, 405},
                   .caption = "TESSALY!"}),
      Label3(*this,
             {.name = "Label3", .look = heading(kHeadingInk), .bounds = {120, 0, 3015, 615}, .caption = "  Score"}),
      Label7(*this,
             {.name = "Label7", .look = heading(kHeadingInk), .bounds = {3360, 0, 2775, 615}, .caption = " High"}),
      Label2(*this,
             {.name = "Label2", .look = heading(kTextColor), .bounds = {120, 720, 3255, 615}, .caption = " Lives"}),
      Label4(*this,
             {.name = "Label4", .look = heading(kTextColor), .bounds = {3600, 720, 2535, 615}, .caption = " Bricks"}),
      Label5(*this, {.name = "Label5", .look = heading(kTextColor), .bounds = {0, 1920, 6255, 6255}}),
      pause(*this, {.name = button::pause,
                    .look = pushButton(kPauseFont),
                    .bounds = {2040, 3120, 2415, 1455},
                    .caption = "Pause",
                    .visible = false}),
      gameover(*this, {.name = button::gameover,
                       .look = pushButton(kGameOverFont),
                       .bounds = {2040, 2760, 2415, 1935},
                       .caption = "Game Over",
                       .visible = false}),
      nextlevel(*this, {.name = button::nextlevel,
                        .look = pushButton(kLevelFont),
                        .bounds = {1560, 5400, 3495, 975},
                        .caption = "Level: 1",
                        .visible = false}),
      Timer1(clock),
      Timer2(clock),
      measurer_(&measurer),
      buttons_{&nextlevel, &gameover, &pause} {
  const Look paddleLook = shape(ShapeForm::RoundedRectangle);
  const auto addPaddle = [&](int index, Rect bounds) {
    paddle.add(
        {*this, {.name = "paddle", .index = index, .look = paddleLook, .bounds = bounds, .back = kPaddleOrange}});
  };
  addPaddle(paddle::bottom, {3240, 6360, 1935, 255});
  addPaddle(paddle::top, {3480, 2160, 1935, 255});
  addPaddle(paddle::left, {720, 3480, 1935, 255});
  addPaddle(paddle::right, {3360, 5040, 1935, 255});

  // Two rows of four markers; those of the opening spare balls show at the start.
  for (int i = 0; i < kLifeMarkers; ++i) {
    const float left = 1440.0f + 480.0f * static_cast<float>(i % 4);
    const float top = i < 4 ? 840.0f : 1080.0f;
    life.add({*this,
              {.name = "life",
               .index = i,
               .look = shape(ShapeForm::RoundedRectangle, kTextColor, 2),
               .bounds = {left, top, 375, 135},
               .back = kMarkerRed,
               .visible = i < kLifeMarkersAtOpen}});
  }

  brick.add({*this,
             {.name = "brick",
              .index = 0,
              .look = {.kind = ObjectKind::Label, .border = true, .alignment = Alignment::Center, .font = kBrickFont},
              .bounds = {360, 2040, 1935, 855},
              .back = kWhite,
              .caption = "4",
              .visible = false}});

  // Front to back as the window stacks them; kept back to front here.
  ScreenObject* const bottom = &paddle(paddle::bottom);
  ScreenObject* const top = &paddle(paddle::top);
  ScreenObject* const left = &paddle(paddle::left);
  ScreenObject* const right = &paddle(paddle::right);
  drawOrder_ = {&life(7), &life(0),   right,      left,    top,        &ball,    bottom,   &life(3), &life(1),
                &life(2), &showscore, &highscore, &logo,   &numbricks, &life(4), &life(5), &life(6), &Label2,
                &Label3,  &logobox,   &Label7,    &Label4, &brick(0),  &board,   &Label5};
  std::reverse(drawOrder_.begin(), drawOrder_.end());

  Timer1.setInterval(kTickMs);
  Timer2.setInterval(kTickMs);
  restacked();
}

void Controls::restacked() {
  // The number is drawn when a front end asks, once however many bricks were
  // made: drawing one per brick made opening a game a fifth dearer.
  restacked_ = true;
  // Room to list every object: a tick that changes many allocates nothing.
  changes_.reserve(drawOrder_.capacity() + buttons_.size());
}

std::uint64_t Controls::stacking() const {
  if (restacked_) {
    stacking_ = ++lastStacking;
    restacked_ = false;
  }
  return stacking_;
}

void Controls::changing(ScreenObject& object) {
  ++revision_;
  if (object.noted_) return;
  object.noted_ = true;
  changes_.push_back({&object, object.visible() ? object.bounds() : Rect{}});
}

void Controls::takeChanges() const {
  for (const ObjectChange& change : changes_) change.object->noted_ = false;
  changes_.clear();
}

ScreenObject& Controls::createBrick(int n) {
  ScreenObject& made = brick.create(n);
  drawOrder_.push_back(&made);
  restacked();
  return made;
}

void Controls::bringToFront(const ScreenObject& object) {
  // Searched from the front: a brick just created is found at once.
  const auto found = std::find(drawOrder_.rbegin(), drawOrder_.rend(), &object);
  if (found == drawOrder_.rend()) return;
  const auto at = std::prev(found.base());
  std::rotate(at, std::next(at), drawOrder_.end());
  restacked();
  if (object.visible()) ++revision_;
}

ScreenObject* Controls::button(std::string_view name) {
  for (ScreenObject* b : buttons_)
    if (b->name() == name) return b;
  return nullptr;
}

}  // namespace tessaly
