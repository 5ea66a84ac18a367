# Sourced by the CI scripts: run-time options of the sanitizer builds.
# LeakSanitizer is on. Debian's Qt has no frame pointers, so the suppressions in
# tests/sanitizers/ (reports from inside Qt only) need full stacks: fast_unwind_on_malloc=0.
supp="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/tests/sanitizers"
export ASAN_OPTIONS="detect_leaks=1:fast_unwind_on_malloc=0:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1"
export LSAN_OPTIONS="suppressions=$supp/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:suppressions=$supp/ubsan.supp"
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$supp/tsan.supp"
export QT_QPA_PLATFORM=offscreen
unset supp
