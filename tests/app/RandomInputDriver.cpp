// Random input through the real main window: clicks, double-clicks, right clicks, drags and wheel
// turns on the canvas, its rulers, the palette, the properties panel and the status bar; keys,
// shortcuts, menu picks and odd text; every window that opens gets a few actions and is closed.
// Mouse and keys go through the X server (xdotool), as a user's would.
//
// Every action is written with its time to the log before it runs, and the run can be replayed
// from the log. The run fails (exit 1) on a toolkit assertion, a GTK critical, a file written
// outside the scratch folder, or a saved layout that does not open again with the same pieces;
// a crash writes its signal to the log and dies of it; a window that stops answering for 10 s
// ends the run with exit 3.
//
// Usage: random_input_driver --seconds N --seed S --log FILE --scratch DIR --layouts DIR
//        random_input_driver --replay LOG --log FILE --scratch DIR --layouts DIR
#include <fcntl.h>
#include <glib.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <wx/app.h>
#include <wx/dirdlg.h>
#include <wx/filedlg.h>
#include <wx/menu.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/printdlg.h>
#include <wx/statusbr.h>
#include <wx/textentry.h>
#include <wx/timer.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <map>
#include <mutex>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/gui/MainFrame.h"
#include "app/gui/MainFrameDialogs.h"
#include "canvas/gui/CanvasPanel.h"
#include "panels/gui/PalettePanel.h"
#include "panels/gui/PropertiesPanel.h"
#include "persistence/LayoutFile.h"
#include "tests/app/RandomInputWrites.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kHangSeconds = 10;
constexpr int kHangExit = 3;

// One action of the run, as the log writes it: time kind target x y x2 y2 code mods text(hex).
struct Action {
    double time = 0;
    std::string kind{};    // click dclick rclick drag wheel key text menu close answer ask
    std::string target{};  // canvas rulers palette panel status dialog window frame
    int x = 0, y = 0, x2 = 0, y2 = 0;
    int code = 0;  // key code, menu id, dialog answer, mouse button
    int mods = 0;
    std::string text{};  // typed text, window title, chosen path
};

// The text is written as hex digits ("-" when empty), so that any text fits on the line.
std::string Format(const Action& a) {
    char head[160];
    std::string out(head, std::snprintf(head, sizeof head, "%.3f %s %s %d %d %d %d %d %d ", a.time,
                                        a.kind.c_str(), a.target.c_str(), a.x, a.y, a.x2, a.y2,
                                        a.code, a.mods));
    for (unsigned char c : a.text) out.append(head, std::snprintf(head, sizeof head, "%02x", c));
    return a.text.empty() ? out + "-" : out;
}
bool Parse(const std::string& line, Action* a) {
    std::istringstream in(line);
    std::string hex;
    if (!(in >> a->time >> a->kind >> a->target >> a->x >> a->y >> a->x2 >> a->y2 >> a->code >>
          a->mods >> hex))
        return false;
    a->text.clear();
    for (size_t i = 0; hex != "-" && i + 1 < hex.size(); i += 2)
        a->text += char(std::stoi(hex.substr(i, 2), nullptr, 16));
    return true;
}

// The log: one line per action and per finding, flushed at once so that a crash loses nothing.
int logFd = -1;
void LogLine(const std::string& line) {
    const std::string text = line + "\n";
    if (logFd >= 0) (void)!write(logFd, text.data(), text.size());
}

std::atomic<long> actionCount{0};
std::atomic<int64_t> lastBeatMs{0};
Clock::time_point started;
int64_t NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - started).count();
}
double NowSeconds() { return NowMs() / 1000.0; }

// Found on either thread.
std::atomic<int> faultCount{0};
void Fault(const std::string& what) {
    LogLine("# FAULT " + what);
    std::fprintf(stderr, "random input: FAULT %s\n", what.c_str());
    ++faultCount;
}

// Raw text to the log and to stderr, as a signal handler may write it.
void WriteRaw(const char* text, int n) {
    if (logFd >= 0) (void)!write(logFd, text, n);
    (void)!write(STDERR_FILENO, text, n);
}

void OnCrash(int sig) {
    char text[128];
    WriteRaw(text, std::snprintf(text, sizeof text, "# FAULT crash: signal %d after %ld actions\n",
                                 sig, actionCount.load()));
    signal(sig, SIG_DFL);
    raise(sig);
}

void OnToolkitAssert(const wxString& file, int line, const wxString& func, const wxString& cond,
                     const wxString& msg) {
    Fault("toolkit assertion at " + file.utf8_string() + ":" + std::to_string(line) + " in " +
          func.utf8_string() + ": " + cond.utf8_string() + " " + msg.utf8_string());
}

// Every GLib, GTK and GDK message, plain or structured, passes here: criticals are faults,
// warnings go to the log.
GLogWriterOutput OnGlibMessage(GLogLevelFlags level, const GLogField* fields, gsize count,
                               gpointer data) {
    std::string domain = "GLib", message;
    for (gsize i = 0; i < count; ++i) {
        const std::string key = fields[i].key;
        const auto* value = static_cast<const char*>(fields[i].value);
        if (!value) continue;
        const std::string text = fields[i].length < 0
                                     ? std::string(value)
                                     : std::string(value, size_t(fields[i].length));
        if (key == "GLIB_DOMAIN") domain = text;
        if (key == "MESSAGE") message = text;
    }
    if (level & (G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_ERROR))
        Fault(domain + "-CRITICAL " + message);
    else if (level & G_LOG_LEVEL_WARNING)
        LogLine("# " + domain + "-WARNING " + message);
    return g_log_writer_default(level, fields, count, data);
}

long PeakMemoryKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
    return 0;
}

// Texts typed where the focus is: plain ones, then non-ASCII and long ones.
const std::vector<std::string> kOddTexts = [] {
    std::vector<std::string> texts = {
        "1e308",  "-0",          "<&>",  "0",     "-1",         "1e-308",         "NaN",
        "inf",    "99999999999", "0.5",  ",",     "  ",         "\"quoted\" 'x'", "../../escape",
        "a/b\\c", "%s%n",        "12,5", "1.5.5", "R1 & R2 <x>"};
    for (const char* text : {"Gleisplan \xc3\xa4\xc3\xb6\xc3\xbc\xc3\x9f",
                             "\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e", "\xf0\x9f\x9a\x82"})
        texts.push_back(text);
    texts.push_back(std::string(300, 'W'));
    return texts;
}();

// Keys pressed on their own or with Ctrl, Shift or Alt, with their X names; letters and digits
// go by themselves.
const std::vector<std::pair<int, const char*>> kKeys = [] {
    std::vector<std::pair<int, const char*>> keys = {
        {WXK_DELETE, "Delete"}, {WXK_BACK, "BackSpace"}, {WXK_ESCAPE, "Escape"},
        {WXK_RETURN, "Return"}, {WXK_TAB, "Tab"},        {WXK_LEFT, "Left"},
        {WXK_RIGHT, "Right"},   {WXK_UP, "Up"},          {WXK_DOWN, "Down"},
        {WXK_HOME, "Home"},     {WXK_END, "End"},        {WXK_PAGEUP, "Prior"},
        {WXK_F1, "F1"},         {WXK_F2, "F2"},          {WXK_F5, "F5"},
        {WXK_SPACE, "space"},   {'+', "plus"},           {'-', "minus"}};
    for (char c : std::string("acefglmnorstvxyz13")) keys.push_back({c, nullptr});
    keys.insert(keys.end(), {{WXK_INSERT, "Insert"}, {WXK_F10, "F10"}});
    return keys;
}();

// A timer that calls a function.
class CallTimer : public wxTimer {
public:
    explicit CallTimer(std::function<void()> call) : call(std::move(call)) {}
    void Notify() override { call(); }

private:
    std::function<void()> call;
};

// Calls for the window's thread. The toolkit's queue of posted calls is not always served
// inside a dialog's loop (a call posted while another posted call runs that dialog can wait until
// it closes); timers are. So a chain of one-shot timers takes the calls: each arms the next
// before it runs its calls, and a call that opens a dialog does not hold up the ones after it.
class WindowQueue {
public:
    // From any thread.
    void Post(std::function<void()> call) {
        std::lock_guard<std::mutex> lock(mutex);
        calls.push_back(std::move(call));
    }
    // On the window's thread.
    void Start() { Arm(); }
    void Stop() { stopped = true; }

private:
    struct Link {
        std::unique_ptr<CallTimer> timer;
        bool running = false;
    };
    void Arm() {
        size_t free = 0;
        while (free < links.size() && links[free]->running) ++free;
        if (free == links.size()) {
            links.push_back(std::make_unique<Link>());
            links.back()->timer = std::make_unique<CallTimer>([this, free] { Fire(free); });
        }
        links[free]->timer->StartOnce(10);
    }
    void Fire(size_t index) {
        if (stopped) return;
        links[index]->running = true;
        Arm();
        for (;;) {
            std::function<void()> call;
            {
                std::lock_guard<std::mutex> lock(mutex);
                if (calls.empty()) break;
                call = std::move(calls.front());
                calls.pop_front();
            }
            call();
            if (stopped) break;
        }
        links[index]->running = false;
    }

    std::mutex mutex;
    std::deque<std::function<void()>> calls;
    std::vector<std::unique_ptr<Link>> links;  // window thread only
    bool stopped = false;
};
std::unique_ptr<WindowQueue> windowQueue;

// Ends the run on a window that has stopped answering, with the stacks of its threads in stderr
// when gdb is there to take them.
[[noreturn]] void Hang() {
    char text[128];
    WriteRaw(text, std::snprintf(text, sizeof text,
                                 "# FAULT hang: no answer for %d s after %ld actions\n",
                                 kHangSeconds, actionCount.load()));
    // And the X server's, which may be what stopped.
    std::string server;
    if (const char* display = std::getenv("DISPLAY"))
        server = "; pid=$(pgrep -f 'Xvfb " + std::string(display) +
                 " ' | head -n 1); [ -n \"$pid\" ] && gdb -p $pid -batch -ex bt";
    (void)!std::system(("command -v gdb >/dev/null && { gdb -p " + std::to_string(getpid()) +
                        " -batch -ex 'thread apply all bt'" + server + "; } >&2 2>/dev/null")
                           .c_str());
    _exit(kHangExit);
}

