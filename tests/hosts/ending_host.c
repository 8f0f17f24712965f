/* A C host that faults, forks and ends in the ways real hosts do, against the
 * virtual recorders, with the monitor and refresh thread running. Each mode
 * names the fault it catches; run_host.sh judges the end (status, crash
 * reports), a 20 s alarm turns a hang into SIGALRM.
 *   recover       its own SIGSEGV handler, installed before the monitor,
 *                 recovers from kFaults planned faults by siglongjmp while a
 *                 worker reads a name in a loop. Fault: a recovered fault
 *                 dumped or ending the process, or the worker's operations
 *                 failing meanwhile.
 *   plain         no handler: one planned fault while the worker runs. Fault:
 *                 no crash report, or the process surviving its fault.
 *   fork N        a worker updates the list and reads a name in a loop while
 *                 main forks N times; each child enters the list section,
 *                 reads DevSum, updates the list and exits under a 5 s alarm;
 *                 every tenth fork is made from inside the list section.
 *                 Fault: a lock held by another thread at the fork stays held
 *                 in the child (the child hangs), or the child's exit waits
 *                 for the parent's refresh thread.
 *   fork-monitor  a child forked under load starts a monitor of its own and
 *                 waits for its first callback. Fault: the child believes
 *                 the parent's threads still run and starts none.
 *   exit-callback exit() from the device-change callback. Fault: the exit
 *                 handler waits for the refresh that is running it.
 *   exit-exchange exit() from main while a worker thread exchanges. Fault:
 *                 static state pulled from under the worker (crash) or a
 *                 wait on it (hang).
 *   return-refresh main returns while a refresh runs (its callback holds
 *                 the first one open). Fault: as above, from return.
 *   dlclose       the library loaded by dlopen, the monitor started, then
 *                 dlclose. Fault: the library unloaded under its threads.
 *   sigterm       SIGTERM while a worker exchanges. Fault: the crash
 *                 collector catches a termination and writes a report. */
#include <dlfcn.h>
#include <pthread.h>
#include <setjmp.h>
#include <signal.h>
#include <stdatomic.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <unistd.h>

#include "LibVestra.h"

/* Weak: the host also runs against a library from before the export. */
#pragma weak VX_SetLibLogDir

enum { kHostAlarmS = 20, kChildAlarmS = 5, kGiveUpAfterHung = 5, kFaults = 100000 };

static atomic_int g_done;
static atomic_long g_exchanges, g_names_read;

static void *Worker(void *unused) {
    while (!atomic_load(&g_done)) {
        VX_InitDevList();
        VestraInfo *dev = VX_GetDevHandleFromList(0);
        char name[VX_TEXT_AREA] = {0};
        if (dev != NULL && VX_GetDevName(dev, "888888", name) == 1)
            atomic_fetch_add(&g_names_read, 1);
        atomic_fetch_add(&g_exchanges, 1);
    }
    return NULL;
}

static pthread_t StartWorker(void) {
    pthread_t worker;
    pthread_create(&worker, NULL, Worker, NULL);
    while (atomic_load(&g_exchanges) < 3) usleep(1000);
    return worker;
}

static void StartMonitor(DevListCallback callback) {
    VX_InitDevListPthreadEx(callback);
    while (VX_GetDevListSum() < 2) usleep(10000);
}

/* The child's three calls (and the leave that pairs the enter). */
static void Child(void) {
    alarm(kChildAlarmS);
    VX_ListEnterCriticalSection();
    int32_t sum = VX_GetDevListSum();
    VX_InitDevList();
    VX_ListLeaveCriticalSection();
    exit(sum >= 0 && sum <= VX_LIST_SLOTS ? 0 : 1);
}

static int Forks(int wanted) {
    StartMonitor(NULL);
    StartWorker();
    fflush(NULL); /* no buffered output copied into the children */
    int forks = 0, hung = 0, failed = 0;
    for (; forks < wanted && hung < kGiveUpAfterHung; ++forks) {
        alarm(kHostAlarmS);               /* per fork: the host itself never hangs */
        int in_section = forks % 10 == 9; /* the forking thread holds the lock itself */
        if (in_section) VX_ListEnterCriticalSection();
        pid_t pid = fork();
        if (pid == 0) Child();
        if (in_section) VX_ListLeaveCriticalSection();
        int status = 0;
        if (pid < 0 || waitpid(pid, &status, 0) != pid) {
            ++failed;
            continue;
        }
        if (WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM)
            ++hung;
        else if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
            ++failed;
    }
    atomic_store(&g_done, 1);
    printf("forks %d hung %d failed %d, %ld exchanges meanwhile\n", forks, hung, failed,
           atomic_load(&g_exchanges));
    return hung == 0 && failed == 0 ? 0 : 1;
}

