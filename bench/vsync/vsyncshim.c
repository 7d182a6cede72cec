/* A display with vertical sync, simulated for the player under Xvfb.
 * Preloaded (LD_PRELOAD), it makes every glXSwapBuffers and eglSwapBuffers
 * return at the next refresh of a screen of QUENVARIX_VSYNC_HZ (default 60)
 * refreshes a second, as a driver that waits for vertical sync does, and
 * writes every returned swap to QUENVARIX_VSYNC_LOG if it is set: the
 * refresh it was shown at (counted from the first swap) and the real-time
 * clock then, in seconds since the epoch, one swap a line. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

typedef void (*GlxSwap)(void*, unsigned long);
typedef unsigned (*EglSwap)(void*, void*);

static double refreshPeriod;
static double firstRefresh = -1;
static FILE* swapLog;

static double clockNow(clockid_t clock)
{
    struct timespec t;
    clock_gettime(clock, &t);
    return (double)t.tv_sec + (double)t.tv_nsec / 1e9;
}

static double now(void)
{
    return clockNow(CLOCK_MONOTONIC);
}

static void setUp(void)
{
    if (refreshPeriod > 0)
        return;
    const char* hz = getenv("QUENVARIX_VSYNC_HZ");
    refreshPeriod = 1.0 / (hz && atof(hz) > 0 ? atof(hz) : 60.0);
    const char* log = getenv("QUENVARIX_VSYNC_LOG");
    if (log)
        swapLog = fopen(log, "w");
}

/* Sleeps until the next refresh after the swap was asked for. */
static void waitForRefresh(void)
{
    const double asked = now();
    if (firstRefresh < 0)
        firstRefresh = asked;
    const double refreshes = (asked - firstRefresh) / refreshPeriod;
    const long long refresh = (long long)refreshes + 1;
    const double next = firstRefresh + refresh * refreshPeriod;
    struct timespec until = {(time_t)next, (long)((next - (double)(time_t)next) * 1e9)};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, NULL) != 0) {
    }
    if (swapLog) {
        fprintf(swapLog, "%lld %.6f\n", refresh, clockNow(CLOCK_REALTIME));
        fflush(swapLog);
    }
}

void glXSwapBuffers(void* display, unsigned long drawable)
{
    static GlxSwap real;
    setUp();
    if (!real)
        real = (GlxSwap)dlsym(RTLD_NEXT, "glXSwapBuffers");
    real(display, drawable);
    waitForRefresh();
}

unsigned eglSwapBuffers(void* display, void* surface)
{
    static EglSwap real;
    setUp();
    if (!real)
        real = (EglSwap)dlsym(RTLD_NEXT, "eglSwapBuffers");
    const unsigned swapped = real(display, surface);
    waitForRefresh();
    return swapped;
}