// Runs call on the window's thread and waits for it; a window that does not get to it within
// kHangSeconds has stopped answering, and the run ends there.
void OnWindowThread(std::function<void()> call) {
    auto done = std::make_shared<std::promise<void>>();
    std::future<void> finished = done->get_future();
    windowQueue->Post([call = std::move(call), done] {
        call();
        done->set_value();
    });
    if (finished.wait_for(std::chrono::seconds(kHangSeconds)) != std::future_status::ready) Hang();
}

// Runs xdotool with args and waits for it: real pointer and keyboard input through the X server.
void XDoTool(std::vector<std::string> args) {
    args.insert(args.begin(), "xdotool");
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    if (posix_spawnp(&child, "xdotool", nullptr, nullptr, argv.data(), environ) != 0)
        return Fault("xdotool does not start");
    waitpid(child, nullptr, 0);
}

// The X key name of a key code.
std::string KeyName(int code) {
    for (const auto& [key, name] : kKeys)
        if (key == code && name) return name;
    return std::string(1, char(code));
}
const std::pair<int, const char*> kModifierKeys[] = {
    {wxMOD_CONTROL, "ctrl"}, {wxMOD_SHIFT, "shift"}, {wxMOD_ALT, "alt"}};
std::string ModifierNames(int mods) {
    std::string out;
    for (const auto& [mod, key] : kModifierKeys)
        if (mods & mod) out += std::string(key) + "+";
    return out;
}

// The modifier keys held around a pointer action.
void HoldModifiers(std::vector<std::string>* args, int mods, bool down) {
    for (const auto& [mod, key] : kModifierKeys)
        if (mods & mod) args->insert(args->end(), {down ? "keydown" : "keyup", key});
}

// What the driver sees of the windows before each action, taken on the window's thread.
struct WindowView {
    struct Shown {
        uintptr_t id = 0;  // the window's address, only compared
        std::string title;
        wxRect client;  // on the screen
    };
    std::optional<Shown> dialog;  // the innermost modal dialog
    std::optional<Shown> other;   // another top-level window (3D view, check, trains, help)
    std::map<std::string, wxRect> targets;  // canvas, rulers, palette, panel, status
    std::set<uintptr_t> open;               // every dialog and window besides the main one
    bool frameModal = false;  // a modal dialog is up, so the frame takes no menu picks
};

WindowView::Shown ShownOf(wxWindow* w) {
    WindowView::Shown shown;
    shown.id = reinterpret_cast<uintptr_t>(w);
    shown.title = w->GetLabel().utf8_string();
    shown.client = wxRect(w->ClientToScreen(wxPoint(0, 0)), w->GetClientSize());
    return shown;
}

// The driver: the actions are chosen and sent on a thread of their own, so that a dialog, a
// context menu or a drag loop that the window runs never holds up the next action. Only what
// must touch the window (looking at it, menu picks, closing a window) runs on the window's thread.
class Driver : public wxModalDialogHook {
public:
    Driver(uint32_t seed, double seconds, const std::string& scratch, const std::string& layouts,
           std::deque<Action> replay)
        : random(seed),
          answers(seed ^ 0x9e3779b9u),
          seconds(seconds),
          scratch(scratch),
          layouts(layouts),
          replaying(!replay.empty()),
          replay(std::move(replay)) {}

    void Start() {
        frame = new MainFrame();
        frame->SetProgramFolder(wxString::FromUTF8(layouts));
        frame->SetPosition(wxPoint(0, 0));
        frame->SetClientSize(1300, 860);
        frame->SetSavePathAsker([this](wxWindow*, const wxString&, const wxString& file) {
            return wxString::FromUTF8(AskPath("save", file.utf8_string()));
        });
        frame->SetOpenPathAsker(
            [this](wxWindow*, const wxString&) { return wxString::FromUTF8(AskPath("open", "")); });
        frame->SetAboutShower([](const wxAboutDialogInfo&, wxWindow*) { LogLine("# about box"); });
        frame->Properties()->SetBrowserOpener([](const wxString& url) {
            LogLine("# browser " + url.utf8_string());
            return true;
        });
        // Exports go into a folder of their own: they are not layouts to open again.
        SetExportPathAsker([this](wxWindow*, const ExportQuestion& question) {
            return ExportAnswer{wxString::FromUTF8(AskPath("export", question.file.utf8_string())),
                                PickAnswer(int(question.wildcard.Freq('|') + 1) / 2)};
        });
        SetPrintRunner([](wxWindow*, wxPrintDialogData&, wxPrintout&) {
            LogLine("# print job");
            return PrintOutcome::Cancelled;
        });
        // Only the run's end closes the main window.
        frame->Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent& event) {
            if (!ending && event.CanVeto()) {
                LogLine("# main window close vetoed");
                return event.Veto();
            }
            event.Skip();
        });
        frame->Show();
        frame->Document().EnsureDefaultLevel();
        frame->AfterStartup();
        Register();
        CollectMenuIds(frame->GetMenuBar());
        beat.Start(100);
        // The first action waits until the window has been shown and painted.
        windowQueue->Start();
        wxTheApp->CallAfter([this] { actions = std::thread([this] { Run(); }); });
    }

    // After the window's loop has ended.
    int Join() {
        if (actions.joinable()) actions.join();
        return faultCount == 0 ? 0 : 1;
    }

