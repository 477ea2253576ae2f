#pragma once
// The game window: it owns the game state record, builds its screen objects
// when it opens, and holds every procedure and event handler of the game.
// The procedures live in the folder of their subsystem: game/ (start-up and
// the play loop), levels/ (patterns, bricks, layout), flow/ (keys, score,
// lives, levels, pause).

#include <memory>
#include <optional>
#include <string_view>

#include "base/platform.h"
#include "game/game_state.h"
#include "ui/controls.h"
#include "ui/game_port.h"
#include "ui/keys.h"
#include "ui/text_measure.h"

namespace tessaly {

class Form1 final : public GamePort {
 public:
  Form1(const Clock& clock, RandomSource& random, TextMeasurer& measurer);
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;

  // The one record of game values; every procedure reads and writes it directly.
  GameState state;

  // --- The window ---
  // Builds every object with its opening settings (both timers running) and
  // then runs the start-up sequence.
  void open();
  // Destroys every object, created bricks included; the game state stays.
  void close();
  bool isOpen() const override { return controls_ != nullptr; }
  Controls& controls() { return *controls_; }
  const Controls& controls() const { return *controls_; }

  // --- Events from the platform (the front ends' port) ---
  void keyDown(int keycode) override { Form_KeyDown(keycode); }
  void keyUp(int keycode) override { Form_KeyUp(keycode); }
  bool click(std::string_view name) override;
  std::optional<TimeMs> nextDue() const override;
  // Timer1 first where both are due together, one handler at a time.
  void dispatchDueTimers(CatchUp catchUp) override;
  const Controls& objects() const override { return *controls_; }
  std::uint64_t revision() const override { return retiredRevisions_ + controls_->revision(); }

  // --- Start-up (game/) ---
  void Form_Load();
  void setvariables();

  // --- Levels and board set-up (levels/) ---
  void loadbricks();
  void loadpatterns();
  void grid();
  void colorbricks(int n, int c, int r);
  void sizeobjects();

  // --- Play loop (game/) ---
  void start();
  void Timer1_Timer();
  void Timer2_Timer();
  void whereball();
  void score(Integer cellnumber, int column, int row, int xbounce, int ybounce);
  void hitpaddle();

  // --- Game flow (flow/) ---
  void Form_KeyDown(int keycode);
  void Form_KeyUp(int keycode);
  void updatescore();
  void lostlife();
  void over();
  void gameover_Click();
  void nextlvl();
  void nextlevel_Click();
  void pause_Click();

 private:
  double freshjitter();          // 1 - r x 0.05 for a fresh draw r
  void countbonus();             // the extra-life tally's share of a hit
  void steppattern(int delta);   // F1 and F2: a fresh game on another pattern
  void runtimers(int interval);  // Timer1, then Timer2

  const Clock& clock_;
  RandomSource& random_;
  TextMeasurer& measurer_;
  std::unique_ptr<Controls> controls_;
  // Revisions of closed windows, so that the port's revision never goes back.
  std::uint64_t retiredRevisions_ = 0;
};

}  // namespace tessaly
