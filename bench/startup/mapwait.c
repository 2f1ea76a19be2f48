/* Starts a program and measures how long it takes until its first top-level window is mapped,
 * then lets it sit idle and reports its CPU time over that idle period and its peak resident
 * memory. The X server must run no other client that maps windows, and no window manager:
 * with one, the mapped child of the root would be the frame, not the program's window.
 *
 * Usage: mapwait [-i IDLE_SECONDS] [-t TIMEOUT_SECONDS] PROGRAM [ARGS...]
 * Output: "map_ms=<ms> pid=<pid>" once mapped, then "idle_cpu_ms=<ms> vmhwm_kib=<KiB>". */
#define _GNU_SOURCE
#include <X11/Xlib.h>
#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double now_ms(void)
{
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

/* CPU time of the whole process in nanoseconds, threads that have ended included; -1 when
 * unreadable. The scheduler's own count: /proc/<pid>/stat rounds to 10 ms ticks, too coarse for
 * an idle program. */
static long long cpu_ns(pid_t pid)
{
    clockid_t clock;
    struct timespec ts;
    if (clock_getcpuclockid(pid, &clock) != 0 || clock_gettime(clock, &ts) != 0)
        return -1;
    return (long long)ts.tv_sec * 1000000000LL + ts.tv_nsec;
}

static long vmhwm_kib(pid_t pid)
{
    char path[64], line[256];
    snprintf(path, sizeof path, "/proc/%d/status", (int)pid);
    FILE* f = fopen(path, "r");
    if (!f)
        return -1;
    long kib = -1;
    while (fgets(line, sizeof line, f))
        if (sscanf(line, "VmHWM: %ld kB", &kib) == 1)
            break;
    fclose(f);
    return kib;
}

/* Reads the queued events; true once a top-level window has been mapped. */
static int top_level_mapped(Display* dpy, Window root)
{
    while (XPending(dpy)) {
        XEvent ev;
        XNextEvent(dpy, &ev);
        /* Override-redirect windows are menus, tooltips and the like, not top-levels. */
        if (ev.type == MapNotify && ev.xmap.event == root && !ev.xmap.override_redirect)
            return 1;
    }
    return 0;
}

/* Asks the program's process group to quit, as a desktop session would: some programs (gsimplecal)
 * keep a lock file and take a different start-up path after being killed outright. */
static void stop(pid_t pid)
{
    kill(-pid, SIGTERM);
    for (int i = 0; i < 200 && waitpid(pid, NULL, WNOHANG) == 0; ++i)
        usleep(10000);
    kill(-pid, SIGKILL); /* whatever is left, including helpers it started */
    waitpid(pid, NULL, 0);
}

static void usage(void)
{
    fputs("usage: mapwait [-i IDLE_SECONDS] [-t TIMEOUT_SECONDS] PROGRAM [ARGS...]\n", stderr);
    exit(2);
}

int main(int argc, char** argv)
{
    double idle_s = 10, timeout_s = 30;
    int opt;
    while ((opt = getopt(argc, argv, "+i:t:")) != -1) {
        if (opt == 'i')
            idle_s = atof(optarg);
        else if (opt == 't')
            timeout_s = atof(optarg);
        else
            usage();
    }
    if (optind >= argc)
        usage();

    Display* dpy = XOpenDisplay(NULL);
    if (!dpy) {
        fputs("mapwait: cannot open display\n", stderr);
        return 1;
    }
    Window root = DefaultRootWindow(dpy);
    XSelectInput(dpy, root, SubstructureNotifyMask);
    /* The server must know about the selection before the program can map anything. */
    XSync(dpy, False);
    fcntl(ConnectionNumber(dpy), F_SETFD, FD_CLOEXEC);

    double start = now_ms();
    pid_t pid = fork();
    if (pid < 0) {
        perror("mapwait: fork");
        return 1;
    }
    if (pid == 0) {
        /* Its own process group, so helpers it spawns are killed together with it. */
        setpgid(0, 0);
        /* Our stdout carries the results; the program's own output goes with its errors. */
        dup2(STDERR_FILENO, STDOUT_FILENO);
        execvp(argv[optind], argv + optind);
        perror("mapwait: exec");
        _exit(127);
    }
    setpgid(pid, pid);

    while (!top_level_mapped(dpy, root)) {
        if (waitpid(pid, NULL, WNOHANG) == pid) {
            fprintf(stderr, "mapwait: %s exited before mapping a window\n", argv[optind]);
            kill(-pid, SIGKILL);
            return 1;
        }
        if (now_ms() - start > timeout_s * 1e3) {
            fprintf(stderr, "mapwait: %s mapped no window within %g s\n", argv[optind], timeout_s);
            kill(-pid, SIGKILL);
            waitpid(pid, NULL, 0);
            return 1;
        }
        struct pollfd pfd = {ConnectionNumber(dpy), POLLIN, 0};
        poll(&pfd, 1, 50);
    }
    double mapped = now_ms();
    long long cpu_at_map = cpu_ns(pid);
    printf("map_ms=%.1f pid=%d\n", mapped - start, (int)pid);
    fflush(stdout);
    XCloseDisplay(dpy);

    struct timespec idle = {(time_t)idle_s, (long)((idle_s - (time_t)idle_s) * 1e9)};
    while (nanosleep(&idle, &idle) == -1 && errno == EINTR) {
    }
    long long cpu_after = cpu_ns(pid);
    long hwm = vmhwm_kib(pid);
    stop(pid);
    if (cpu_at_map < 0 || cpu_after < 0 || hwm < 0) {
        fprintf(stderr, "mapwait: %s exited during the idle period\n", argv[optind]);
        return 1;
    }
    printf("idle_cpu_ms=%.3f vmhwm_kib=%ld\n", (cpu_after - cpu_at_map) / 1e6, hwm);
    return 0;
}
