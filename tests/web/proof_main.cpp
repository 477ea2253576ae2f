// The page's proof build: the shipped page's own exports, each event one
// call, over the proof game that checks the rules after every event.

#include "page_proof.h"

#define TESSALY_PAGE_GAME tessaly::web::ProofGame
#include "frontend/web/main.cpp"