protected:
    // Modal dialogs: the toolkit's own (messages, files, printing) are answered here, as they
    // cannot be driven; the program's own show and get random actions.
    int Enter(wxDialog* dialog) override {
        const std::string title = dialog->GetTitle().utf8_string();
        int answer = wxID_NONE;
        if (auto* files = dynamic_cast<wxFileDialogBase*>(dialog)) {
            answer = wxID_CANCEL;
            if (!(files->GetWindowStyle() & wxFD_OPEN)) {
                const std::string path = AskPath("file", files->GetFilename().utf8_string());
                files->SetPath(wxString::FromUTF8(path));
                if (!path.empty() && files->GetPath().utf8_string() == path) answer = wxID_OK;
            }
        } else if (dynamic_cast<wxMessageDialogBase*>(dialog) ||
                   dynamic_cast<wxDirDialogBase*>(dialog) ||
                   dynamic_cast<wxPrintDialogBase*>(dialog) ||
                   dynamic_cast<wxPageSetupDialogBase*>(dialog)) {
            static const int codes[] = {wxID_OK, wxID_CANCEL, wxID_YES, wxID_NO};
            answer = codes[PickAnswer(4)];
            if (auto* message = dynamic_cast<wxMessageDialogBase*>(dialog))
                LogLine("# message: " + message->GetMessage().utf8_string());
        }
        if (answer != wxID_NONE) {
            Action logged;
            if (TakeReplayed("answer", &logged)) answer = logged.code;
            Action a{.kind = "answer", .target = "dialog", .code = answer, .text = title};
            Record(a);
            return answer;
        }
        LogLine("# dialog opens: " + title);
        dialogs.push_back(dialog);
        return wxID_NONE;
    }
    void Exit(wxDialog* dialog) override {
        const auto found = std::find(dialogs.begin(), dialogs.end(), dialog);
        if (found == dialogs.end()) return;
        LogLine("# dialog closed: " + dialog->GetTitle().utf8_string());
        dialogs.erase(found);
    }

