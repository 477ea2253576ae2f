#pragma once
// SDL's video and SDL2_ttf, started for the life of the front end. Without a
// display the game cannot run: that is reported, never papered over with an
// invisible window.

#include <stdexcept>
#include <string>

namespace tessaly::desktop {

// The front end could not start; what() is one sentence for the player.
class StartError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The display failed under a running game (the connection or the window
// went); what() is one sentence for the player.
class DisplayLost : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Who may run without a real display: only tests and tools that ask.
enum class Headless { Refuse, Allow };

// SDL's drivers that show nothing on any screen.
bool isHeadlessDriver(const std::string& driver);

class SdlSession {
 public:
  explicit SdlSession(Headless headless = Headless::Refuse);
  ~SdlSession();
  SdlSession(const SdlSession&) = delete;
  SdlSession& operator=(const SdlSession&) = delete;

  const std::string& videoDriver() const { return driver_; }

 private:
  std::string driver_;
};

// Tells the player why the game ends: one line on stderr ("tessaly: ..."),
// and on Windows a message box too.
void reportFailure(const std::string& sentence);

}  // namespace tessaly::desktop
