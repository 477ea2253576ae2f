// The front-end core on a game of virtual time: every device's controls
// become the keyboard's own key events, the shown push button takes the
// clicks, and frames are presented only when something moved.

#include <gtest/gtest.h>

#include <vector>

#include "frontend/core/game_session.h"
#include "harness/scripted_game.h"

using namespace tessaly;
using namespace tessaly::frontend;

namespace {

// Records what the game is handed, on top of the real game.
class RecordingPort final : public GamePort {
 public:
  explicit RecordingPort(Form1& form) : form_(form) {}
  void keyDown(int code) override {
    log.push_back(code);
    form_.keyDown(code);
  }
  void keyUp(int code) override {
    log.push_back(-code);
    form_.keyUp(code);
  }
  bool click(std::string_view name) override {
    clicks.emplace_back(name);
    return form_.click(name);
  }
  std::optional<TimeMs> nextDue() const override { return form_.nextDue(); }
  void dispatchDueTimers(CatchUp c) override { form_.dispatchDueTimers(c); }
  bool isOpen() const override { return form_.isOpen(); }
  const Controls& objects() const override { return form_.objects(); }
  std::uint64_t revision() const override { return form_.revision(); }

  std::vector<int> log;  // key downs as codes, key ups negated
  std::vector<std::string> clicks;

 private:
  Form1& form_;
};

// Counts the areas painted.
struct CountingSurface final : Surface {
  void clip(const PixelRect&) override { ++areas; }
  void fill(const PixelRect&, Color) override {}
  void blitShape(const RasterShape&, PixelPoint) override {}
  std::optional<PixelSize> prepareCaption(const Font&, int, std::string_view, Color) override { return std::nullopt; }
  void drawCaption(PixelPoint, const PixelRect&) override {}
  int areas = 0;
};

struct Session : ::testing::Test {
  Session() { g.form.open(); }
  ScriptedGame g{{.repeat = 0.5f}};
  RecordingPort port{g.form};
  GameSession session{port};
  Controls& c() { return g.form.controls(); }
};

// The pause button's middle at 1x.
constexpr int kPauseX = (2040 + 2415 / 2) / 15;
constexpr int kPauseY = (3120 + 1455 / 2) / 15;

}  // namespace

TEST_F(Session, EveryDeviceGivesTheKeyboardsOwnKeys) {
  session.press(Device::Touch, touch::Left);
  session.press(Device::Touch, touch::Up);  // a second finger: both pairs move
  session.press(Device::Gamepad, pad::South);
  session.release(Device::Touch, touch::Left);
  session.press(Device::Keyboard, 'Q');  // any key is itself
  session.release(Device::Keyboard, 'Q');
  session.release(Device::Keyboard, key::Down);  // never down, still reaches the game
  session.press(Device::Gamepad, 7);             // a button with no meaning
  EXPECT_EQ(port.log, (std::vector<int>{key::Left, key::Up, key::Space, -key::Left, 'Q', -'Q', -key::Down}));
}

TEST_F(Session, ADeviceLetGoReleasesExactlyWhatItHeld) {
  session.press(Device::Gamepad, pad::StickRight);
  session.press(Device::Gamepad, pad::RightShoulder);
  session.press(Device::Keyboard, key::Up);
  port.log.clear();
  session.releaseAll(Device::Gamepad);
  EXPECT_EQ(port.log, (std::vector<int>{-key::F1, -key::Right}));
  session.releaseAll(Device::Gamepad);  // nothing left
  session.release(Device::Gamepad, pad::StickRight);
  EXPECT_EQ(port.log.size(), 2u);
}

TEST_F(Session, StartClicksTheShownButtonElsePausesAndEnterDoesBoth) {
  session.press(Device::Keyboard, key::Left);  // serve
  session.press(Device::Gamepad, pad::Start);
  EXPECT_TRUE(c().pause.visible());
  session.release(Device::Gamepad, pad::Start);
  EXPECT_TRUE(port.clicks.empty());
  session.press(Device::Gamepad, pad::Start);  // the shown Pause button takes it
  EXPECT_FALSE(c().pause.visible());
  ASSERT_EQ(port.clicks, (std::vector<std::string>{"pause"}));
  port.log.clear();
  session.release(Device::Gamepad, pad::Start);  // it held no key
  EXPECT_TRUE(port.log.empty());

  session.press(Device::Keyboard, key::P);
  session.press(Device::Keyboard, key::Return);
  EXPECT_FALSE(c().pause.visible());
  EXPECT_EQ(port.log.back(), key::Return);  // the key still reaches the game
  EXPECT_EQ(port.clicks.size(), 2u);
  session.press(Device::Keyboard, key::Return);  // nothing shown: the key alone
  EXPECT_EQ(port.clicks.size(), 2u);
}

