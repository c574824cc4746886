#pragma once
// The found sound through libcanberra: each sound plays asynchronously under one fixed id, so a
// new sound first ends the one still playing. Every failure (no audio device, no sound server,
// an unplayable file) is silent. Main thread only.

#include <memory>
#include <string>

#include "quillmark/core/FoundSound.h"

struct ca_context;

namespace qm::ui {

class TCanberraFoundSound final : public qm::IFoundSound {
public:
    // defaultWav: the chime played when the session's path cannot be played here (see
    // DefaultFoundSoundFile).
    explicit TCanberraFoundSound(std::string defaultWav);
    ~TCanberraFoundSound() override;
    TCanberraFoundSound(const TCanberraFoundSound&) = delete;
    TCanberraFoundSound& operator=(const TCanberraFoundSound&) = delete;

    // Plays ChooseFoundSoundFile(path, defaultWav); nothing for an empty path.
    void Play(const std::string& path) override;

private:
    struct TContext;
    // Created at the first sound; null when libcanberra could not make a context.
    TContext* Context();

    std::string FDefaultWav;
    std::unique_ptr<TContext> FContext;
    bool FContextTried = false;
};

}  // namespace qm::ui
