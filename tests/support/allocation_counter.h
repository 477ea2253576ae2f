#pragma once
// Every operator new of a test program that links the counter is counted, so
// that a stretch of play can show it allocates nothing.

namespace tessaly::test {

// Allocations so far in this program.
long allocationsSoFar();

}  // namespace tessaly::test