static atomic_int g_child_callbacks;
static void CountInChild(int32_t kind, int32_t value) { atomic_fetch_add(&g_child_callbacks, 1); }

static int ForkAndMonitor(void) {
    StartMonitor(NULL);
    StartWorker();
    fflush(NULL);
    pid_t pid = fork();
    if (pid == 0) {
        alarm(kChildAlarmS);
        VX_InitDevListPthreadEx(CountInChild);
        while (atomic_load(&g_child_callbacks) == 0) usleep(10000);
        exit(VX_GetDevListSum() == 2 ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    atomic_store(&g_done, 1);
    int ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    printf("child's own monitor %s\n", ok ? "listed 2 recorders" : "failed");
    return ok ? 0 : 1;
}

static sigjmp_buf g_recover;
static void Recover(int sig) { siglongjmp(g_recover, 1); }

/* Null, but not known to the compiler: the write is a real fault. */
static int *volatile g_null;
static void WriteThroughNull(void) { *g_null = 1; }

static int Faults(int recover) {
    if (recover) {
        struct sigaction sa;
        memset(&sa, 0, sizeof sa);
        sa.sa_handler = Recover;
        sigemptyset(&sa.sa_mask);
        sigaction(SIGSEGV, &sa, NULL);
    }
    StartMonitor(NULL);
    pthread_t worker = StartWorker();
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
    pthread_join(worker, NULL);
    printf("recovered %d faults; %ld device names read\n", recovered, atomic_load(&g_names_read));
    return atomic_load(&g_names_read) > 0 ? 0 : 4;
}

static void ExitFromCallback(int32_t kind, int32_t value) {
    printf("exit from the callback\n");
    exit(0);
}

/* Runs inside a refresh: the first call holds it open a while. */
static atomic_int g_in_refresh;
static void SlowCallback(int32_t kind, int32_t value) {
    if (atomic_exchange(&g_in_refresh, 1) == 0) usleep(300000);
}

static int Dlclose(const char *path, const char *here) {
    void *lib = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    if (lib == NULL) return 3;
    void (*start)(DevListCallback) = NULL;
    void (*set_dir)(const char *) = NULL;
    *(void **)&start = dlsym(lib, "VX_InitDevListPthreadEx");
    *(void **)&set_dir = dlsym(lib, "VX_SetLibLogDir");
    if (start == NULL || set_dir == NULL) return 4;
    set_dir(here);
    start(NULL);
    dlclose(lib);
    usleep(1500000); /* the refresh thread keeps running the library's code */
    void *still = dlopen(path, RTLD_NOW | RTLD_NOLOAD);
    printf("library %s after dlclose\n", still != NULL ? "still loaded" : "unloaded");
    return still != NULL ? 0 : 5;
}

int main(int argc, char **argv) {
    if (argc < 2) return 2;
    const char *mode = argv[1];
    alarm(kHostAlarmS);
    char here[4096];
    if (getcwd(here, sizeof here) == NULL) return 2;
    if (strcmp(mode, "dlclose") == 0) return Dlclose(argc > 2 ? argv[2] : "LibVestra.so", here);
    if (VX_SetLibLogDir != NULL) VX_SetLibLogDir(here);
    if (strcmp(mode, "recover") == 0 || strcmp(mode, "plain") == 0)
        return Faults(strcmp(mode, "recover") == 0);
    if (strcmp(mode, "fork") == 0) return Forks(argc > 2 ? atoi(argv[2]) : 500);
    if (strcmp(mode, "fork-monitor") == 0) return ForkAndMonitor();
    if (strcmp(mode, "exit-callback") == 0) {
        VX_InitDevListPthreadEx(ExitFromCallback);
        for (;;) pause();
    }
    StartMonitor(SlowCallback);
    StartWorker();
    if (strcmp(mode, "exit-exchange") == 0) {
        printf("exit during an exchange\n");
        exit(0);
    }
    if (strcmp(mode, "return-refresh") == 0) {
        while (!atomic_load(&g_in_refresh)) usleep(1000);
        printf("return during a refresh\n");
        return 0;
    }
    if (strcmp(mode, "sigterm") == 0) {
        printf("terminated during an exchange\n");
        fflush(stdout);
        kill(getpid(), SIGTERM);
        for (;;) pause();
    }
    return 2;
}
