/* Uses the tracing facility through the public header and the shared library only: loads a
 * trace.conf, traces one line at the Bluetooth module and finds header and tag in the file. Every
 * descriptor the facility holds, the trace file's and a configuration file's while it is read,
 * closes on exec, so child processes of the host inherit none of them. */
#define _GNU_SOURCE
#include <zemautils/timebase.h>
#include <zemautils/trace.h>

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <pthread.h>
#include <sched.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

static int failures = 0;

static void Check(int condition, const char* what) {
    if (!condition) {
        fprintf(stderr, "trace_abi: %s\n", what);
        ++failures;
    }
}

static int Contains(const char* text, const char* part) {
    return strstr(text, part) != NULL;
}

static int ClosesOnExec(int descriptor) {
    const int flags = fcntl(descriptor, F_GETFD);
    return flags != -1 && (flags & FD_CLOEXEC) != 0;
}

enum { MAX_DESCRIPTORS = 1024 };

/* Marks the process's open descriptors below MAX_DESCRIPTORS; the directory stream's own
 * descriptor is left out. */
static void OpenDescriptors(char open[MAX_DESCRIPTORS]) {
    DIR* directory = opendir("/proc/self/fd");
    struct dirent* entry;
    memset(open, 0, MAX_DESCRIPTORS);
    if (!directory) return;
    while ((entry = readdir(directory)) != NULL) {
        const int descriptor = atoi(entry->d_name);
        if (entry->d_name[0] == '.' || descriptor == dirfd(directory) || descriptor >= MAX_DESCRIPTORS)
            continue;
        open[descriptor] = 1;
    }
    closedir(directory);
}

/* A descriptor of the process, other than except, that refers to path (absolute); -1 when none. */
static int DescriptorOf(const char* path, int except) {
    char open[MAX_DESCRIPTORS];
    int descriptor;
    OpenDescriptors(open);
    for (descriptor = 0; descriptor < MAX_DESCRIPTORS; ++descriptor) {
        char link[64];
        char target[PATH_MAX];
        ssize_t length;
        if (!open[descriptor] || descriptor == except) continue;
        snprintf(link, sizeof link, "/proc/self/fd/%d", descriptor);
        length = readlink(link, target, sizeof target - 1);
        if (length <= 0) continue;
        target[length] = '\0';
        if (strcmp(target, path) == 0) return descriptor;
    }
    return -1;
}

/* Traces one line into c.log and reads the file back. Every descriptor that appeared while the
 * trace file is open must close on exec. */
static void TraceIntoAFile(void) {
    char before[MAX_DESCRIPTORS];
    char during[MAX_DESCRIPTORS];
    char text[4096] = {0};
    size_t length = 0;
    int descriptor;
    FILE* conf = fopen("trace.conf", "w");
    FILE* log;
    Check(conf != NULL, "cannot write trace.conf");
    if (!conf) return;
    fputs("Bluetooth = 10 # levels 1 to 10\nTraceFile = c.log\n", conf);
    fclose(conf);

    OpenDescriptors(before);
    Check(TraceLoadConfiguration(NULL) == 0, "TraceLoadConfiguration failed");
    OpenDescriptors(during);
    for (descriptor = 0; descriptor < MAX_DESCRIPTORS; ++descriptor)
        if (during[descriptor] && !before[descriptor])
            Check(ClosesOnExec(descriptor),
                  "a descriptor of the open trace file is inherited by child processes");
    Check(TraceModuleLevel(TRACE_MODULE_BLUETOOTH) == 10 && strcmp(TraceModuleNames[15], "Bluetooth") == 0,
          "level not loaded");
    if (TraceModuleLevel(TRACE_MODULE_BLUETOOTH) >= 10) {
        TracePrintTag(15, "main", 30);
        TracePrintf("L%d - ", 10);
        TracePrintf("hello from C at %llu\n", (unsigned long long)TimeGetTicks());
    }
    Check(TraceStop() == 0, "TraceStop failed");

    log = fopen("c.log", "rb");
    Check(log != NULL, "no trace file");
    if (log) {
        length = fread(text, 1, sizeof text - 1, log);
        fclose(log);
    }
    unlink("c.log");
    unlink("trace.conf");
    Check(length > 0 && Contains(text, "Started Tracing ") && Contains(text, "\nVersion: 6.6.0.0\n") &&
              Contains(text, "\nTracing log style: 0, maximum log file size: 2000000000\n"),
          "header missing");
    Check(Contains(text, "[Bluetooth]main:30 L10 - hello from C at "), "trace line missing");
    Check(Contains(text, "Stopped Tracing "), "stop line missing");
}

struct FifoWriter {
    const char* path;
    int readerClosesOnExec;
};

/* Opens the FIFO for writing, which lets the reader's open complete, finds the reader's
 * descriptor, then writes the configuration and closes. */
static void* WriteConfiguration(void* argument) {
    struct FifoWriter* writer = (struct FifoWriter*)argument;
    static const char line[] = "Bluetooth = 5\n";
    const int own = open(writer->path, O_WRONLY | O_CLOEXEC);
    int reader;
    if (own == -1) return NULL;
    while ((reader = DescriptorOf(writer->path, own)) == -1) sched_yield();
    writer->readerClosesOnExec = ClosesOnExec(reader);
    if (write(own, line, sizeof line - 1) != (ssize_t)(sizeof line - 1)) writer->readerClosesOnExec = -1;
    close(own);
    return NULL;
}

/* A configuration file is open only while ReadConfig runs: a FIFO holds ReadConfig inside its
 * read until another thread has looked at the descriptor. */
static void ReadConfigurationFromAFifo(const char* directory) {
    char path[PATH_MAX];
    struct FifoWriter writer;
    pthread_t thread;
    const char* value;
    Check(snprintf(path, sizeof path, "%s/fifo.conf", directory) < (int)sizeof path, "FIFO path too long");
    writer.path = path;
    writer.readerClosesOnExec = 0;
    Check(mkfifo(path, 0600) == 0, "no FIFO");
    Check(pthread_create(&thread, NULL, WriteConfiguration, &writer) == 0, "no writer thread");
    value = ReadConfig(path, "Bluetooth", "none");
    pthread_join(thread, NULL);
    unlink(path);
    Check(strcmp(value, "5") == 0, "configuration not read from the FIFO");
    Check(writer.readerClosesOnExec == 1, "the configuration file is inherited by child processes");
}

int main(void) {
    char directory[] = "/tmp/zemautils-c-XXXXXX";
    char resolved[PATH_MAX]; /* descriptors name their files by the resolved path */
    if (!mkdtemp(directory) || chdir(directory) != 0 || !realpath(directory, resolved)) {
        fprintf(stderr, "trace_abi: no temporary directory\n");
        return 1;
    }
    TraceIntoAFile();
    ReadConfigurationFromAFifo(resolved);
    rmdir(directory);
    return failures == 0 ? 0 : 1;
}
