// Random input through the real main window: clicks, double-clicks, right clicks, drags and wheel
// turns on the canvas, its rulers, the palette, the properties panel and the status bar; keys,
// shortcuts, menu picks and odd text; every window that opens gets a few actions and is closed.
// Mouse and keys go through the X server (XTEST), as a user's would.
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
#include <unistd.h>
#include <wx/app.h>
#include <wx/button.h>
#include <wx/filedlg.h>
#include <wx/dirdlg.h>
#include <wx/menu.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/printdlg.h>
#include <wx/statusbr.h>
#include <wx/textentry.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

#include <atomic>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <map>
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
    std::string kind;    // click dclick rclick drag wheel key text menu close answer ask
    std::string target;  // canvas rulers palette panel status dialog window frame
    int x = 0, y = 0, x2 = 0, y2 = 0;
    int code = 0;  // key code, menu id, dialog answer, mouse button
    int mods = 0;
    std::string text;  // typed text, window title, chosen path
};

std::string Hex(const std::string& text) {
    static const char* digits = "0123456789abcdef";
    std::string out = text.empty() ? "-" : "";
    for (unsigned char c : text) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}
std::string Unhex(const std::string& hex) {
    std::string out;
    if (hex == "-") return out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) out += char(std::stoi(hex.substr(i, 2), nullptr, 16));
    return out;
}

std::string Format(const Action& a) {
    char head[160];
    std::snprintf(head, sizeof head, "%.3f %s %s %d %d %d %d %d %d ", a.time, a.kind.c_str(),
                  a.target.c_str(), a.x, a.y, a.x2, a.y2, a.code, a.mods);
    return head + Hex(a.text);
}
bool Parse(const std::string& line, Action* a) {
    std::istringstream in(line);
    std::string text;
    if (!(in >> a->time >> a->kind >> a->target >> a->x >> a->y >> a->x2 >> a->y2 >> a->code >>
          a->mods >> text))
        return false;
    a->text = Unhex(text);
    return true;
}

// The log: one line per action and per finding, flushed at once so that a crash loses nothing.
int logFd = -1;
void LogLine(const std::string& line) {
    const std::string text = line + "\n";
    if (logFd >= 0 && write(logFd, text.data(), text.size()) < 0) return;
}

std::atomic<long> actionCount{0};
std::atomic<int64_t> lastBeatMs{0};
Clock::time_point started;
int64_t NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - started).count();
}
double NowSeconds() { return NowMs() / 1000.0; }

std::vector<std::string> faults;
void Fault(const std::string& what) {
    LogLine("# FAULT " + what);
    std::fprintf(stderr, "random input: FAULT %s\n", what.c_str());
    faults.push_back(what);
}

void OnCrash(int sig) {
    char text[128];
    const int n = std::snprintf(text, sizeof text, "# FAULT crash: signal %d after %ld actions\n",
                                sig, actionCount.load());
    if (logFd >= 0 && write(logFd, text, n) < 0) {
    }
    if (write(STDERR_FILENO, text, n) < 0) {
    }
    signal(sig, SIG_DFL);
    raise(sig);
}

void OnToolkitAssert(const wxString& file, int line, const wxString& func, const wxString& cond,
              const wxString& msg) {
    Fault("toolkit assertion at " + file.utf8_string() + ":" + std::to_string(line) + " in " +
          func.utf8_string() + ": " + cond.utf8_string() + " " + msg.utf8_string());
}

void OnGlibMessage(const gchar* domain, GLogLevelFlags level, const gchar* message,
                   gpointer data) {
    const std::string where = domain ? domain : "GLib";
    if (level & G_LOG_LEVEL_CRITICAL)
        Fault(where + "-CRITICAL " + (message ? message : ""));
    else
        LogLine("# " + where + "-WARNING " + (message ? message : ""));
    g_log_default_handler(domain, GLogLevelFlags(level & ~G_LOG_FLAG_FATAL), message, data);
}

long PeakMemoryKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
    return 0;
}

