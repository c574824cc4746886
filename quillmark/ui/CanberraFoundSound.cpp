#include "quillmark/ui/CanberraFoundSound.h"

#include <canberra.h>
#include <dlfcn.h>

#include <cstdint>
#include <utility>

#include "quillmark/ui/DefaultFoundSound.h"

namespace qm::ui {

namespace {

// Every found sound plays under this id, so cancelling it ends the sound still playing.
constexpr std::uint32_t kFoundSoundId = 1;

// ALSA's library reports configuration errors (no sound card, no default device) by printing them
// through one process-wide handler. libcanberra's ALSA backend loads that library, so on a machine
// without audio every sound would print a screenful. While the player's context exists, the
// handler is one that prints nothing; the library is opened here so that the backend, which loads
// the same library later, shares the setting.
using TAlsaErrorHandler = void (*)(const char* file, int line, const char* function, int error,
                                   const char* format, ...);
using TSetAlsaErrorHandler = int (*)(TAlsaErrorHandler handler);

void IgnoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

class TQuietAlsa {
public:
    TQuietAlsa() : FLibrary(::dlopen("libasound.so.2", RTLD_LAZY | RTLD_LOCAL)) {
        SetHandler(&IgnoreAlsaError);
    }
    ~TQuietAlsa() {
        SetHandler(nullptr);
        if (FLibrary) ::dlclose(FLibrary);
    }
    TQuietAlsa(const TQuietAlsa&) = delete;
    TQuietAlsa& operator=(const TQuietAlsa&) = delete;

private:
    void SetHandler(TAlsaErrorHandler handler) {
        if (!FLibrary) return;
        const auto set =
            reinterpret_cast<TSetAlsaErrorHandler>(::dlsym(FLibrary, "snd_lib_error_set_handler"));
        if (set) set(handler);
    }

    void* FLibrary;
};

}  // namespace

struct TCanberraFoundSound::TContext {
    TQuietAlsa quietAlsa;  // declared first: lives longer than the context that uses ALSA
    ca_context* context = nullptr;

    TContext() = default;
    ~TContext() {
        if (context) ca_context_destroy(context);
    }
    TContext(const TContext&) = delete;
    TContext& operator=(const TContext&) = delete;
};

TCanberraFoundSound::TCanberraFoundSound(std::string defaultWav) : FDefaultWav(std::move(defaultWav)) {}

TCanberraFoundSound::~TCanberraFoundSound() = default;

TCanberraFoundSound::TContext* TCanberraFoundSound::Context() {
    if (FContextTried) return FContext.get();
    FContextTried = true;
    auto context = std::make_unique<TContext>();
    if (ca_context_create(&context->context) != CA_SUCCESS) return nullptr;
    ca_context_change_props(context->context, CA_PROP_APPLICATION_NAME, "Quillmark", CA_PROP_APPLICATION_ID,
                            "quillmark", nullptr);
    FContext = std::move(context);
    return FContext.get();
}

void TCanberraFoundSound::Play(const std::string& path) {
    const std::string file = ChooseFoundSoundFile(path, FDefaultWav);
    if (file.empty()) return;
    TContext* context = Context();
    if (!context) return;
    // The results are ignored: a sound that cannot play is silence.
    ca_context_cancel(context->context, kFoundSoundId);
    ca_context_play(context->context, kFoundSoundId, CA_PROP_MEDIA_FILENAME, file.c_str(), CA_PROP_MEDIA_ROLE,
                    "event", CA_PROP_EVENT_DESCRIPTION, "New Bluetooth device found", nullptr);
}

}  // namespace qm::ui
