/* A display slowed down on purpose, for measuring the game's speed on slow
 * machines with the real executable: preloaded (LD_PRELOAD), it wraps
 * SDL_GL_SwapWindow so that no two swaps return less than 1/HZ s apart, as a
 * display refreshing HZ times a second with vertical sync would. HZ comes
 * from VIREXO_SLOW_DISPLAY_HZ; unset or 0 leaves swaps alone. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdint.h>
#include <stdlib.h>
#include <time.h>

typedef void (*swap_fn)(void*);

static int64_t now_ns(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (int64_t)t.tv_sec * 1000000000 + t.tv_nsec;
}

void SDL_GL_SwapWindow(void* window) {
    static swap_fn real = NULL;
    static int64_t period = -1;
    static int64_t next = 0;
    if (!real) real = (swap_fn)dlsym(RTLD_NEXT, "SDL_GL_SwapWindow");
    if (period < 0) {
        const char* hz = getenv("VIREXO_SLOW_DISPLAY_HZ");
        const long n = hz ? strtol(hz, NULL, 10) : 0;
        period = n > 0 ? 1000000000 / n : 0;
    }
    real(window);
    if (period == 0) return;
    int64_t now = now_ns();
    if (next > now) {
        const int64_t wait = next - now;
        struct timespec d = {(time_t)(wait / 1000000000), (long)(wait % 1000000000)};
        nanosleep(&d, NULL);
        now = next;
    }
    next = now + period;
}
