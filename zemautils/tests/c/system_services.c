/* Calls every function of the utilities, random-number and watchdog families through the shared
 * library's C interface. Network use stays on the loop-back interface. */

#define _POSIX_C_SOURCE 200809L

#include <arpa/inet.h>
#include <dirent.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/socket.h>
#include <unistd.h>
#include <zemautils/random.h>
#include <zemautils/utils.h>
#include <zemautils/watchdog.h>

static int failures = 0;

static void Check(int condition, const char* what) {
    if (!condition) {
        fprintf(stderr, "FAILED: %s\n", what);
        ++failures;
    }
}

/* A listening TCP socket on an ephemeral loop-back port; -1 when none can be had. */
static int Listen(uint16_t* port) {
    struct sockaddr_in address;
    socklen_t length = sizeof address;
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    memset(&address, 0, sizeof address);
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (listener == -1 || bind(listener, (struct sockaddr*)&address, sizeof address) != 0 ||
        getsockname(listener, (struct sockaddr*)&address, &length) != 0 || listen(listener, 1) != 0)
        return -1;
    *port = ntohs(address.sin_port);
    return listener;
}

static void Utilities(void) {
    uint8_t bytes[3];
    uint32_t address = 0x7F000001u;
    uint8_t hardware[6];
    char server[] = "127.0.0.1";
    uint16_t port = 0;
    const int listener = Listen(&port);

    Hex2Bin("0aFf", bytes, 3);
    Check(bytes[0] == 0x0A && bytes[1] == 0xFF && bytes[2] == 0x00, "Hex2Bin");
    Check(ExecuteCommand("exit 0") == 0, "ExecuteCommand");
    Check(ExecuteCommand("/no/such/program --flag") == -1, "ExecuteCommand of a program that does not exist");
    Check(ZEMALocalAddress(&address, hardware) == UTILS_NOT_FOUND,
          "ZEMALocalAddress of the loop-back address");
    Check(listener != -1, "loop-back listener");
    Check(ZEMACheckDatabaseConnectivity(server, port) == UTILS_OK, "ZEMACheckDatabaseConnectivity");
    close(listener);
}

static void Watchdog(void) {
    char status[WATCHDOG_STATUS_SIZE];
    WatchdogContract* contract;

    WatchdogRegister("c-program");
    WatchdogKeepalive("system_services.c");
    contract = WatchdogContractStart("system_services.c", 60000);
    Check(contract != NULL, "WatchdogContractStart");
    WatchdogContractComplete(contract);
    WatchdogPrintStatus(status, 0);
    Check(strstr(status, "[c-program: ") != NULL, "WatchdogPrintStatus lists the thread");
    WatchdogSleep("system_services.c");
    WatchdogPrintStatus(status, 0);
    Check(status[0] == '\0', "WatchdogPrintStatus leaves out a sleeping thread");
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

int main(void) {
    char before[MAX_DESCRIPTORS];
    char after[MAX_DESCRIPTORS];
    int descriptor;
    uint32_t first;
    OpenDescriptors(before);
    first = RandomGet32();
    int differs = 0;
    int i;
    for (i = 0; i < 8 && !differs; ++i) differs = RandomGet32() != first;
    Check(differs, "RandomGet32");
    Utilities();
    Watchdog();
    /* What the library keeps open, such as what watches started commands, stays out of child
     * processes. */
    OpenDescriptors(after);
    for (descriptor = 0; descriptor < MAX_DESCRIPTORS; ++descriptor)
        if (after[descriptor] && !before[descriptor])
            Check(ClosesOnExec(descriptor), "a descriptor of the library is inherited by child processes");
    return failures == 0 ? 0 : 1;
}
