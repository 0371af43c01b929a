# Sourced first thing by the scripts that drive GL: reruns the sourcing script, with its
# arguments, on a free virtual screen of its own (its own xauth too), with Mesa's software
# renderer. In the sanitizer build every memory error still fails the program, but the leak
# check is off for it: Mesa's software driver leaves its caches allocated at exit from a
# module it has already unloaded, which no suppression can name. The world's own objects are
# checked for leaks by the unit tests, which build and destroy whole worlds.
if [ -z "${KA_ON_XVFB:-}" ]; then
    export KA_ON_XVFB=1
    exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" "$0" "$@"
fi
export LIBGL_ALWAYS_SOFTWARE=1
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
