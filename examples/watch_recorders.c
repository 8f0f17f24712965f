/* Watches recorders arrive and leave: the library's monitor and refresh
 * threads keep the device list current and call back on every change.
 *   watch_recorders [CHANGES]   (stops after CHANGES list changes; default: never) */
#include <stdatomic.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

#include "LibVestra.h"

static atomic_int g_changes;

/* Runs on the library's refresh thread. */
static void OnListChange(int32_t kind, int32_t value) {
    if (kind == 1) {
        printf("list changed: %d recorder(s)\n", (int)value);
        atomic_fetch_add(&g_changes, 1);
    } else {
        printf("device event: %s\n", value == 1 ? "arrival" : "removal");
    }
    fflush(stdout);
}

int main(int argc, char **argv) {
    int wanted = argc > 1 ? atoi(argv[1]) : 0;
    struct timespec pause = {0, 100 * 1000 * 1000};

    VX_SetLibLog(VX_LOG_OFF);
    VX_InitDevListPthreadEx(OnListChange);
    while (wanted <= 0 || atomic_load(&g_changes) < wanted) nanosleep(&pause, NULL);
    VX_UnInitDevList();
    return 0;
}
