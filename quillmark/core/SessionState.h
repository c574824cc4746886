#pragma once
// Everything kept across restarts: the device inventory, the known locations, the current
// location, the event log, the hide-inactive setting and the found sound. One instance lives for
// the whole run; LoadSession creates it and SaveSession stores it (SessionFile.h).

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "quillmark/core/Clock.h"
#include "quillmark/core/DeviceList.h"

namespace qm {

inline constexpr std::string_view kSessionClassName = "TSessionState";
inline constexpr std::string_view kDefaultFoundSound = "C:\\WINDOWS\\Media\\Windows XP Information Bar.wav";

class TSessionState {
public:
    explicit TSessionState(const IClock& clock = SystemClock());
    TSessionState(const TSessionState&) = delete;
    TSessionState& operator=(const TSessionState&) = delete;

    // The object's name, written only in the file's header line; empty for the session.
    const std::string& Name() const { return FName; }
    void SetName(std::string name) { FName = std::move(name); }
    std::int32_t Tag() const { return FTag; }
    void SetTag(std::int32_t tag) { FTag = tag; }

    TDeviceList& DeviceList() { return FDeviceList; }
    const TDeviceList& DeviceList() const { return FDeviceList; }

    // Known locations: sorted case-insensitively, unique ignoring case, never shrinking at run time.
    std::vector<std::string>& LocationList() { return FLocationList; }
    const std::vector<std::string>& LocationList() const { return FLocationList; }

    // The current location. SetCurrentLocation takes the device list's lock (the inquiry copies
    // the location into each sighted device under it) and adds a new location to LocationList.
    const std::string& Location() const { return FLocation; }
    void SetCurrentLocation(std::string location);

    // The event log, newest line first.
    std::deque<std::string>& Log() { return FLog; }
    const std::deque<std::string>& Log() const { return FLog; }

    bool HideInactive() const { return FHideInactive; }
    void SetHideInactive(bool hide) { FHideInactive = hide; }
    // Path of the sound played for a new device; empty means silent.
    const std::string& FoundSound() const { return FFoundSound; }
    void SetFoundSound(std::string path) { FFoundSound = std::move(path); }

    const IClock& Clock() const { return FDeviceList.Clock(); }

private:
    std::string FName;
    std::int32_t FTag = 0;
    TDeviceList FDeviceList;
    std::vector<std::string> FLocationList;
    std::string FLocation;
    std::deque<std::string> FLog;
    bool FHideInactive = false;
    std::string FFoundSound{kDefaultFoundSound};
};

}  // namespace qm
