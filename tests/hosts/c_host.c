/* A C host against the virtual recorders, with the monitor and refresh
 * thread running and a device operation in a loop on a thread of its own.
 *   c_host recover   its own SIGSEGV handler, installed before the monitor,
 *                    recovers from kFaults planned faults by siglongjmp;
 *                    exits 0
 *   c_host plain     no handler: one planned fault ends the process
 * The log and crash reports go to the working directory. */
#include <pthread.h>
#include <setjmp.h>
#include <signal.h>
#include <stdatomic.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include "LibVestra.h"

/* Weak: the host also runs against a library from before the export. */
#pragma weak VX_SetLibLogDir

enum { kFaults = 100000 };

static sigjmp_buf g_recover;
static atomic_int g_done;
static atomic_long g_names_read;

static void Recover(int sig) {
    (void)sig;
    siglongjmp(g_recover, 1);
}

/* Null, but not known to the compiler: the write is a real fault. */
static int *volatile g_null;
static void WriteThroughNull(void) { *g_null = 1; }

/* The device operation the host runs meanwhile, with a list update now and
 * then. */
static void *DeviceLoop(void *unused) {
    (void)unused;
    for (long i = 0; !atomic_load(&g_done); ++i) {
        char name[VX_TEXT_AREA] = {0};
        VestraInfo *dev = VX_GetDevHandleFromList(0);
        if (dev != NULL && VX_GetDevName(dev, "888888", name) == 1)
            atomic_fetch_add(&g_names_read, 1);
        if (i % 50 == 0) VX_InitDevList();
    }
    return NULL;
}

int main(int argc, char **argv) {
    int recover = argc > 1 && strcmp(argv[1], "recover") == 0;
    char here[4096];
    if (getcwd(here, sizeof here) == NULL) return 2;
    if (VX_SetLibLogDir != NULL) VX_SetLibLogDir(here);
    if (recover) {
        struct sigaction sa;
        memset(&sa, 0, sizeof sa);
        sa.sa_handler = Recover;
        sigemptyset(&sa.sa_mask);
        sigaction(SIGSEGV, &sa, NULL);
    }
    VX_InitDevListPthreadEx(NULL);
    while (VX_GetDevListSum() < 2) usleep(10000);
    pthread_t loop;
    pthread_create(&loop, NULL, DeviceLoop, NULL);
    if (!recover) {
        usleep(200000);
        WriteThroughNull();
        return 3; /* not reached: the fault ends the process */
    }
    volatile int recovered = 0;
    while (recovered < kFaults) {
        if (sigsetjmp(g_recover, 1) == 0) WriteThroughNull();
        ++recovered;
    }
    atomic_store(&g_done, 1);
    pthread_join(loop, NULL);
    printf("recovered %d faults; %ld device names read\n", recovered, atomic_load(&g_names_read));
    return atomic_load(&g_names_read) > 0 ? 0 : 4;
}
