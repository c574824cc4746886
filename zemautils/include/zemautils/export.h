#ifndef ZEMAUTILS_EXPORT_H
#define ZEMAUTILS_EXPORT_H

/* ZEMA_API marks the functions and data that libzemautils.so exports; the library is built with
 * hidden default visibility and a version script, so nothing unmarked is visible. */
#if defined(ZEMA_BUILDING_LIBRARY)
#define ZEMA_API __attribute__((visibility("default")))
#else
#define ZEMA_API
#endif

#ifdef __cplusplus
#define ZEMA_BEGIN_C extern "C" {
#define ZEMA_END_C }
#else
#define ZEMA_BEGIN_C
#define ZEMA_END_C
#endif

#endif