private:
    struct Budget {
        int actions;  // before the window is closed
        int done = 0;
    };

    // The driver's thread: look, choose, act, until the time is up or a fault is found.
    void Run() {
        for (;;) {
            std::this_thread::sleep_for(std::chrono::milliseconds(40));
            WindowView view;
            OnWindowThread([&] { view = Look(); });
            const bool timeUp = replaying ? ReplayLeft() == 0 : NowSeconds() >= seconds;
            if (faultCount > 0 || timeUp) break;
            Action a;
            if (replaying) {
                if (!NextReplayed(&a)) continue;
            } else {
                a = Choose(view);
            }
            Record(a);
            Perform(a, view);
        }
        Finish();
    }

    // On the window's thread: the checks of what has happened since the last look, and the view.
    WindowView Look() {
        CheckWrites();
        CheckSavedLayouts();
        WindowView view;
        if (!dialogs.empty()) {
            view.dialog = ShownOf(dialogs.back());
            view.frameModal = true;
        }
        for (wxDialog* d : dialogs) view.open.insert(reinterpret_cast<uintptr_t>(d));
        for (wxWindow* w : wxTopLevelWindows)
            if (w != frame && w->IsShown() && !w->IsBeingDeleted() &&
                std::find(dialogs.begin(), dialogs.end(), w) == dialogs.end()) {
                view.open.insert(reinterpret_cast<uintptr_t>(w));
                if (!view.other) view.other = ShownOf(w);
            }
        const auto rect = [](wxWindow* w) { return ShownOf(w).client; };
        view.targets["canvas"] = rect(frame->Canvas());
        view.targets["rulers"] = rect(frame->Canvas());
        view.targets["palette"] = rect(frame->Palette());
        view.targets["panel"] = rect(frame->Properties());
        if (wxStatusBar* status = frame->GetStatusBar()) view.targets["status"] = rect(status);
        return view;
    }

    int Pick(int n) { return n <= 1 ? 0 : std::uniform_int_distribution<int>(0, n - 1)(random); }
    // The window thread's choices: answers to the toolkit's dialogs and paths to give.
    int PickAnswer(int n) {
        return n <= 1 ? 0 : std::uniform_int_distribution<int>(0, n - 1)(answers);
    }
    bool Chance(int percent) { return Pick(100) < percent; }

    // The next action: on the innermost dialog while one is up, then on another window while one
    // is shown, else on the main window; each dialog and window is closed after a few actions.
    Action Choose(const WindowView& view) {
        std::erase_if(budgets, [&](const auto& entry) { return !view.open.count(entry.first); });
        const WindowView::Shown* shown = view.dialog  ? &*view.dialog
                                         : view.other ? &*view.other
                                                      : nullptr;
        if (shown) {
            auto [found, added] = budgets.try_emplace(
                shown->id, Budget{(view.dialog ? 2 : 3) + Pick(view.dialog ? 6 : 8)});
            if (added) LogLine("# acting on: " + shown->title);
            Budget& budget = found->second;
            if (++budget.done > budget.actions) {
                const bool cancel = budget.done > budget.actions + 3 || Chance(40);
                return Action{.kind = "close",
                              .target = view.dialog ? "dialog" : "window",
                              .code = cancel ? wxID_CANCEL : wxID_OK,
                              .text = shown->title};
            }
            return Invent(view.dialog ? "dialog" : "window", shown->title, shown->client.GetSize(),
                          view.frameModal);
        }
        static const char* targets[] = {"canvas",  "canvas",  "canvas", "canvas", "rulers",
                                        "palette", "palette", "panel",  "panel",  "status"};
        const std::string target = targets[Pick(10)];
        const auto found = view.targets.find(target);
        const wxSize size = found != view.targets.end() ? found->second.GetSize() : wxSize(1, 1);
        return Invent(target, "", size, false);
    }

    // A new random action on a window of the given client size.
    Action Invent(const std::string& target, const std::string& title, wxSize size, bool modal) {
        Action a{.target = target, .text = title};
        auto place = [&](int* x, int* y) {
            if (target == "rulers") {
                const bool top = Chance(50);
                *x = top ? Pick(size.x) : Pick(20);
                *y = top ? Pick(20) : Pick(size.y);
            } else {
                *x = Pick(std::max(1, size.x));
                *y = Pick(std::max(1, size.y));
            }
        };
        place(&a.x, &a.y);
        const int roll = Pick(100);
        if (roll < 25) {
            a.kind = "click";
        } else if (roll < 33) {
            a.kind = "dclick";
        } else if (roll < 40) {
            a.kind = "rclick";
        } else if (roll < 55) {
            a.kind = "drag";
            place(&a.x2, &a.y2);
            if (Chance(40)) {  // a short drag, as a nudge of a piece
                a.x2 = a.x + Pick(41) - 20;
                a.y2 = a.y + Pick(41) - 20;
            }
        } else if (roll < 63) {
            a.kind = "wheel";
            a.code = Chance(50) ? 120 : -120;
        } else if (roll < 80 || (roll >= 90 && modal)) {
            a.kind = "key";
            a.code = kKeys[Pick(int(kKeys.size()))].first;
        } else if (roll < 90) {
            a.kind = "text";
            a.text = kOddTexts[Pick(int(kOddTexts.size()))];
        } else {
            a.kind = "menu";
            a.target = "frame";
            a.text.clear();
            a.code = menuIds.empty() ? wxID_NEW : menuIds[Pick(int(menuIds.size()))];
        }
        constexpr int kCtrlShift = wxMOD_CONTROL | wxMOD_SHIFT;
        static const int modifiers[] = {wxMOD_NONE,  wxMOD_NONE, wxMOD_NONE, wxMOD_CONTROL,
                                        wxMOD_SHIFT, wxMOD_ALT,  kCtrlShift};
        a.mods = modifiers[Pick(7)];
        // Ctrl+Q would end the run and Ctrl+P would print: both have their own tests.
        if (a.kind == "key" && (a.mods & wxMOD_CONTROL) && (a.code == 'q' || a.code == 'p'))
            a.mods = wxMOD_NONE;
        return a;
    }

    // The window an action is aimed at, as the view saw it (null when it is not there now).
    static const WindowView::Shown* Aimed(const Action& a, const WindowView& view) {
        if (a.target == "dialog") return view.dialog ? &*view.dialog : nullptr;
        if (a.target == "window")
            return view.other && view.other->title == a.text ? &*view.other : nullptr;
        return nullptr;
    }

    void Perform(const Action& a, const WindowView& view) {
        if (a.kind == "close") {
            if (const WindowView::Shown* shown = Aimed(a, view))
                windowQueue->Post([this, id = shown->id, code = a.code] { Close(id, code); });
            return;
        }
        if (a.kind == "menu") return windowQueue->Post([this, code = a.code] { PickMenu(code); });
        wxRect client;
        if (const WindowView::Shown* shown = Aimed(a, view)) {
            client = shown->client;
        } else {
            const auto found = view.targets.find(a.target);
            if (found == view.targets.end() || a.target == "dialog" || a.target == "window") return;
            client = found->second;
        }
        const auto at = [&](int x, int y) {
            return std::vector<std::string>{"mousemove", std::to_string(client.x + x),
                                            std::to_string(client.y + y)};
        };
        std::vector<std::string> args = at(a.x, a.y);
        const auto append = [&](std::vector<std::string> more) {
            args.insert(args.end(), more.begin(), more.end());
        };
        if (a.kind == "click" || a.kind == "dclick" || a.kind == "rclick" || a.kind == "wheel") {
            HoldModifiers(&args, a.mods, true);
            if (a.kind == "dclick")
                append({"click", "--repeat", "2", "--delay", "60", "1"});
            else if (a.kind == "wheel")
                append({"click", a.code > 0 ? "4" : "5"});
            else
                append({"click", a.kind == "rclick" ? "3" : "1"});
            HoldModifiers(&args, a.mods, false);
        } else if (a.kind == "drag") {
            HoldModifiers(&args, a.mods, true);
            append({"mousedown", "1"});
            for (int i = 1; i <= 6; ++i) {
                append({"sleep", "0.02"});
                append(at(a.x + (a.x2 - a.x) * i / 6, a.y + (a.y2 - a.y) * i / 6));
            }
            append({"mouseup", "1"});
            HoldModifiers(&args, a.mods, false);
        } else if (a.kind == "key") {
            append({"key", ModifierNames(a.mods) + KeyName(a.code)});
        } else if (a.kind == "text") {
            bool plain = a.text.size() <= 40;
            for (unsigned char c : a.text) plain &= c >= 32 && c < 127;
            if (plain) {
                append({"type", "--delay", "8", "--", a.text});
            } else {
                // Long and non-ASCII texts go straight into the field with the focus.
                windowQueue->Post([text = a.text, replace = bool(a.mods & wxMOD_SHIFT)] {
                    if (auto* entry = dynamic_cast<wxTextEntry*>(wxWindow::FindFocus())) {
                        if (replace) entry->SelectAll();
                        entry->WriteText(wxString::FromUTF8(text));
                    }
                });
            }
            if (a.mods & wxMOD_CONTROL) append({"key", "Return"});
        }
        XDoTool(args);
    }

    // On the window's thread: closes the dialog or window the driver saw, if it is still there.
    void Close(uintptr_t id, int code) {
        wxWindow* w = nullptr;
        for (wxDialog* d : dialogs)
            if (reinterpret_cast<uintptr_t>(d) == id) w = d;
        for (wxWindow* t : wxTopLevelWindows)
            if (reinterpret_cast<uintptr_t>(t) == id && t != frame && !t->IsBeingDeleted()) w = t;
        if (!w) return;
        if (auto* dialog = dynamic_cast<wxDialog*>(w)) {
            // OK as its button would give it (checks and all), else as Escape would.
            wxWindow* ok = dialog->FindWindow(wxID_OK);
            if (code == wxID_OK && ok && ok->IsEnabled()) {
                wxCommandEvent press(wxEVT_BUTTON, wxID_OK);
                press.SetEventObject(ok);
                ok->GetEventHandler()->ProcessEvent(press);
            } else if (dialog->IsModal()) {
                dialog->EndModal(wxID_CANCEL);
            } else {
                dialog->Close();
            }
        } else if (auto* top = dynamic_cast<wxTopLevelWindow*>(w)) {
            top->Close();
        }
    }

    // On the window's thread: a menu pick, as the menu bar would send it.
    void PickMenu(int code) {
        if (!dialogs.empty()) return;  // the menu bar takes no picks under a modal dialog
        wxMenuBar* bar = frame->GetMenuBar();
        if (!bar) return;
        frame->UpdateWindowUI();
        for (size_t i = 0; i < bar->GetMenuCount(); ++i) bar->GetMenu(i)->UpdateUI();
        wxMenuItem* item = bar->FindItem(code);
        if (!item || !item->IsEnabled()) return;
        if (item->IsCheckable()) item->Check(!item->IsChecked());
        wxCommandEvent pick(wxEVT_MENU, code);
        pick.SetEventObject(frame);
        if (item->IsCheckable()) pick.SetInt(item->IsChecked());
        frame->GetEventHandler()->ProcessEvent(pick);
    }

    // A path in the scratch folder for a file chooser (or "" when it is cancelled). On the
    // window's thread.
    std::string AskPath(const std::string& what, const std::string& offered) {
        Action a{.kind = "ask", .target = what};
        // The log names files in the scratch folder from its top, so that a replay in another
        // scratch folder finds them.
        Action logged;
        if (TakeReplayed("ask", &logged)) {
            a.text = logged.text;
        } else if (replaying) {
        } else if (what == "open") {
            std::vector<std::string> found;
            for (const std::string& folder : {layouts, scratch + "/saved"})
                for (const auto& entry : fs::directory_iterator(folder))
                    if (entry.path().extension() == ".xml") found.push_back(entry.path().string());
            std::sort(found.begin(), found.end());
            if (!found.empty() && PickAnswer(10) != 0)
                a.text = found[PickAnswer(int(found.size()))].substr(scratch.size() + 1);
        } else if (PickAnswer(10) != 0) {
            const std::string extension =
                fs::path(offered).has_extension() ? fs::path(offered).extension().string() : ".xml";
            const std::string name = offered.empty() || PickAnswer(10) < 3
                                         ? "file-" + std::to_string(++files) + extension
                                         : offered;
            a.text =
                (what == "export" ? "exports/" : "saved/") + fs::path(name).filename().string();
        }
        Record(a);
        return a.text.empty() ? a.text : scratch + "/" + a.text;
    }

    void Record(Action& a) {
        a.time = NowSeconds();
        LogLine(Format(a));
        ++actionCount;
    }

    // The replay: answers and chosen paths are taken by the window's thread, the other actions
    // by the driver's, each when its time has come.
    bool TakeReplayed(const std::string& kind, Action* a) {
        std::lock_guard<std::mutex> lock(replayMutex);
        if (replay.empty() || replay.front().kind != kind) return false;
        *a = replay.front();
        replay.pop_front();
        return true;
    }
    size_t ReplayLeft() {
        std::lock_guard<std::mutex> lock(replayMutex);
        return replay.size();
    }
    bool NextReplayed(Action* a) {
        std::lock_guard<std::mutex> lock(replayMutex);
        Action& next = replay.front();
        if (next.kind == "answer" || next.kind == "ask") {
            // Its dialog has not come this time (the window takes it when it comes, in time).
            if (NowSeconds() < next.time + 2) return false;
            LogLine("# replay: skipped " + Format(next));
            replay.pop_front();
            return false;
        }
        if (NowSeconds() < next.time) return false;
        *a = next;
        replay.pop_front();
        return true;
    }

    void CollectMenuIds(wxMenuBar* bar) {
        if (!bar) return;
        std::function<void(wxMenu*)> walk = [&](wxMenu* menu) {
            for (wxMenuItem* item : menu->GetMenuItems()) {
                if (item->IsSubMenu())
                    walk(item->GetSubMenu());
                else if (!item->IsSeparator() && item->GetId() != wxID_EXIT)
                    menuIds.push_back(item->GetId());
            }
        };
        for (size_t i = 0; i < bar->GetMenuCount(); ++i) walk(bar->GetMenu(i));
        std::sort(menuIds.begin(), menuIds.end());
    }

    // The layouts saved since the last look open again with the pieces the window has.
    void CheckSavedLayouts() {
        for (const std::string& path : TakeWrittenPaths()) {
            const auto has = [&path](const char* part) { return path.find(part) != path.npos; };
            if (has("/library/") || has("/exports/") || has("/recovery")) continue;
            std::error_code error;
            if (!fs::is_regular_file(path, error)) continue;  // a temporary file, renamed since
            LayoutDocument loaded;
            std::string name;
            const std::string failed = LoadLayout(loaded, path, &name);
            if (!failed.empty()) {
                Fault("saved layout does not open again: " + path + ": " + failed);
                continue;
            }
            // The window still holds what it saved there (an action may also have opened another
            // layout since, or edited this one).
            const LayoutDocument& doc = frame->Document();
            std::multiset<std::string> want, got;
            for (const PlacedPiece& p : doc.pieces) want.insert(std::to_string(p.id) + p.article);
            for (const PlacedPiece& p : loaded.pieces) got.insert(std::to_string(p.id) + p.article);
            const bool same = frame->FilePath().utf8_string() == path && !frame->IsModified();
            if (want != got && same)
                Fault("saved layout " + path + " opens with " + std::to_string(got.size()) +
                      " pieces, the window has " + std::to_string(want.size()));
            LogLine("# saved " + path + ": " + std::to_string(got.size()) + " pieces");
        }
    }

    void CheckWrites() {
        const std::vector<std::string> outside = WritesOutside();
        for (size_t i = reportedOutside; i < outside.size(); ++i)
            Fault("file written outside the scratch folder: " + outside[i]);
        reportedOutside = outside.size();
    }

    // The end: the windows still open are closed, the innermost first, then the main window.
    void Finish() {
        ending = true;
        for (int round = 0; round < 200; ++round) {
            bool left = false;
            OnWindowThread([&] {
                CheckWrites();
                CheckSavedLayouts();
                if (!dialogs.empty()) {
                    left = true;
                    if (dialogs.back()->IsModal()) dialogs.back()->EndModal(wxID_CANCEL);
                    return;
                }
                for (wxWindow* w : wxTopLevelWindows)
                    if (w != frame && w->IsShown() && !w->IsBeingDeleted()) {
                        left = true;
                        w->Close(true);
                        return;
                    }
            });
            if (!left) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        OnWindowThread([&] {
            char summary[200];
            std::snprintf(summary, sizeof summary,
                          "# end: %ld actions in %.1f s, peak memory %ld kB, %d faults",
                          actionCount.load(), NowSeconds(), PeakMemoryKb(), faultCount.load());
            LogLine(summary);
            std::printf("random input: %s\n", summary + 2);
            std::fflush(stdout);
            Unregister();
            beat.Stop();
            windowQueue->Stop();
            frame->Destroy();
            wxTheApp->ExitMainLoop();
        });
    }

    std::mt19937 random;   // the driver thread's choices
    std::mt19937 answers;  // the window thread's answers to the toolkit's dialogs
    double seconds;
    std::string scratch;
    std::string layouts;
    bool replaying;
    std::mutex replayMutex;
    std::deque<Action> replay;
    MainFrame* frame = nullptr;
    std::thread actions;
    CallTimer beat{[] { lastBeatMs = NowMs(); }};
    std::vector<int> menuIds;
    std::vector<wxDialog*> dialogs;       // modal, innermost last (window thread only)
    std::map<uintptr_t, Budget> budgets;  // driver thread only
    size_t reportedOutside = 0;
    int files = 0;
    std::atomic<bool> ending{false};
};