// Texts typed where the focus is.
const std::vector<std::string> kOddTexts = {
    "1e308", "-0", "<&>", "0", "-1", "1e-308", "NaN", "inf", "99999999999", "0.5", ",", "  ",
    "Gleisplan \xc3\xa4\xc3\xb6\xc3\xbc\xc3\x9f", "\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e",
    "\xf0\x9f\x9a\x82", "\"quoted\" 'x'", "../../escape", "a/b\\c", "%s%n", std::string(300, 'W'),
    "12,5", "1.5.5", "R1 & R2 <x>"};

// Key codes pressed on their own or with Ctrl, Shift or Alt.
const std::vector<int> kKeys = {WXK_DELETE, WXK_BACK,   WXK_ESCAPE, WXK_RETURN, WXK_TAB,
                                WXK_LEFT,   WXK_RIGHT,  WXK_UP,     WXK_DOWN,   WXK_HOME,
                                WXK_END,    WXK_PAGEUP, WXK_F1,     WXK_F2,     WXK_F5,
                                WXK_SPACE,  '+',        '-',        'a',        'c',
                                'e',        'f',        'g',        'l',        'm',
                                'n',        'o',        'r',        's',        't',
                                'v',        'x',        'y',        'z',        '1',
                                '3',        WXK_INSERT, WXK_F10};

// A timer that calls a function.
class CallTimer : public wxTimer {
public:
    explicit CallTimer(std::function<void()> call) : call(std::move(call)) {}
    void Notify() override { call(); }

private:
    std::function<void()> call;
};

class Driver : public wxModalDialogHook {
public:
    Driver(uint32_t seed, double seconds, const std::string& scratch, const std::string& layouts,
           std::deque<Action> replay)
        : random(seed),
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
        frame->SetOpenPathAsker([this](wxWindow*, const wxString&) {
            return wxString::FromUTF8(AskPath("open", ""));
        });
        frame->SetAboutShower([](const wxAboutDialogInfo&, wxWindow*) { LogLine("# about box"); });
        frame->Properties()->SetBrowserOpener([](const wxString& url) {
            LogLine("# browser " + url.utf8_string());
            return true;
        });
        SetPrintRunner([](wxWindow*, wxPrintDialogData&, wxPrintout&) {
            LogLine("# print job");
            return PrintOutcome::Cancelled;
        });
        // Only the run's end closes the main window.
        frame->Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent& event) {
            if (!ending && event.CanVeto()) {
                LogLine("# main window close vetoed");
                event.Veto();
                return;
            }
            event.Skip();
        });
        frame->Show();
        frame->Document().EnsureDefaultLevel();
        frame->AfterStartup();
        Register();
        CollectMenuIds(frame->GetMenuBar());
        for (int i = 0; i < kStepTimers; ++i) steps.push_back(std::make_unique<CallTimer>([this] { Step(); }));
        steps[0]->StartOnce(25);
        beat.Start(100);
    }

    int ExitCode() const { return faults.empty() ? 0 : 1; }

protected:
    // Modal dialogs: the toolkit's own (messages, files, printing) are answered here, as they
    // cannot be driven; the program's own show and get random actions from Step.
    int Enter(wxDialog* dialog) override {
        const std::string title = dialog->GetTitle().utf8_string();
        int answer = wxID_NONE;
        Action a;
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
            answer = codes[Pick(4)];
            if (dynamic_cast<wxMessageDialogBase*>(dialog))
                LogLine("# message: " + dynamic_cast<wxMessageDialogBase*>(dialog)
                                            ->GetMessage()
                                            .utf8_string());
        }
        if (answer != wxID_NONE) {
            a.kind = "answer";
            a.target = "dialog";
            a.code = answer;
            a.text = title;
            if (replaying) {
                Action logged;
                if (TakeReplayed("answer", &logged)) answer = logged.code;
                a.code = answer;
            }
            Record(a);
            return answer;
        }
        LogLine("# dialog opens: " + title);
        dialogs.push_back({dialog, 2 + Pick(6), 0});
        return wxID_NONE;
    }
    void Exit(wxDialog* dialog) override {
        for (auto it = dialogs.begin(); it != dialogs.end(); ++it)
            if (it->window == dialog) {
                LogLine("# dialog closed: " + dialog->GetTitle().utf8_string());
                dialogs.erase(it);
                break;
            }
    }

