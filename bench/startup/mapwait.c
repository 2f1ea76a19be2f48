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
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double now_ms(void)
{
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

/* User plus system CPU time of all threads of pid, in clock ticks; -1 when unreadable. */
static long long cpu_ticks(pid_t pid)
{
    char path[64], buf[1024];
    snprintf(path, sizeof path, "/proc/%d/stat", (int)pid);
    FILE* f = fopen(path, "r");
    if (!f)
        return -1;
    size_t n = fread(buf, 1, sizeof buf - 1, f);
    fclose(f);
    buf[n] = '\0';
    /* The command name may contain spaces and parentheses, so count fields from the last ')'. */
    char* p = strrchr(buf, ')');
    unsigned long long utime, stime;
    if (!p ||
        sscanf(p + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %llu %llu", &utime, &stime) != 2)
        return -1;
    return (long long)(utime + stime);
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
    long long ticks_at_map = cpu_ticks(pid);
    printf("map_ms=%.1f pid=%d\n", mapped - start, (int)pid);
    fflush(stdout);
    XCloseDisplay(dpy);

    struct timespec idle = {(time_t)idle_s, (long)((idle_s - (time_t)idle_s) * 1e9)};
    while (nanosleep(&idle, &idle) == -1 && errno == EINTR) {
    }
    long long ticks_after = cpu_ticks(pid);
    long hwm = vmhwm_kib(pid);
    stop(pid);
    if (ticks_at_map < 0 || ticks_after < 0 || hwm < 0) {
        fprintf(stderr, "mapwait: %s exited during the idle period\n", argv[optind]);
        return 1;
    }
    printf("idle_cpu_ms=%lld vmhwm_kib=%ld\n",
           (ticks_after - ticks_at_map) * 1000 / sysconf(_SC_CLK_TCK), hwm);
    return 0;
}
