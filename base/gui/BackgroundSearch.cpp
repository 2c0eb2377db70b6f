#include "base/gui/BackgroundSearch.h"

#include <cmath>
#include <utility>

BackgroundSearch::BackgroundSearch(wxEvtHandler* owner, int pollMs, std::function<void()> onPoll)
    : pollMs(pollMs) {
    poll.SetOwner(owner);
    owner->Bind(
        wxEVT_TIMER, [onPoll = std::move(onPoll)](wxTimerEvent&) { onPoll(); }, poll.GetId());
}

BackgroundSearch::~BackgroundSearch() { Stop(); }

void BackgroundSearch::Start(std::function<void()> work) {
    cancel = false;
    done = false;
    permille = 0;
    worker = std::thread([this, work = std::move(work)]() {
        work();
        done.store(true, std::memory_order_release);
    });
    poll.Start(pollMs);
}

void BackgroundSearch::Stop() {
    poll.Stop();
    if (!worker.joinable()) return;
    cancel = true;
    worker.join();
}

void BackgroundSearch::Finish() {
    poll.Stop();
    worker.join();
}

void BackgroundSearch::SetProgress(double share) {
    permille.store(static_cast<int>(std::lround(share * 1000)), std::memory_order_relaxed);
}
