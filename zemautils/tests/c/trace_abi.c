/* Uses the tracing facility through the public header and the shared library only: loads a
 * trace.conf, traces one line at the Bluetooth module and finds header and tag in the file. */
#define _GNU_SOURCE
#include <zemautils/timebase.h>
#include <zemautils/trace.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static int Fail(const char* what) {
    fprintf(stderr, "trace_abi: %s\n", what);
    return 1;
}

static int Contains(const char* text, const char* part) { return strstr(text, part) != NULL; }

int main(void) {
    char dir[] = "/tmp/zemautils-c-XXXXXX";
    if (!mkdtemp(dir) || chdir(dir) != 0) return Fail("no temporary directory");
    FILE* conf = fopen("trace.conf", "w");
    if (!conf) return Fail("cannot write trace.conf");
    fputs("Bluetooth = 10 # levels 1 to 10\nTraceFile = c.log\n", conf);
    fclose(conf);

    if (TraceLoadConfiguration(NULL) != 0) return Fail("TraceLoadConfiguration failed");
    if (TraceModuleLevel(TRACE_MODULE_BLUETOOTH) != 10 || strcmp(TraceModuleNames[15], "Bluetooth") != 0)
        return Fail("level not loaded");
    if (TraceModuleLevel(TRACE_MODULE_BLUETOOTH) >= 10) {
        TracePrintTag(15, "main", 30);
        TracePrintf("L%d - ", 10);
        TracePrintf("hello from C at %llu\n", (unsigned long long)TimeGetTicks());
    }
    if (TraceStop() != 0) return Fail("TraceStop failed");

    char text[4096] = {0};
    FILE* log = fopen("c.log", "rb");
    if (!log) return Fail("no trace file");
    const size_t length = fread(text, 1, sizeof text - 1, log);
    fclose(log);
    unlink("c.log");
    unlink("trace.conf");
    rmdir(dir);

    if (length == 0 || !Contains(text, "Started Tracing ") || !Contains(text, "\nVersion: 6.6.0.0\n") ||
        !Contains(text, "\nTracing log style: 0, maximum log file size: 2000000000\n"))
        return Fail("header missing");
    if (!Contains(text, "[Bluetooth]main:30 L10 - hello from C at ")) return Fail("trace line missing");
    if (!Contains(text, "Stopped Tracing ")) return Fail("stop line missing");
    return 0;
}
