#pragma once
// How one radio's classic inquiry and its LE scan share the controller. Many controllers run both
// at once, so at first the LE scan goes on beside the inquiry. Once the controller has refused one
// of them while the other ran (Command Disallowed), the two take turns from then on: the LE scan
// pauses before each inquiry and resumes when the inquiry has ended. The inquiry runs on the
// discovery thread and the LE scan on a thread of its own; neither waits on the other for long.

#include <condition_variable>
#include <mutex>

namespace qm::bt {

class TRadioTurns {
public:
    // The controller refused an inquiry or an LE scan while the other ran: take turns from now on.
    void Refused();
    bool TakingTurns() const;

    // The inquiry side. BeginInquiry marks an inquiry under way and, while the two take turns,
    // waits (at most pauseWaitMs) until the LE scan has paused; AwaitLePaused waits again, after a
    // refusal has made them take turns.
    void BeginInquiry();
    void AwaitLePaused();
    void EndInquiry();

    // The LE side. BeginScan says whether the scan may run now and, if so, marks it running before
    // the controller is asked; EndScan marks it paused (or its start refused).
    bool BeginScan();
    void EndScan();
    // Whether a running LE scan should pause now: the two take turns and an inquiry is under way.
    bool PauseWanted() const;

    static constexpr int kPauseWaitMs = 2000;

private:
    void AwaitLePaused(std::unique_lock<std::mutex>& lock);

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool takingTurns_ = false;
    bool inquiring_ = false;
    bool scanning_ = false;
};

// An inquiry's turn for its lifetime; without turns (null) it does nothing.
class TInquiryTurn {
public:
    explicit TInquiryTurn(TRadioTurns* turns) : turns_(turns) {
        if (turns_) turns_->BeginInquiry();
    }
    ~TInquiryTurn() {
        if (turns_) turns_->EndInquiry();
    }
    TInquiryTurn(const TInquiryTurn&) = delete;
    TInquiryTurn& operator=(const TInquiryTurn&) = delete;

private:
    TRadioTurns* turns_;
};

}  // namespace qm::bt