// Ends the run when the window has not answered for kHangSeconds.
void Watchdog() {
    for (;;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        if (NowMs() - lastBeatMs.load() > kHangSeconds * 1000) Hang();
    }
}

class RandomInputApp : public wxApp {
public:
    bool OnInit() override {
        std::map<std::string, std::string> args = {{"--seconds", "60"}, {"--seed", "1"}};
        for (int i = 1; i + 1 < argc; i += 2)
            args[argv[i].utf8_string()] = argv[i + 1].utf8_string();
        const std::string logPath = args["--log"], replayPath = args["--replay"];
        const double seconds = std::atof(args["--seconds"].c_str());
        const uint32_t seed = uint32_t(std::strtoul(args["--seed"].c_str(), nullptr, 10));
        scratch = args["--scratch"];
        const std::string sampleLayouts = args["--layouts"];
        if (logPath.empty() || scratch.empty()) {
            std::fprintf(stderr,
                         "usage: %s --seconds N --seed S --log FILE --scratch DIR "
                         "[--layouts DIR] | --replay LOG --log FILE --scratch DIR\n",
                         argv[0].utf8_string().c_str());
            return false;
        }
        std::deque<Action> replay;
        if (!replayPath.empty()) {
            std::ifstream in(replayPath);
            std::string line;
            while (std::getline(in, line)) {
                Action a;
                if (!line.empty() && line[0] != '#' && Parse(line, &a)) replay.push_back(a);
            }
            if (replay.empty()) {
                std::fprintf(stderr, "no actions in %s\n", replayPath.c_str());
                return false;
            }
        }
        scratch = fs::absolute(scratch).lexically_normal().string();
        if (!scratch.empty() && scratch.back() == '/') scratch.pop_back();
        if (!fs::exists(scratch + "/.random-input")) {
            std::fprintf(stderr, "%s is not a scratch folder of this program\n", scratch.c_str());
            return false;
        }
        const std::string layouts = scratch + "/layouts";
        for (const char* folder : {"/layouts", "/saved", "/exports"})
            fs::create_directories(scratch + folder);
        if (!sampleLayouts.empty())
            for (const auto& entry : fs::directory_iterator(sampleLayouts))
                if (entry.path().extension() == ".xml")
                    fs::copy_file(entry.path(), layouts + "/" + entry.path().filename().string(),
                                  fs::copy_options::overwrite_existing);
        logFd = ::open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND, 0644);
        if (logFd < 0) return false;
        LogLine("# random input, seed " + std::to_string(seed) + ", " + std::to_string(seconds) +
                " s" + (replayPath.empty() ? "" : ", replaying " + replayPath));
        WatchWrites(scratch);
        TakeWrittenPaths();  // the copies above are not saves of the window