private:
    struct Open {
        wxWindow* window;
        int budget;  // actions before it is closed
        int done;
    };

    int Pick(int n) { return n <= 1 ? 0 : std::uniform_int_distribution<int>(0, n - 1)(random); }
    bool Chance(int percent) { return Pick(100) < percent; }

    // A path in the scratch folder for a file chooser (or "" when it is cancelled).
    std::string AskPath(const std::string& what, const std::string& offered) {
        Action a;
        a.kind = "ask";
        a.target = what;
        // The log names files in the scratch folder from its top, so that a replay in another
        // scratch folder finds them.
        if (replaying) {
            Action logged;
            if (TakeReplayed("ask", &logged)) a.text = logged.text;
        } else if (what == "open") {
            std::vector<std::string> found;
            for (const std::string& folder : {layouts, scratch + "/saved"})
                for (const auto& entry : fs::directory_iterator(folder))
                    if (entry.path().extension() == ".xml") found.push_back(entry.path().string());
            std::sort(found.begin(), found.end());
            if (!found.empty() && !Chance(10))
                a.text = found[Pick(int(found.size()))].substr(scratch.size() + 1);
        } else if (!Chance(10)) {
            const std::string name =
                offered.empty() || Chance(30) ? "file-" + std::to_string(++files) + ".xml" : offered;
            a.text = "saved/" + fs::path(name).filename().string();
        }
        Record(a);
        return a.text.empty() ? a.text : scratch + "/" + a.text;
    }

    void Record(Action& a) {
        a.time = NowSeconds();
        LogLine(Format(a));
        ++actionCount;
    }

    bool TakeReplayed(const std::string& kind, Action* a) {
        if (replay.empty() || replay.front().kind != kind) return false;
        *a = replay.front();
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

    // The other top-level windows that are shown (3D view, check window, trains, help, preview).
    wxWindow* OtherWindow() {
        for (wxWindow* w : wxTopLevelWindows)
            if (w != frame && w->IsShown() && !w->IsBeingDeleted() && !IsModal(w)) {
                if (!others.count(w)) {
                    LogLine("# window opens: " + w->GetLabel().utf8_string());
                    others[w] = {w, 3 + Pick(8), 0};
                }
                return w;
            }
        return nullptr;
    }
    bool IsModal(wxWindow* w) const {
        for (const Open& open : dialogs)
            if (open.window == w) return true;
        return false;
    }
    wxWindow* TopDialog() const {
        for (auto it = dialogs.rbegin(); it != dialogs.rend(); ++it)
            if (it->window->IsShown()) return it->window;
        return nullptr;
    }

    // The window an action's target names, or null when it is not there now.
    wxWindow* TargetWindow(const Action& a) {
        if (a.target == "canvas" || a.target == "rulers") return frame->Canvas();
        if (a.target == "palette") return frame->Palette();
        if (a.target == "panel") return frame->Properties();
        if (a.target == "status") return frame->GetStatusBar();
        if (a.target == "frame") return frame;
        if (a.target == "dialog") return TopDialog();
        if (a.target == "window") {
            for (wxWindow* w : wxTopLevelWindows)
                if (w != frame && w->IsShown() && !w->IsBeingDeleted() &&
                    w->GetLabel().utf8_string() == a.text)
                    return w;
        }
        return nullptr;
    }

    // A new random action on window w (named target).
    Action Invent(const std::string& target, wxWindow* w) {
        Action a;
        a.target = target;
        if (target == "window") a.text = w->GetLabel().utf8_string();
        const wxSize size = w->GetClientSize();
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
        } else if (roll < 80) {
            a.kind = "key";
            a.code = kKeys[Pick(int(kKeys.size()))];
        } else if (roll < 90) {
            a.kind = "text";
            a.text = kOddTexts[Pick(int(kOddTexts.size()))];
        } else {
            a.kind = "menu";
            a.target = "frame";
            a.code = menuIds.empty() ? wxID_NEW : menuIds[Pick(int(menuIds.size()))];
        }
        static const int modifiers[] = {wxMOD_NONE, wxMOD_NONE, wxMOD_NONE, wxMOD_CONTROL,
                                        wxMOD_SHIFT, wxMOD_ALT,  wxMOD_CONTROL | wxMOD_SHIFT};
        a.mods = modifiers[Pick(7)];
        // Ctrl+Q would end the run and Ctrl+P would print: both have their own tests.
        if (a.kind == "key" && (a.mods & wxMOD_CONTROL) && (a.code == 'q' || a.code == 'p'))
            a.mods = wxMOD_NONE;
        return a;
    }

    void Perform(const Action& a) {
        wxUIActionSimulator sim;
        wxWindow* w = TargetWindow(a);
        if (a.kind == "close") {
            if (!w) return;
            if (auto* dialog = dynamic_cast<wxDialog*>(w)) {
                // OK as its button would give it (checks and all), else as Escape would.
                wxWindow* ok = dialog->FindWindow(wxID_OK);
                if (a.code == wxID_OK && ok && ok->IsEnabled()) {
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
            return;
        }
        if (a.kind == "menu") {
            wxMenuBar* bar = frame->GetMenuBar();
            if (!bar) return;
            frame->UpdateWindowUI();
            for (size_t i = 0; i < bar->GetMenuCount(); ++i) bar->GetMenu(i)->UpdateUI();
            wxMenuItem* item = bar->FindItem(a.code);
            if (!item || !item->IsEnabled()) return;
            if (item->IsCheckable()) item->Check(!item->IsChecked());
            wxCommandEvent pick(wxEVT_MENU, a.code);
            pick.SetEventObject(frame);
            if (item->IsCheckable()) pick.SetInt(item->IsChecked());
            frame->GetEventHandler()->ProcessEvent(pick);
            return;
        }
        if (!w) return;
        const wxPoint at = w->ClientToScreen(wxPoint(a.x, a.y));
        if (a.kind == "click" || a.kind == "dclick" || a.kind == "rclick") {
            sim.MouseMove(at);
            Modifiers(sim, a.mods, true);
            if (a.kind == "dclick")
                sim.MouseDblClick();
            else
                sim.MouseClick(a.kind == "rclick" ? wxMOUSE_BTN_RIGHT : wxMOUSE_BTN_LEFT);
            Modifiers(sim, a.mods, false);
        } else if (a.kind == "drag") {
            const wxPoint to = w->ClientToScreen(wxPoint(a.x2, a.y2));
            sim.MouseMove(at);
            Modifiers(sim, a.mods, true);
            sim.MouseDown();
            for (int i = 1; i <= 6; ++i) sim.MouseMove(at + (to - at) * i / 6);
            sim.MouseUp();
            Modifiers(sim, a.mods, false);
        } else if (a.kind == "wheel") {
            // XTEST has no wheel in the toolkit's simulator: the event goes straight to the
            // window under the point, as the toolkit would deliver it.
            sim.MouseMove(at);
            wxWindow* under = wxFindWindowAtPoint(at);
            if (!under) under = w;
            wxMouseEvent turn(wxEVT_MOUSEWHEEL);
            turn.SetEventObject(under);
            turn.SetPosition(under->ScreenToClient(at));
            turn.m_wheelRotation = a.code;
            turn.m_wheelDelta = 120;
            turn.m_linesPerAction = 3;
            turn.m_controlDown = a.mods & wxMOD_CONTROL;
            turn.m_shiftDown = a.mods & wxMOD_SHIFT;
            under->GetEventHandler()->ProcessEvent(turn);
        } else if (a.kind == "key") {
            sim.MouseMove(at);
            sim.Char(a.code, a.mods);
        } else if (a.kind == "text") {
            wxWindow* focus = wxWindow::FindFocus();
            auto* entry = dynamic_cast<wxTextEntry*>(focus);
            bool ascii = true;
            for (unsigned char c : a.text) ascii &= c >= 32 && c < 127;
            if (entry && (!ascii || a.text.size() > 40)) {
                if (a.mods & wxMOD_SHIFT) entry->SelectAll();
                entry->WriteText(wxString::FromUTF8(a.text));
            } else if (ascii && a.text.size() <= 40) {
                if (!entry) sim.MouseMove(at);
                sim.Text(a.text.c_str());
            }
            if (a.mods & wxMOD_CONTROL) sim.Char(WXK_RETURN);
        }
    }

    static void Modifiers(wxUIActionSimulator& sim, int mods, bool down) {
        const int keys[][2] = {
            {wxMOD_CONTROL, WXK_CONTROL}, {wxMOD_SHIFT, WXK_SHIFT}, {wxMOD_ALT, WXK_ALT}};
        for (const auto& key : keys)
            if (mods & key[0]) {
                if (down)
                    sim.KeyDown(key[1]);
                else
                    sim.KeyUp(key[1]);
            }
    }

    // The layouts saved since the last step open again with the pieces the window has.
    void CheckSavedLayouts() {
        for (const std::string& path : TakeWrittenPaths()) {
            if (path.find("/library/") != std::string::npos) continue;
            if (path.find("/recovery") != std::string::npos) continue;
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
            for (const PlacedPiece& p : loaded.pieces)
                got.insert(std::to_string(p.id) + p.article);
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

    void Step() {
        if (finished) return;
        // An action may run a loop of its own (a dialog, a context menu, the simulator waiting
        // for its events): the toolkit does not call a timer again while its call runs, so each
        // step sets off the next one on the next timer, and the steps go on inside that loop.
        steps[++nextStep % kStepTimers]->StartOnce(25);
        if (depth >= kStepTimers - 2) return;
        ++depth;
        CheckWrites();
        CheckSavedLayouts();
        if (NowMs() - lastMemoryLogMs > 30000) {
            lastMemoryLogMs = NowMs();
            LogLine("# memory peak " + std::to_string(PeakMemoryKb()) + " kB after " +
                    std::to_string(actionCount.load()) + " actions");
        }
        const bool timeUp = replaying ? replay.empty() : NowSeconds() >= seconds;
        if (!faults.empty() || timeUp) ending = true;
        if (ending) {
            Finish();
        } else if (replaying) {
            StepReplay();
        } else {
            StepRandom();
        }
        --depth;
    }

    void StepRandom() {
        Action a;
        if (wxWindow* dialog = TopDialog()) {
            Open& open = dialogs.back();
            if (++open.done > open.budget) {
                a.kind = "close";
                a.target = "dialog";
                a.code = open.done > open.budget + 3 || Chance(40) ? wxID_CANCEL : wxID_OK;
                a.text = dialog->GetLabel().utf8_string();
            } else {
                a = Invent("dialog", dialog);
            }
        } else if (wxWindow* other = OtherWindow()) {
            Open& open = others[other];
            if (++open.done > open.budget) {
                a.kind = "close";
                a.target = "window";
                a.text = other->GetLabel().utf8_string();
            } else {
                a = Invent("window", other);
            }
        } else {
            static const char* targets[] = {"canvas", "canvas", "canvas", "canvas", "rulers",
                                            "palette", "palette", "panel",  "panel",  "status"};
            const std::string target = targets[Pick(10)];
            Action where;
            where.target = target;
            a = Invent(target, TargetWindow(where));
        }
        Record(a);
        Perform(a);
    }

    void StepReplay() {
        Action& next = replay.front();
        if (next.kind == "answer" || next.kind == "ask") {
            // Its dialog did not come this time: the rest may still run.
            LogLine("# replay: skipped " + Format(next));
            replay.pop_front();
            return;
        }
        if (NowSeconds() < next.time) return;
        Action a = next;
        replay.pop_front();
        Record(a);
        Perform(a);
    }

    void Finish() {
        // Windows still open are closed first, the main window last.
        if (wxWindow* dialog = TopDialog()) {
            if (auto* d = dynamic_cast<wxDialog*>(dialog)) d->EndModal(wxID_CANCEL);
            return;
        }
        for (wxWindow* w : wxTopLevelWindows)
            if (w != frame && w->IsShown() && !w->IsBeingDeleted()) {
                w->Close(true);
                return;
            }
        if (depth > 1) return;  // the steps outside this one end first
        finished = true;
        for (auto& step : steps) step->Stop();
        CheckWrites();
        const long peak = PeakMemoryKb();
        char summary[200];
        std::snprintf(summary, sizeof summary, "# end: %ld actions in %.1f s, peak memory %ld kB, %zu faults",
                      actionCount.load(), NowSeconds(), peak, faults.size());
        LogLine(summary);
        std::printf("random input: %s\n", summary + 2);
        Unregister();
        frame->Destroy();
        wxTheApp->ExitMainLoop();
    }

    std::mt19937 random;
    double seconds;
    std::string scratch;
    std::string layouts;
    bool replaying;
    std::deque<Action> replay;
    MainFrame* frame = nullptr;
    static constexpr int kStepTimers = 8;
    std::vector<std::unique_ptr<CallTimer>> steps;
    int nextStep = 0;
    int depth = 0;  // steps running inside one another
    CallTimer beat{[] { lastBeatMs = NowMs(); }};
    std::vector<int> menuIds;
    std::vector<Open> dialogs;
    std::map<wxWindow*, Open> others;
    size_t reportedOutside = 0;
    int files = 0;
    int64_t lastMemoryLogMs = 0;
    bool ending = false;
    bool finished = false;
};

// Ends the run when the window has not answered for kHangSeconds.
void Watchdog() {
    for (;;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        if (NowMs() - lastBeatMs.load() > kHangSeconds * 1000) {
            char text[128];
            const int n = std::snprintf(text, sizeof text,
                                        "# FAULT hang: no answer for %d s after %ld actions\n",
                                        kHangSeconds, actionCount.load());
            if (logFd >= 0 && write(logFd, text, n) < 0) {
            }
            if (write(STDERR_FILENO, text, n) < 0) {
            }
            _exit(kHangExit);
        }
    }
}

class RandomInputApp : public wxApp {
public:
    bool OnInit() override {
        std::string logPath, replayPath;
        double seconds = 60;
        uint32_t seed = 1;
        for (int i = 1; i + 1 < argc; i += 2) {
            const std::string key = argv[i].utf8_string(), value = argv[i + 1].utf8_string();
            if (key == "--seconds") seconds = std::atof(value.c_str());
            if (key == "--seed") seed = uint32_t(std::strtoul(value.c_str(), nullptr, 10));
            if (key == "--log") logPath = value;
            if (key == "--replay") replayPath = value;
            if (key == "--scratch") scratch = value;
            if (key == "--layouts") sampleLayouts = value;
        }
        if (logPath.empty() || scratch.empty()) {
            std::fprintf(stderr, "usage: %s --seconds N --seed S --log FILE --scratch DIR "
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
        fs::create_directories(layouts);
        fs::create_directories(scratch + "/saved");
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
        for (const char* domain : {"Gtk", "Gdk", "GLib", "GLib-GObject", "GLib-GIO", "Pango",
                                   "GdkPixbuf", "Atk", "cairo"})
            g_log_set_handler(domain,
                              GLogLevelFlags(G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING |
                                             G_LOG_FLAG_FATAL | G_LOG_FLAG_RECURSION),
                              OnGlibMessage, nullptr);
        for (int sig : {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL}) signal(sig, OnCrash);
        SetAppName("quillmore");
        wxInitAllImageHandlers();

        started = Clock::now();
        lastBeatMs = 0;
        std::thread(Watchdog).detach();
        driver = std::make_unique<Driver>(seed, seconds, scratch, layouts, std::move(replay));
        driver->Start();
        return true;
    }
    int OnRun() override {
        wxApp::OnRun();
        return driver->ExitCode();
    }
    // Logged errors would open a box nobody answers; they go to the log instead.
    bool OnExceptionInMainLoop() override { return false; }

private:
    std::string scratch;
    std::string sampleLayouts;
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
            fs::create_directories(home + "/runtime");
            std::ofstream(home + "/.random-input") << "scratch folder of a random-input run\n";
            fs::create_directories(home + "/.config/gtk-3.0");
            // Printing looks only at files: no printer search over the session bus.
            std::ofstream(home + "/.config/gtk-3.0/settings.ini")
                << "[Settings]\ngtk-print-backends=file\n";
            setenv("HOME", home.c_str(), 1);
            setenv("TMPDIR", home.c_str(), 1);
            setenv("XDG_RUNTIME_DIR", (home + "/runtime").c_str(), 1);
            unsetenv("XDG_CONFIG_HOME");
            unsetenv("XDG_DATA_HOME");
            unsetenv("XDG_CACHE_HOME");
            // Mesa looks up the home folder in the password file, not in HOME.
            setenv("MESA_SHADER_CACHE_DIR", (home + "/.cache/mesa").c_str(), 1);
        }
    setenv("LC_ALL", "C.UTF-8", 1);
    unsetenv("LANGUAGE");
    setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 1);
    setenv("NO_AT_BRIDGE", "1", 1);
    return wxEntry(argc, argv);
}
