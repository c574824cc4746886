#ifndef ZEMAUTILS_CHANNEL_H
#define ZEMAUTILS_CHANNEL_H

/* Wi-Fi channel numbering. 802.11 channel numbers repeat across bands, so the library uses one
 * internal channel space, 1 to 255, in which each number stands for exactly one centre frequency:
 *   1-13     2407 + 5n MHz (2.4 GHz)        14       2484 MHz
 *   15       2437 MHz (turbo on channel 6)  20-179   5000 + 5n MHz (5 GHz)
 *   180-199  4000 + 5n MHz (4.9 GHz)        200-219  4000 + 5n MHz (5 GHz channels 0-19)
 *   236-255  3720 + 5n MHz (4.9 GHz again, as channel n - 56)
 * Every other number has no frequency. All functions are pure. */

#include <stdint.h>
#include <zemautils/export.h>

ZEMA_BEGIN_C

/* The centre frequency in MHz of an internal channel number, or 0. */
ZEMA_API int32_t ZEMAChannelNumberToFrequency(int32_t channel);

/* The internal channel number of a frequency in MHz (rounded down to the channel below between
 * centres; 4.9 GHz gives 180-199, 2437 gives 6), or 0. */
ZEMA_API int32_t ZEMAChannelFrequencyToNumber(int32_t frequency);

/* The canonical number for the channel's frequency (15 becomes 6, 236-255 become 180-199), or 0. */
ZEMA_API int32_t ZEMAChannelNumberToChannelNumber(int32_t channel);

/* Converts the channel number a station advertises into the internal space, using the internal
 * channel the advertisement was received on to pick the band; 0 when there is none. */
ZEMA_API int32_t ZEMAChannelConvertAdvertised(int32_t currentChannel, int32_t advertisedChannel);

/* Writes a one-line description such as "36 - (802.11a 5.180 GHz)" into buffer, at most size - 1
 * characters, always terminated when size is at least 1. Returns buffer. */
ZEMA_API char* ZEMAChannelDescription(int32_t channel, char* buffer, int32_t size);

ZEMA_END_C

#endif