TEST_F(Session, APointerClicksOnlyWhenItComesUpOnTheButtonItWentDownOn) {
  session.pointerDown(kPauseX, kPauseY);  // hidden: nothing to press
  EXPECT_TRUE(session.pressedButton().empty());
  session.press(Device::Keyboard, key::P);
  session.pointerDown(kPauseX, kPauseY);
  EXPECT_EQ(session.pressedButton(), "pause");
  session.pointerMove(3, 3);
  EXPECT_TRUE(session.pressedButton().empty());
  EXPECT_TRUE(session.pointerHeld());
  session.pointerUp(3, 3);
  EXPECT_TRUE(c().pause.visible());
  session.pointerDown(kPauseX, kPauseY);
  session.pointerCancel();  // a touch taken away
  session.pointerUp(kPauseX, kPauseY);
  EXPECT_TRUE(c().pause.visible());
  session.pointerDown(kPauseX, kPauseY);
  session.pointerUp(kPauseX + 1, kPauseY);
  EXPECT_FALSE(c().pause.visible());
  EXPECT_EQ(port.clicks.size(), 1u);
  // In the letterbox of a wide output there is no button.
  session.resize(2000, 543);
  EXPECT_TRUE(buttonAt(port, session.viewport(), 10, kPauseY).empty());
}

TEST_F(Session, PresentsOnlyWhatMovedAndAllAfterAClick) {
  CountingSurface surface;
  EXPECT_TRUE(session.everythingDue());
  ASSERT_EQ(session.present(surface).size(), 1u);  // the whole window
  EXPECT_FALSE(session.due());
  EXPECT_TRUE(session.present(surface).empty());
  g.advance(500);  // the ball rests: ticks, and nothing shows a change
  EXPECT_TRUE(session.present(surface).empty());
  session.press(Device::Keyboard, key::Left);
  g.advance(25);
  const auto moved = session.present(surface);
  ASSERT_FALSE(moved.empty());
  EXPECT_LT(moved.front().w * moved.front().h, 415 * 543 / 4);  // a few small areas, not the window
  session.press(Device::Keyboard, key::P);
  session.press(Device::Keyboard, key::Return);
  EXPECT_TRUE(session.everythingDue());
  session.present(surface);
  EXPECT_EQ(session.frames(), 3u);
}

TEST_F(Session, TheStickHoldsAnArrowOnlyPastItsDeadZone) {
  session.stick(0.5, -0.5);  // on the edge: still
  EXPECT_TRUE(port.log.empty());
  session.stick(0.8, -0.6);  // up and to the right: both pairs
  session.stick(0.9, -0.7);  // leaning further changes nothing
  session.stick(-0.9, 0.1);  // swung over to the left: let go first, or the paddles would stop
  session.stick(0, 0);
  EXPECT_EQ(port.log, (std::vector<int>{key::Right, key::Up, -key::Right, -key::Up, key::Left, -key::Left}));
  EXPECT_EQ(g.form.state.hdirection, hdirection::still);
}

TEST_F(Session, TheTicksKeepOneBeatOnlyWhileBothTimersTickTogether) {
  EXPECT_EQ(session.beat(), kTickMs);
  session.press(Device::Keyboard, key::P);  // paused
  EXPECT_EQ(session.beat(), 0);
  session.press(Device::Keyboard, key::Return);  // the shown Pause button goes on
  EXPECT_EQ(session.beat(), kTickMs);
  g.advance(10);
  c().Timer2.setInterval(kTickMs);  // the same interval, another moment
  EXPECT_EQ(session.beat(), 0);
  c().Timer1.setInterval(0);  // one timer alone keeps its own beat
  EXPECT_EQ(session.beat(), kTickMs);
}
