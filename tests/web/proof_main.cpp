// The page's proof build: the shipped page's own door, each event one call,
// with the proof's watch on the loop, checking the rules round by round.

#include "page_proof.h"

#define TESSALY_PAGE_WATCH tessaly::web::ProofWatch
#include "frontend/web/main.cpp"
