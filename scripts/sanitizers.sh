# shellcheck shell=bash
# The sanitizers' settings, the one home of them for every sanitized build and
# run: scripts/test's suite under AddressSanitizer and UndefinedBehaviorSanitizer
# and scripts/fuzz's targets. Sourced; it sets
#   sanitize_flags  the compiler and linker flags of a sanitized build
# and exports ASAN_OPTIONS, UBSAN_OPTIONS and LSAN_OPTIONS.
#
# The first report ends the run (no recovery, halt_on_error) with an abort, so
# that a fuzzer keeps the input. Frame pointers keep the allocation and free
# stacks of a report whole. Freed memory waits in a 16 MB quarantine before it
# is reused rather than the default 256 MB: the game allocates nothing in a
# tick, so a stale pointer is used long before 16 MB more is freed, and the
# larger quarantine made each fuzz input about 8 % dearer (its memory colder).
# An allocation or a free records 8 frames of its stack rather than 30: a
# report still names the game's function that made or freed the memory, and
# recording the deeper stack at every allocation took a third of each fuzz
# input (engine_fuzz ran 600 inputs a second with it, 900 without).

# shellcheck disable=SC2034 # read by the scripts that source this
sanitize_flags="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1:strict_string_checks=1:quarantine_size_mb=16:malloc_context_size=8
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
sanitizers_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export LSAN_OPTIONS="suppressions=$sanitizers_dir/lsan.supp:print_suppressions=0"
unset sanitizers_dir