        wxSetAssertHandler(OnToolkitAssert);
        for (int sig : {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL}) signal(sig, OnCrash);
        SetAppName("quillmore");
        wxInitAllImageHandlers();

        started = Clock::now();
        lastBeatMs = 0;
        std::thread(Watchdog).detach();
        windowQueue = std::make_unique<WindowQueue>();
        driver = std::make_unique<Driver>(seed, seconds, scratch, layouts, std::move(replay));
        driver->Start();
        return true;
    }
    int OnRun() override {
        wxApp::OnRun();
        const int code = driver->Join();
        windowQueue.reset();
        return code;
    }
    // Logged errors would open a box nobody answers; they go to the log instead.
    bool OnExceptionInMainLoop() override { return false; }

private:
    std::string scratch;
    std::unique_ptr<Driver> driver;
};

}  // namespace

wxIMPLEMENT_APP_NO_MAIN(RandomInputApp);

int main(int argc, char** argv) {
    // Everything the toolkit keeps for the user lands in the scratch folder, too.
    for (int i = 1; i + 1 < argc; i += 2)
        if (std::string(argv[i]) == "--scratch") {
            const std::string home = fs::absolute(argv[i + 1]).lexically_normal().string();
            // A folder of an earlier run starts empty again; any other must be empty.
            std::error_code error;
            if (fs::exists(home + "/.random-input")) {
                for (const auto& entry : fs::directory_iterator(home)) fs::remove_all(entry.path());
            } else if (fs::exists(home) && !fs::is_empty(home, error)) {
                std::fprintf(stderr, "%s is not empty: give a new scratch folder\n", home.c_str());
                return 2;
            }
            for (const char* folder : {"/runtime", "/.config/gtk-3.0", "/.cache/mesa"})
                fs::create_directories(home + folder);
            std::ofstream(home + "/.random-input") << "scratch folder of a random-input run\n";
            // Printing looks only at files: no printer search over the session bus.
            std::ofstream(home + "/.config/gtk-3.0/settings.ini")
                << "[Settings]\ngtk-print-backends=file\n";
            // Mesa looks up the home folder in the password file, not in HOME.
            for (const auto& [name, value] : {std::pair{"HOME", home},
                                              {"TMPDIR", home},
                                              {"XDG_RUNTIME_DIR", home + "/runtime"},
                                              {"MESA_SHADER_CACHE_DIR", home + "/.cache/mesa"}})
                setenv(name, value.c_str(), 1);
            for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
                unsetenv(name);
        }
    g_log_set_writer_func(OnGlibMessage, nullptr, nullptr);
    setenv("LC_ALL", "C.UTF-8", 1);
    unsetenv("LANGUAGE");
    setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 1);
    setenv("NO_AT_BRIDGE", "1", 1);
    return wxEntry(argc, argv);
}
