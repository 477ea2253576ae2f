#include "game/form1.h"

namespace tessaly {

void Form1::Form_Load() {
  random_.seed(clock_.seed());  // each run plays differently
  state.lives = -1;
  setvariables();
  loadbricks();
  loadpatterns();
  grid();
  sizeobjects();
  start();
}

void Form1::setvariables() {
  state.levelnum = 1;
  state.patternnum = 1;
  state.patterncount = kPatternCount;
  state.paddlespeed = 1;
  if (state.lives < 0) state.lives = kOpeningLives;
  state.bricktotal = 0;
  state.bonuspoints = 0;
  state.playerscore = 0;
}

}  // namespace tessaly
