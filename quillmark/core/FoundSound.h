#pragma once
// Plays the sound that announces a new device.

#include <string>

namespace qm {

class IFoundSound {
public:
    virtual ~IFoundSound() = default;
    // Starts playing the wave file and returns at once; a sound still playing ends. Any failure
    // (missing file, no audio device) is silent.
    virtual void Play(const std::string& path) = 0;
};

}  // namespace qm
