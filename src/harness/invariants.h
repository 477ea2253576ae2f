#pragma once
// The rules that hold between any two events of the game, whatever the
// player does: the ball and the paddles stay on the board, the brick grid,
// the bricks and the read-outs agree, only the markers the rules allow are
// shown, and play stops only with a button to resume it.

#include <string>

#include "game/form1.h"

namespace tessaly {

// Empty when every rule holds; otherwise a description of the first broken one.
// Allocates only to describe a violation.
std::string checkInvariants(const Form1& form);

// Only the rules about what moves every tick, the ball and the paddles: a
// small part of the cost of all of them (the grid alone checks 625 bricks),
// for a caller that checks every tick and the rest only when play changed.
std::string checkMotion(const Form1& form);

}  // namespace tessaly
