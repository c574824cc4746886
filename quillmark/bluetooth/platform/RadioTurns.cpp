#include "quillmark/bluetooth/platform/RadioTurns.h"

#include <chrono>

namespace qm::bt {

void TRadioTurns::Refused() {
    const std::lock_guard lock(mutex_);
    takingTurns_ = true;
    changed_.notify_all();
}

bool TRadioTurns::TakingTurns() const {
    const std::lock_guard lock(mutex_);
    return takingTurns_;
}

void TRadioTurns::BeginInquiry() {
    std::unique_lock lock(mutex_);
    inquiring_ = true;
    AwaitLePaused(lock);
}

void TRadioTurns::AwaitLePaused() {
    std::unique_lock lock(mutex_);
    AwaitLePaused(lock);
}

void TRadioTurns::AwaitLePaused(std::unique_lock<std::mutex>& lock) {
    changed_.wait_for(lock, std::chrono::milliseconds(kPauseWaitMs), [this] { return !takingTurns_ || !scanning_; });
}

void TRadioTurns::EndInquiry() {
    const std::lock_guard lock(mutex_);
    inquiring_ = false;
    changed_.notify_all();
}

bool TRadioTurns::BeginScan() {
    const std::lock_guard lock(mutex_);
    if (takingTurns_ && inquiring_) return false;
    scanning_ = true;
    return true;
}

void TRadioTurns::EndScan() {
    const std::lock_guard lock(mutex_);
    scanning_ = false;
    changed_.notify_all();
}

bool TRadioTurns::PauseWanted() const {
    const std::lock_guard lock(mutex_);
    return takingTurns_ && inquiring_;
}

}  // namespace qm::bt
