/* The C declarations of the two Windows Bluetooth libraries the radio layer loads by name: the
 * platform's radio API ("irprops.cpl") and the Widcomm stack's C wrapper ("BTWrapper.dll"). They
 * follow the platform's published declarations mapped to LP64, so that any shared object exporting
 * these entry points with these types can stand in for the originals. Plain C, so that such a
 * library can be written in C as well as in C++. */
#ifndef QUILLMARK_BLUETOOTH_RADIOS_WINDOWS_RADIO_API_H
#define QUILLMARK_BLUETOOTH_RADIOS_WINDOWS_RADIO_API_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef int32_t BOOL;
typedef uint32_t DWORD;
typedef void* HANDLE;
typedef void* HBLUETOOTH_RADIO_FIND;
typedef uint64_t BLUETOOTH_ADDRESS; /* the 48-bit address in the low six bytes */

typedef struct BLUETOOTH_FIND_RADIO_PARAMS {
    DWORD dwSize; /* 4 */
} BLUETOOTH_FIND_RADIO_PARAMS;

enum { BLUETOOTH_MAX_NAME_SIZE = 248 };

typedef struct BLUETOOTH_RADIO_INFO {
    DWORD dwSize; /* 520 */
    BLUETOOTH_ADDRESS address;
    uint16_t szName[BLUETOOTH_MAX_NAME_SIZE]; /* UTF-16, zero-terminated */
    uint32_t ulClassofDevice;
    uint16_t lmpSubversion;
    uint16_t manufacturer;
} BLUETOOTH_RADIO_INFO;

/* "irprops.cpl" */
typedef HBLUETOOTH_RADIO_FIND (*PFN_BluetoothFindFirstRadio)(const BLUETOOTH_FIND_RADIO_PARAMS* params,
                                                            HANDLE* radio);
typedef BOOL (*PFN_BluetoothFindNextRadio)(HBLUETOOTH_RADIO_FIND find, HANDLE* radio);
typedef BOOL (*PFN_BluetoothFindRadioClose)(HBLUETOOTH_RADIO_FIND find);
typedef DWORD (*PFN_BluetoothGetRadioInfo)(HANDLE radio, BLUETOOTH_RADIO_INFO* info);
typedef BOOL (*PFN_BluetoothEnableDiscovery)(HANDLE radio, BOOL enabled);
typedef BOOL (*PFN_BluetoothIsDiscoverable)(HANDLE radio);
typedef BOOL (*PFN_BluetoothEnableIncomingConnections)(HANDLE radio, BOOL enabled);
typedef BOOL (*PFN_BluetoothIsConnectable)(HANDLE radio);
typedef BOOL (*PFN_CloseHandle)(HANDLE handle);

/* "BTWrapper.dll": the instance comes first in every call after the create. */
typedef int32_t CBTIF_INSTANCE;
enum { CBTIF_VERSION_TEXT_SIZE = 260, CBTIF_DEVICE_NAME_SIZE = 248, CBTIF_VERSION_RECORD_SIZE = 16 };

typedef CBTIF_INSTANCE (*PFN_CBtIf_Create)(void);
typedef int32_t (*PFN_CBtIf_Destroy)(CBTIF_INSTANCE instance);
typedef int32_t (*PFN_CBtIf_GetBTWVersionInfo)(CBTIF_INSTANCE instance, char* buffer, int32_t size);
typedef int32_t (*PFN_CBtIf_GetLocalDeviceName)(CBTIF_INSTANCE instance, char* name);
typedef int32_t (*PFN_CBtIf_GetLocalDeviceVersionInfo)(CBTIF_INSTANCE instance, unsigned char* record);
typedef int32_t (*PFN_CBtIf_IsDiscoverable)(CBTIF_INSTANCE instance);
typedef int32_t (*PFN_CBtIf_SetDiscoverable)(CBTIF_INSTANCE instance, int32_t on);
typedef int32_t (*PFN_CBtIf_IsConnectable)(CBTIF_INSTANCE instance);
typedef int32_t (*PFN_CBtIf_SetConnectable)(CBTIF_INSTANCE instance, int32_t on);
typedef int32_t (*PFN_CBtIf_AdapterEnable)(CBTIF_INSTANCE instance, int32_t on);

#ifdef __cplusplus
}

static_assert(sizeof(BOOL) == 4 && sizeof(DWORD) == 4);
static_assert(sizeof(BLUETOOTH_FIND_RADIO_PARAMS) == 4);
static_assert(sizeof(BLUETOOTH_RADIO_INFO) == 520);
static_assert(offsetof(BLUETOOTH_RADIO_INFO, address) == 8);
static_assert(offsetof(BLUETOOTH_RADIO_INFO, szName) == 16);
static_assert(offsetof(BLUETOOTH_RADIO_INFO, ulClassofDevice) == 512);
static_assert(offsetof(BLUETOOTH_RADIO_INFO, lmpSubversion) == 516);
static_assert(offsetof(BLUETOOTH_RADIO_INFO, manufacturer) == 518);
#endif

#endif
