// A command line started through the shell in a new process group, with input and output on
// /dev/null, so the caller's terminal and pipes never see it. The caller waits a bounded time for
// the command to end; a command that ends within it with the shell's 127 (not found) or 126 (not
// executable) could not be started.
//
// One reaper thread, started by the first call and shared by all, collects every command the
// library started, whether it ends before or after its caller stopped waiting: no command stays a
// zombie, and many long commands cost one descriptor each, not a thread each. The reaper watches
// each child through a process descriptor in one epoll set, so it waits for exactly the library's
// children and never reaps a process of the host. A child without a descriptor (the process ran
// out of them) is looked at by the reaper every 50 ms instead.
//
// Nothing here allocates with operator new or can throw: a record per child from new (nothrow),
// pthread primitives for the lock and the wait.

#include <zemautils/utils.h>

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <spawn.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <new>

#include "execute_command_internal.h"

extern char** environ;

namespace {

constexpr std::chrono::milliseconds kDefaultWait{15000};
constexpr const char* kDefaultShell = "/bin/sh";
constexpr int kSweepMilliseconds = 50;
constexpr int kEventBatch = 16;
constexpr int kShellNotExecutable = 126;
constexpr int kShellNotFound = 127;

std::atomic<std::chrono::milliseconds::rep> g_waitMilliseconds{kDefaultWait.count()};
std::atomic<const char*> g_shell{kDefaultShell};
std::atomic<bool> g_useProcessDescriptors{true};

// One started command, shared by its caller and the reaper; once handed to the reaper, every field
// is under g_mutex. The record goes when both are done with it: the caller when it stops waiting,
// the reaper when it collected the process.
struct Child {
    pid_t pid = 0;
    int descriptor = -1;  // process descriptor in the epoll set; -1: swept
    bool ended = false;
    int status = 0;
    bool callerGone = false;
    Child* previous = nullptr;
    Child* next = nullptr;
};

pthread_mutex_t g_mutex = PTHREAD_MUTEX_INITIALIZER;
pthread_cond_t g_ended = PTHREAD_COND_INITIALIZER;
bool g_reaperRunning = false;
int g_epoll = -1;
int g_wake = -1;              // eventfd in the epoll set: a swept child was added
Child* g_children = nullptr;  // every child not yet collected
int g_sweptCount = 0;

class Lock {
public:
    Lock() { pthread_mutex_lock(&g_mutex); }
    ~Lock() { pthread_mutex_unlock(&g_mutex); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;
};

void Link(Child* child) {
    child->next = g_children;
    if (g_children) g_children->previous = child;
    g_children = child;
    if (child->descriptor == -1) ++g_sweptCount;
}

void Unlink(Child* child) {
    if (child->previous) child->previous->next = child->next;
    if (child->next) child->next->previous = child->previous;
    if (g_children == child) g_children = child->next;
    if (child->descriptor == -1) --g_sweptCount;
}

// Records the end of a collected child (under g_mutex): its caller, if still waiting, wakes up;
// otherwise nobody needs the record any more.
void Finish(Child* child, int status) {
    Unlink(child);
    child->ended = true;
    child->status = status;
    if (child->callerGone) {
        delete child;
        return;
    }
    pthread_cond_broadcast(&g_ended);
}

// The exit status of a child that has ended. A host that reaps children itself (or ignores
// SIGCHLD) leaves none to collect; the status is then unknown and reads as success.
int Collect(pid_t pid, int flags, bool* collected) {
    int status = 0;
    pid_t result = 0;
    while ((result = waitpid(pid, &status, flags)) == -1 && errno == EINTR) {
    }
    *collected = result == pid || (result == -1 && errno == ECHILD);
    return result == pid ? status : 0;
}

void CollectWatched(Child* child) {
    const Lock lock;
    epoll_ctl(g_epoll, EPOLL_CTL_DEL, child->descriptor, nullptr);
    close(child->descriptor);
    bool collected = false;
    const int status = Collect(child->pid, 0, &collected);
    Finish(child, status);
}

void SweepUnwatched() {
    const Lock lock;
    for (Child* child = g_children; child && g_sweptCount > 0;) {
        Child* const next = child->next;
        bool collected = false;
        if (child->descriptor == -1) {
            const int status = Collect(child->pid, WNOHANG, &collected);
            if (collected) Finish(child, status);
        }
        child = next;
    }
}

int SweepTimeout() {
    const Lock lock;
    return g_sweptCount > 0 ? kSweepMilliseconds : -1;
}

void* Reap(void*) {
    for (;;) {
        epoll_event events[kEventBatch];
        const int count = epoll_wait(g_epoll, events, kEventBatch, SweepTimeout());
        for (int i = 0; i < count; ++i) {
            if (events[i].data.ptr == nullptr) {
                std::uint64_t wakeups = 0;
                while (read(g_wake, &wakeups, sizeof wakeups) == -1 && errno == EINTR) {
                }
                continue;
            }
            CollectWatched(static_cast<Child*>(events[i].data.ptr));
        }
        SweepUnwatched();
    }
    return nullptr;
}

// Creates the epoll set, its wake-up descriptor and the reaper thread (under g_mutex). The thread
// blocks every signal, so the host's signals keep going to the host's threads.
bool StartReaper() {
    if (g_epoll == -1) g_epoll = epoll_create1(EPOLL_CLOEXEC);
    if (g_epoll == -1) return false;
    if (g_wake == -1) {
        g_wake = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        if (g_wake == -1) return false;
        epoll_event event{};
        event.events = EPOLLIN;
        event.data.ptr = nullptr;
        if (epoll_ctl(g_epoll, EPOLL_CTL_ADD, g_wake, &event) != 0) {
            close(g_wake);
            g_wake = -1;
            return false;
        }
    }
    sigset_t all;
    sigset_t previous;
    sigfillset(&all);
    pthread_sigmask(SIG_SETMASK, &all, &previous);
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
    pthread_t thread;
    const int error = pthread_create(&thread, &attributes, &Reap, nullptr);
    pthread_attr_destroy(&attributes);
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    return error == 0;
}

bool EnsureReaper() {
    const Lock lock;
    if (!g_reaperRunning) g_reaperRunning = StartReaper();
    return g_reaperRunning;
}

// A process descriptor of pid, close-on-exec like every process descriptor; -1 when none.
int OpenProcessDescriptor(pid_t pid) {
    return static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
}

// Hands a started child to the reaper: through its process descriptor when one can be had,
// otherwise to the periodic sweep.
void Watch(Child* child) {
    const int descriptor = g_useProcessDescriptors.load() ? OpenProcessDescriptor(child->pid) : -1;
    const Lock lock;
    if (descriptor != -1) {
        child->descriptor = descriptor;
        epoll_event event{};
        event.events = EPOLLIN;
        event.data.ptr = child;
        if (epoll_ctl(g_epoll, EPOLL_CTL_ADD, descriptor, &event) != 0) {
            close(descriptor);
            child->descriptor = -1;
        }
    }
    Link(child);
    if (child->descriptor == -1) {
        const std::uint64_t one = 1;
        while (write(g_wake, &one, sizeof one) == -1 && errno == EINTR) {
        }
    }
}

timespec DeadlineAfter(std::chrono::milliseconds wait) {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const auto count = wait.count();
    timespec deadline{};
    deadline.tv_sec = now.tv_sec + static_cast<time_t>(count / 1000);
    deadline.tv_nsec = now.tv_nsec + static_cast<long>(count % 1000) * 1000000L;
    if (deadline.tv_nsec >= 1000000000L) {
        deadline.tv_sec += 1;
        deadline.tv_nsec -= 1000000000L;
    }
    return deadline;
}

// Waits until the child ends or the wait is over and lets go of the record. True when the child
// ended within the wait with the shell's status for a command it could not start.
bool EndedUnstarted(Child* child) {
    const timespec deadline = DeadlineAfter(std::chrono::milliseconds(g_waitMilliseconds.load()));
    const Lock lock;
    while (!child->ended) {
        if (pthread_cond_clockwait(&g_ended, &g_mutex, CLOCK_MONOTONIC, &deadline) == ETIMEDOUT) break;
    }
    if (!child->ended) {
        child->callerGone = true;
        return false;
    }
    const int status = child->status;
    delete child;
    return WIFEXITED(status) &&
           (WEXITSTATUS(status) == kShellNotFound || WEXITSTATUS(status) == kShellNotExecutable);
}

// Spawn settings: a process group of its own, default signal handling and an empty signal mask.
struct SpawnAttributes {
    posix_spawnattr_t value;
    SpawnAttributes() {
        posix_spawnattr_init(&value);
        sigset_t all;
        sigfillset(&all);
        sigset_t none;
        sigemptyset(&none);
        posix_spawnattr_setpgroup(&value, 0);
        posix_spawnattr_setsigdefault(&value, &all);
        posix_spawnattr_setsigmask(&value, &none);
        posix_spawnattr_setflags(&value,
                                 POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    }
    ~SpawnAttributes() { posix_spawnattr_destroy(&value); }
};

// Standard input, output and error on /dev/null, and none of the caller's other descriptors: a
// command that outlives the call must not keep the caller's files, sockets or pipes open.
struct NullStreams {
    posix_spawn_file_actions_t value;
    NullStreams() {
        posix_spawn_file_actions_init(&value);
        posix_spawn_file_actions_addopen(&value, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&value, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_adddup2(&value, STDOUT_FILENO, STDERR_FILENO);
        posix_spawn_file_actions_addclosefrom_np(&value, STDERR_FILENO + 1);
    }
    ~NullStreams() { posix_spawn_file_actions_destroy(&value); }
};

bool Spawn(const char* commandLine, pid_t* pid) {
    const SpawnAttributes attributes;
    const NullStreams streams;
    const char* shell = g_shell.load();
    char* const arguments[] = {const_cast<char*>(shell), const_cast<char*>("-c"),
                               const_cast<char*>(commandLine), nullptr};
    return posix_spawn(pid, shell, &streams.value, &attributes.value, arguments, environ) == 0;
}

}  // namespace

namespace zema {

void SetCommandWait(std::chrono::milliseconds wait) {
    g_waitMilliseconds.store(wait.count() < 0 ? kDefaultWait.count() : wait.count());
}

void SetCommandShell(const char* shellPath) {
    g_shell.store(shellPath ? shellPath : kDefaultShell);
}

void SetCommandProcessDescriptors(bool use) {
    g_useProcessDescriptors.store(use);
}

}  // namespace zema

extern "C" int32_t ExecuteCommand(const char* commandLine) {
    if (!commandLine || !EnsureReaper()) return -1;
    Child* child = new (std::nothrow) Child;
    if (!child) return -1;
    if (!Spawn(commandLine, &child->pid)) {
        delete child;
        return -1;
    }
    Watch(child);
    return EndedUnstarted(child) ? -1 : 0;
}
