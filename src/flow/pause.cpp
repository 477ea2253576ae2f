#include "game/form1.h"

namespace tessaly {

// The P key shows the button and stops both timers (Form_KeyDown); only its
// click runs them again.
void Form1::pause_Click() {
  runtimers(kTickMs);
  controls().pause.setVisible(false);
}

}  // namespace tessaly
