// A search that runs on a worker thread while its window stays responsive: the window polls it on
// a timer of its own, the search reads the cancel flag and reports its progress, and the window
// takes the result once it is done.
#pragma once

#include <wx/timer.h>

#include <atomic>
#include <functional>
#include <thread>

class wxEvtHandler;

class BackgroundSearch {
public:
    // Polls every pollMs while a search runs, calling onPoll in owner's event handling.
    BackgroundSearch(wxEvtHandler* owner, int pollMs, std::function<void()> onPoll);
    // Stops a running search and waits for its thread.
    ~BackgroundSearch();

    // Runs work on the worker thread and starts polling; the flags start afresh. A running
    // search must have been stopped first.
    void Start(std::function<void()> work);
    // Stops polling; a running search is cancelled and its thread waited for.
    void Stop();
    // Stops polling and waits for the thread of a search that is Done.
    void Finish();

    // True from Start until Stop or Finish.
    bool Running() const { return worker.joinable(); }
    // The work has returned: its result may be taken after Finish.
    bool Done() const { return done.load(std::memory_order_acquire); }
    // Asks the search to stop early; it ends as soon as it looks at the flag.
    void Cancel() { cancel = true; }
    bool Cancelled() const { return cancel; }
    // The flag the search reads.
    std::atomic<bool>* CancelFlag() { return &cancel; }
    // Stores the share done (0..1) from the worker; Permille reads it on the window's thread.
    void SetProgress(double share);
    int Permille() const { return permille.load(std::memory_order_relaxed); }

private:
    std::thread worker;
    std::atomic<bool> cancel{false};
    std::atomic<bool> done{false};
    std::atomic<int> permille{0};
    wxTimer poll;
    int pollMs;
};
