// The main window driven by its commands: construction, title, unsaved changes, files, edits.
#include <gtest/gtest.h>
#include <wx/menu.h>
#include <wx/splitter.h>
#include <wx/textdlg.h>
#include <wx/toolbar.h>

#include <filesystem>
#include <fstream>

#include "app/AppLog.h"
#include "app/CommandIds.h"
#include "app/MainFrame.h"
#include "app/OpenLayoutDialog.h"
#include "canvas/CanvasPanel.h"
#include "panels/PalettePanel.h"
#include "panels/PropertiesPanel.h"
#include "tests/app/AppTestHome.h"

namespace {

const wxString kBase = "Quillmore v1.3 by Bramblewick";

void Command(MainFrame* frame, int id, bool checked = false) {
    wxCommandEvent event(wxEVT_MENU, id);
    event.SetEventObject(frame);
    event.SetInt(checked ? 1 : 0);
    frame->GetEventHandler()->ProcessEvent(event);
}

bool Enabled(MainFrame* frame, int id) {
    wxUpdateUIEvent event(id);
    event.SetEventObject(frame);
    frame->GetEventHandler()->ProcessEvent(event);
    return !event.GetSetEnabled() || event.GetEnabled();
}

PlacedPiece Straight() {
    PlacedPiece p;
    p.article = "24188";
    p.joints.resize(2);
    return p;
}

// Answers each kind of dialog the file commands open.
struct Answers {
    int message = wxID_YES;          // message boxes
    int textEntry = wxID_OK;         // the layout name
    wxString name;                   // typed into the name dialog when not empty
    wxString openName;               // row picked in the Open Layout dialog
    wxString savePath;               // path chosen in the file dialog; empty cancels it

    Answers& Message(int code) { message = code; return *this; }
    Answers& TextEntry(int code) { textEntry = code; return *this; }
    Answers& Name(const wxString& text) { name = text; return *this; }
    Answers& OpenName(const wxString& text) { openName = text; return *this; }
    Answers& SavePath(const wxString& path) { savePath = path; return *this; }
};

class MainFrameTest : public testing::Test {
protected:
    void SetUp() override {
        UseTestHome();
        frame = new MainFrame();
        frame->SetProgramFolder(folder.Path());
        frame->Document().EnsureDefaultLevel();
    }
    void TearDown() override {
        if (frame) frame->Destroy();
        PumpEvents();
    }

    std::unique_ptr<ModalAnswerer> Answer(const Answers& a) {
        offered.clear();
        frame->SetSavePathAsker([this, a](wxWindow*, const wxString& dir, const wxString& file) {
            offered = dir + "|" + file;
            return a.savePath;
        });
        return std::make_unique<ModalAnswerer>([a](wxDialog* dialog) -> int {
            if (auto* entry = dynamic_cast<wxTextEntryDialog*>(dialog)) {
                if (!a.name.empty()) entry->SetValue(a.name);
                return a.textEntry;
            }
            if (auto* open = dynamic_cast<OpenLayoutDialog*>(dialog)) {
                return open->SelectName(a.openName) ? wxID_OK : wxID_CANCEL;
            }
            return a.message;
        });
    }

    std::string FileIn(const std::string& name) const { return folder.File(name); }

    void AddPieces(int n) {
        for (int i = 0; i < n; ++i) frame->Document().AddPiece(Straight());
        frame->MarkModified();
    }

    TempDir folder;
    MainFrame* frame = nullptr;
    wxString offered;  // folder and file name the save dialog was given
};

TEST(MainFrameConstruction, WritesTheTraceLinesInOrder) {
    UseTestHome();
    const std::string tracePath = (LogDirectory() + "/mainframe.log").ToStdString();
    TraceLog("before");  // the first trace of a run empties the file
    const size_t start = ReadFileBytes(tracePath).size();
    auto* frame = new MainFrame();
    const std::string lines = ReadFileBytes(tracePath).substr(start);
    EXPECT_EQ(lines,
              "A: wxFrame base constructed\r\n"
              "B: MenuBar done\r\n"
              "C: ToolBar done\r\n"
              "BuildPanels: start\r\n"
              "BuildPanels: root panel created\r\n"
              "BuildPanels: palette created\r\n"
              "BuildPanels: splitter created\r\n"
              "BuildPanels: canvas created\r\n"
              "BuildPanels: properties created\r\n"
              "BuildPanels: split done\r\n"
              "BuildPanels: adding to sizer\r\n"
              "BuildPanels: outerSplit added\r\n"
              "BuildPanels: sizer set\r\n"
              "BuildPanels: layout done\r\n"
              "BuildPanels: palette populated\r\n"
              "D: Panels done\r\n"
              "E: StatusBar done\r\n"
              "F: MainFrame constructor complete\r\n");
    frame->Destroy();
    PumpEvents();
}

TEST_F(MainFrameTest, StartsWithItsStatusFieldsAndBareTitle) {
    EXPECT_EQ(frame->GetTitle(), kBase);
    EXPECT_EQ(frame->GetStatusBar()->GetFieldsCount(), 3);
    EXPECT_EQ(frame->GetStatusBar()->GetStatusText(0), "Ready");
    EXPECT_EQ(frame->GetStatusBar()->GetStatusText(1), "Pieces: 0");
    EXPECT_EQ(frame->GetStatusBar()->GetStatusText(2), "x: 0  y: 0 mm");
}

struct MenuEntry {
    int id;
    const char* label;
};

TEST_F(MainFrameTest, MenuItemsCarryTheirLabelsAndAccelerators) {
    const MenuEntry entries[] = {
        {wxID_NEW, "&New Layout\tCtrl+N"},     {wxID_OPEN, "&Open Layout...\tCtrl+O"},
        {wxID_SAVE, "&Save\tCtrl+S"},          {wxID_SAVEAS, "Save &As...\tCtrl+Shift+S"},
        {wxID_CLOSE, "&Close Layout\tCtrl+W"}, {wxID_PAGE_SETUP, "Page Set&up..."},
        {wxID_PREVIEW, "Print Pre&view..."},   {wxID_PRINT, "&Print...\tCtrl+P"},
        {2001, "Save as &Library Block..."},   {wxID_EXIT, "E&xit"},
        {2002, "&Undo\tCtrl+Z"},               {2003, "&Redo\tCtrl+Y"},
        {2004, "&Delete\tDel"},                {2005, "Select &All\tCtrl+A"},
        {2006, "Zoom &In\t+"},                 {2007, "Zoom &Out\t-"},
        {2008, "Zoom to &Fit\tCtrl+0"},        {2009, "Show &Grid\tCtrl+G"},
        {2010, "&Snap\tCtrl+Shift+G"},         {2015, "Millimetres (mm)"},
        {2016, "Centimetres (cm)"},            {2017, "Inches (in)"},
        {2014, "Layout &Shape..."},            {2021, "&Help\tF1"},
    };
    wxMenuBar* bar = frame->GetMenuBar();
    for (const MenuEntry& e : entries) {
        wxMenuItem* item = bar->FindItem(e.id);
        ASSERT_NE(item, nullptr) << e.id;
        // The toolkit writes accelerators its own way; compare the parsed key too.
        EXPECT_EQ(item->GetItemLabelText(), wxMenuItem::GetLabelText(e.label)) << e.id;
        const wxString accel = wxString(e.label).AfterFirst('\t');
        if (!accel.empty()) {
            wxAcceleratorEntry expected;
            ASSERT_TRUE(expected.FromString(accel)) << accel;
            std::unique_ptr<wxAcceleratorEntry> actual(item->GetAccel());
            ASSERT_TRUE(actual) << e.id;
            EXPECT_EQ(actual->GetKeyCode(), expected.GetKeyCode()) << e.id;
            EXPECT_EQ(actual->GetFlags(), expected.GetFlags()) << e.id;
        }
    }
    EXPECT_TRUE(bar->IsChecked(2009));
    EXPECT_TRUE(bar->IsChecked(2010));
    EXPECT_TRUE(bar->IsChecked(2015));
    EXPECT_EQ(bar->GetMenuLabel(0), "&File");
    EXPECT_EQ(bar->GetMenuLabel(3), "&Layout");
}

TEST_F(MainFrameTest, ToolbarHasTextToolsInOrder) {
    wxToolBar* bar = frame->GetToolBar();
    const struct {
        int id;
        const char* label;
        wxItemKind kind;
        const char* tip;
    } tools[] = {
        {2002, "Undo", wxITEM_NORMAL, ""},
        {2003, "Redo", wxITEM_NORMAL, ""},
        {2018, "Levels", wxITEM_NORMAL, "Manage layout levels (decks): height, color, and shape"},
        {2000, "3D View", wxITEM_NORMAL, ""},
        {2008, "Fit", wxITEM_NORMAL, ""},
        {2011, "Hide Labels", wxITEM_CHECK, "Toggle track labels and join dots"},
        {2012, "Tunnel", wxITEM_NORMAL,
         "Place tunnel portals on the selected chain (or remove if already in a tunnel)"},
        {2013, "Measure", wxITEM_CHECK,
         "Measuring tape: click two points on the canvas to lay down a length annotation"},
    };
    int lastPos = -1;
    for (const auto& t : tools) {
        wxToolBarToolBase* tool = bar->FindById(t.id);
        ASSERT_NE(tool, nullptr) << t.id;
        EXPECT_EQ(tool->GetLabel(), t.label);
        EXPECT_EQ(tool->GetKind(), t.kind) << t.id;
        EXPECT_EQ(tool->GetShortHelp(), t.tip) << t.id;
        EXPECT_GT(bar->GetToolPos(t.id), lastPos) << t.id;
        lastPos = bar->GetToolPos(t.id);
    }
    EXPECT_FALSE(bar->GetToolEnabled(2012));
    EXPECT_TRUE(bar->HasFlag(wxTB_TEXT));
    EXPECT_TRUE(bar->HasFlag(wxTB_NOICONS));
}

TEST_F(MainFrameTest, SplittersHoldPaletteCanvasAndProperties) {
    frame->Show();
    PumpEvents(100);
    auto* outer = dynamic_cast<wxSplitterWindow*>(frame->Palette()->GetParent());
    ASSERT_NE(outer, nullptr);
    EXPECT_EQ(outer->GetName(), "splitter");
    EXPECT_EQ(outer->GetSashPosition(), 235);
    EXPECT_EQ(outer->GetMinimumPaneSize(), 150);
    auto* inner = dynamic_cast<wxSplitterWindow*>(outer->GetWindow2());
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(inner->GetWindow1(), static_cast<wxWindow*>(frame->Canvas()));
    EXPECT_EQ(inner->GetWindow2(), static_cast<wxWindow*>(frame->Properties()));
    EXPECT_EQ(inner->GetMinimumPaneSize(), 200);
    // The properties panel keeps 280 pixels at the right (less the sash itself).
    const int right = inner->GetClientSize().x - inner->GetSashPosition();
    EXPECT_GE(right, 280);
    EXPECT_LE(right, 280 + inner->GetSashSize());
}

TEST_F(MainFrameTest, TitleCarriesTheModifiedMark) {
    AddPieces(1);
    EXPECT_EQ(frame->GetTitle(), kBase + " *");
    EXPECT_EQ(frame->GetStatusBar()->GetStatusText(1), "Pieces: 1");
    auto hook = Answer(Answers().Name("Test"));
    ASSERT_TRUE(frame->SaveLayoutFile(false));
    EXPECT_EQ(frame->GetTitle(), kBase + " - Test");
    AddPieces(1);
    EXPECT_EQ(frame->GetTitle(), kBase + " - Test *");
}

TEST_F(MainFrameTest, FirstSaveOffersMyLayoutAndWritesWithoutFileDialog) {
    AddPieces(2);
    auto hook = Answer(Answers());
    ASSERT_TRUE(frame->SaveLayoutFile(false));
    ASSERT_EQ(hook->Count(), 1);
    EXPECT_EQ(hook->Dialogs()[0].title, "Save Layout");
    EXPECT_EQ(hook->Dialogs()[0].message, "My Layout");  // the offered default
    EXPECT_TRUE(std::filesystem::exists(FileIn("My Layout.xml")));
    EXPECT_EQ(frame->FilePath(), FileIn("My Layout.xml"));
    EXPECT_FALSE(frame->IsModified());

    // A later save writes to the same file without asking.
    AddPieces(1);
    ASSERT_TRUE(frame->SaveLayoutFile(false));
    EXPECT_EQ(hook->Count(), 1);
    EXPECT_NE(ReadFileBytes(FileIn("My Layout.xml")).find("24188"), std::string::npos);
}

TEST_F(MainFrameTest, EmptyNameBecomesMyLayout) {
    AddPieces(1);
    auto hook = Answer(Answers().Name("   "));
    ASSERT_TRUE(frame->SaveLayoutFile(false));
    EXPECT_EQ(frame->LayoutName(), "My Layout");
    EXPECT_TRUE(std::filesystem::exists(FileIn("My Layout.xml")));
}

TEST_F(MainFrameTest, FirstSaveAsksBeforeReplacingAFileOfThatName) {
    std::ofstream(FileIn("Yard.xml")) << "precious";
    AddPieces(1);
    {
        auto hook = Answer(Answers().Message(wxID_NO).Name("Yard"));
        EXPECT_FALSE(frame->SaveLayoutFile(false));
        ASSERT_EQ(hook->Count(), 2);
        EXPECT_EQ(hook->Dialogs()[1].title, "Save Layout");
        EXPECT_NE(hook->Dialogs()[1].message.Find("replace"), wxNOT_FOUND);
        EXPECT_EQ(ReadFileBytes(FileIn("Yard.xml")), "precious");
        EXPECT_TRUE(frame->IsModified());
        EXPECT_TRUE(frame->FilePath().empty());
    }
    auto hook = Answer(Answers().Message(wxID_YES));
    EXPECT_TRUE(frame->SaveLayoutFile(false));  // the name is known now: no name dialog
    EXPECT_EQ(hook->Count(), 1);
    EXPECT_NE(ReadFileBytes(FileIn("Yard.xml")).find("<layout"), std::string::npos);
}

TEST_F(MainFrameTest, NameThatLeavesTheFolderIsRefusedBeforeWriting) {
    AddPieces(1);
    for (const char* bad : {"../escape", "sub/dir", ".."}) {
        auto hook = Answer(Answers().Message(wxID_OK).Name(bad));
        EXPECT_FALSE(frame->SaveLayoutFile(false)) << bad;
        ASSERT_EQ(hook->Count(), 2) << bad;
        EXPECT_EQ(hook->Dialogs()[1].title, "Save Layout");
        EXPECT_TRUE(frame->FilePath().empty());
        EXPECT_TRUE(frame->LayoutName().empty());
        EXPECT_TRUE(frame->IsModified());
    }
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(folder.Path()).parent_path() /
                                         "escape.xml"));
}

TEST_F(MainFrameTest, SaveFailureIsReportedAndKeepsTheMark) {
    AddPieces(1);
    frame->SetProgramFolder(folder.File("missing-folder"));
    auto hook = Answer(Answers().Message(wxID_OK).Name("Yard"));
    EXPECT_FALSE(frame->SaveLayoutFile(false));
    ASSERT_EQ(hook->Count(), 2);
    EXPECT_EQ(hook->Dialogs()[1].title, "Save Failed");
    EXPECT_TRUE(hook->Dialogs()[1].message.StartsWith("Cannot "));
    EXPECT_TRUE(frame->IsModified());
    EXPECT_TRUE(frame->GetTitle().EndsWith(" *"));
}

TEST_F(MainFrameTest, SaveAsChoosesTheFileInTheDialog) {
    AddPieces(1);
    auto hook = Answer(Answers().Name("Ignored").SavePath(FileIn("Branch.xml")));
    ASSERT_TRUE(frame->SaveLayoutFile(true));
    EXPECT_EQ(offered, wxString(folder.Path()) + "|Ignored.xml");
    EXPECT_EQ(frame->FilePath(), FileIn("Branch.xml"));
    EXPECT_EQ(frame->LayoutName(), "Branch");
    EXPECT_TRUE(std::filesystem::exists(FileIn("Branch.xml")));
    EXPECT_FALSE(std::filesystem::exists(FileIn("Ignored.xml")));
    EXPECT_EQ(frame->GetTitle(), kBase + " - Branch");
}

TEST_F(MainFrameTest, SaveAsAddsTheLayoutExtension) {
    AddPieces(1);
    auto hook = Answer(Answers().Name("x").SavePath(FileIn("Plain")));
    ASSERT_TRUE(frame->SaveLayoutFile(true));
    EXPECT_EQ(frame->FilePath(), FileIn("Plain.xml"));
    EXPECT_TRUE(std::filesystem::exists(FileIn("Plain.xml")));
}

TEST_F(MainFrameTest, SaveAsCancelledChangesNothing) {
    AddPieces(1);
    auto hook = Answer(Answers().Name("Yard"));
    EXPECT_FALSE(frame->SaveLayoutFile(true));
    EXPECT_EQ(offered, wxString(folder.Path()) + "|Yard.xml");
    EXPECT_TRUE(frame->FilePath().empty());
    EXPECT_TRUE(frame->IsModified());
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
}

TEST_F(MainFrameTest, SaveAndOpenRoundTripThroughTheDialogs) {
    AddPieces(3);
    frame->Document().units = 2;
    {
        auto hook = Answer(Answers().Name("Yard"));
        Command(frame, wxID_SAVE);
        EXPECT_EQ(hook->Count(), 1);
    }
    Command(frame, wxID_NEW);  // saved: no question
    EXPECT_TRUE(frame->Document().pieces.empty());
    frame->Document().units = 0;
    {
        auto hook = Answer(Answers().OpenName("Yard"));
        Command(frame, wxID_OPEN);
        ASSERT_EQ(hook->Count(), 1);
        EXPECT_EQ(hook->Dialogs()[0].title, "Open Layout");
    }
    EXPECT_EQ(frame->Document().pieces.size(), 3u);
    EXPECT_EQ(frame->LayoutName(), "Yard");
    EXPECT_EQ(frame->FilePath(), FileIn("Yard.xml"));
    EXPECT_EQ(frame->GetTitle(), kBase + " - Yard");
    EXPECT_EQ(frame->Document().units, 2);
    EXPECT_TRUE(frame->GetMenuBar()->IsChecked(2017));
    EXPECT_EQ(frame->GetStatusBar()->GetStatusText(0), "Ready");
    EXPECT_EQ(frame->GetStatusBar()->GetStatusText(1), "Pieces: 3");
}

TEST_F(MainFrameTest, OpenListsLayoutsSortedAndCancelKeepsTheDocument) {
    for (const char* f : {"b.xml", "B.xml", "a.xml", "notes.txt"}) std::ofstream(FileIn(f)) << "";
    AddPieces(1);
    std::vector<wxString> rows;
    ModalAnswerer hook([&](wxDialog* dialog) -> int {
        if (auto* open = dynamic_cast<OpenLayoutDialog*>(dialog)) {
            for (const char* n : {"B", "a", "b", "notes"})
                if (open->SelectName(n)) rows.push_back(n);
            return wxID_CANCEL;
        }
        return wxID_NO;  // do not save
    });
    Command(frame, wxID_OPEN);
    EXPECT_EQ(rows, (std::vector<wxString>{"B", "a", "b"}));
    EXPECT_EQ(frame->Document().pieces.size(), 1u);
}

TEST_F(MainFrameTest, OpenWithoutLayoutsSaysSo) {
    auto hook = Answer(Answers().Message(wxID_OK));
    Command(frame, wxID_OPEN);
    ASSERT_EQ(hook->Count(), 1);
    EXPECT_EQ(hook->Dialogs()[0].title, "Open Layout");
    EXPECT_EQ(hook->Dialogs()[0].message, "No layouts found in\n" + wxString(folder.Path()));
}

TEST_F(MainFrameTest, OpenFailureIsReported) {
    std::ofstream(FileIn("Broken.xml")) << "<layout name=\"x\">\n  <pieces>\n    <piece id=\"zz\"/>\n";
    auto hook = Answer(Answers().Message(wxID_OK).OpenName("Broken"));
    Command(frame, wxID_OPEN);
    ASSERT_EQ(hook->Count(), 2);
    EXPECT_EQ(hook->Dialogs()[1].title, "Open Failed");
    EXPECT_TRUE(frame->FilePath().empty());
    EXPECT_EQ(frame->GetTitle(), kBase);
}

class UnsavedChangesTest : public MainFrameTest {};

TEST_F(UnsavedChangesTest, CancelKeepsTheLayout) {
    AddPieces(2);
    auto hook = Answer(Answers().Message(wxID_CANCEL));
    Command(frame, wxID_NEW);
    ASSERT_EQ(hook->Count(), 1);
    EXPECT_EQ(hook->Dialogs()[0].title, "Unsaved Changes");
    EXPECT_EQ(hook->Dialogs()[0].message, "You have unsaved changes. Save before continuing?");
    EXPECT_EQ(frame->Document().pieces.size(), 2u);
    EXPECT_TRUE(frame->IsModified());
}

TEST_F(UnsavedChangesTest, NoDiscards) {
    AddPieces(2);
    auto hook = Answer(Answers().Message(wxID_NO));
    Command(frame, wxID_CLOSE);
    EXPECT_TRUE(frame->Document().pieces.empty());
    EXPECT_FALSE(frame->IsModified());
    EXPECT_EQ(frame->GetTitle(), kBase);
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
}

TEST_F(UnsavedChangesTest, YesSavesFirst) {
    AddPieces(2);
    auto hook = Answer(Answers().Message(wxID_YES).Name("Kept"));
    Command(frame, wxID_NEW);
    EXPECT_TRUE(frame->Document().pieces.empty());
    EXPECT_NE(ReadFileBytes(FileIn("Kept.xml")).find("24188"), std::string::npos);
}

TEST_F(UnsavedChangesTest, YesThenCancelledNameKeepsEverything) {
    AddPieces(2);
    auto hook = Answer(Answers().Message(wxID_YES).TextEntry(wxID_CANCEL));
    Command(frame, wxID_NEW);
    EXPECT_EQ(hook->Count(), 2);
    EXPECT_EQ(frame->Document().pieces.size(), 2u);
    EXPECT_TRUE(frame->IsModified());
}

TEST_F(UnsavedChangesTest, CloseBoxVetoedOnCancel) {
    AddPieces(1);
    {
        auto hook = Answer(Answers().Message(wxID_CANCEL));
        EXPECT_FALSE(frame->Close(false));
    }
    {
        auto hook = Answer(Answers().Message(wxID_YES).TextEntry(wxID_CANCEL));
        EXPECT_FALSE(frame->Close(false));
    }
    EXPECT_FALSE(wxTheApp->IsScheduledForDestruction(frame));
    auto hook = Answer(Answers().Message(wxID_NO));
    Command(frame, wxID_EXIT);
    EXPECT_TRUE(wxTheApp->IsScheduledForDestruction(frame));
    frame = nullptr;
    PumpEvents();
}

TEST_F(MainFrameTest, NewClearsAndCanBeUndone) {
    AddPieces(2);
    auto hook = Answer(Answers().Name("Old"));
    ASSERT_TRUE(frame->SaveLayoutFile(false));
    Level upper;
    upper.id = 2;
    frame->Document().levels.push_back(upper);
    frame->Document().activeLevel = 2;

    Command(frame, wxID_NEW);
    const LayoutDocument& doc = frame->Document();
    EXPECT_TRUE(doc.pieces.empty());
    ASSERT_EQ(doc.levels.size(), 1u);
    EXPECT_EQ(doc.levels[0].name, "Level 1");
    EXPECT_EQ(doc.activeLevel, 1u);
    EXPECT_TRUE(frame->FilePath().empty());
    EXPECT_TRUE(frame->LayoutName().empty());
    EXPECT_EQ(frame->GetTitle(), kBase);
    EXPECT_EQ(frame->GetStatusBar()->GetStatusText(1), "Pieces: 0");

    Command(frame, kCmdUndo);
    EXPECT_EQ(doc.pieces.size(), 2u);
    EXPECT_EQ(frame->GetTitle(), kBase + " *");
    // The restored pieces keep ids 1 and 2; the next piece must not reuse either.
    const uint32_t id = frame->Document().AddPiece(Straight());
    EXPECT_GT(id, 2u);

    // After New the first save asks for a name again.
    Command(frame, kCmdRedo);
    auto second = Answer(Answers().Message(wxID_NO));
    Command(frame, wxID_NEW);
    AddPieces(1);
    ASSERT_TRUE(frame->SaveLayoutFile(false));
    EXPECT_EQ(second->Dialogs().back().message, "My Layout");
}

TEST_F(MainFrameTest, UndoRedoAndDeleteFollowTheDocument) {
    EXPECT_FALSE(Enabled(frame, kCmdUndo));
    EXPECT_FALSE(Enabled(frame, kCmdRedo));
    EXPECT_FALSE(Enabled(frame, kCmdDelete));
    AddPieces(2);
    EXPECT_TRUE(Enabled(frame, kCmdUndo));
    EXPECT_FALSE(Enabled(frame, kCmdDelete));
    frame->Document().pieces[1].selected = true;
    EXPECT_TRUE(Enabled(frame, kCmdDelete));
    Command(frame, kCmdUndo);
    EXPECT_EQ(frame->Document().pieces.size(), 1u);
    EXPECT_TRUE(Enabled(frame, kCmdRedo));
    Command(frame, kCmdRedo);
    EXPECT_EQ(frame->Document().pieces.size(), 2u);
    EXPECT_FALSE(Enabled(frame, kCmdRedo));
}

TEST_F(MainFrameTest, LaterCommandsStayDisabled) {
    for (int id : {5012, 5013, 5010, 2014, 2018, 2000, 2021})
        EXPECT_FALSE(Enabled(frame, id)) << id;
    for (int id : {5002, 5000, 5003, 5004, 2005, 2006, 2009})
        EXPECT_TRUE(Enabled(frame, id)) << id;
}

TEST_F(MainFrameTest, DeleteAsksAboutGradedPieces) {
    AddPieces(3);
    LayoutDocument& doc = frame->Document();
    doc.pieces[0].selected = true;
    doc.pieces[1].selected = true;
    doc.pieces[1].grade = 2.0;
    {
        auto hook = Answer(Answers().Message(wxID_NO));
        Command(frame, kCmdDelete);
        ASSERT_EQ(hook->Count(), 1);
        EXPECT_EQ(hook->Dialogs()[0].title, "Delete");
        EXPECT_EQ(hook->Dialogs()[0].message, "Selection includes graded pieces. Delete?");
        EXPECT_EQ(doc.pieces.size(), 3u);
    }
    auto hook = Answer(Answers().Message(wxID_YES));
    Command(frame, kCmdDelete);
    ASSERT_EQ(doc.pieces.size(), 1u);
    EXPECT_EQ(doc.pieces[0].id, 3u);
    EXPECT_EQ(frame->GetStatusBar()->GetStatusText(1), "Pieces: 1");
}

class LockedDeleteTest : public MainFrameTest {
protected:
    // Three straights joined in a row, ids 1, 2, 3.
    void BuildChain() {
        LayoutDocument& doc = frame->Document();
        for (int i = 0; i < 3; ++i) {
            PlacedPiece p = Straight();
            p.x = 188.3 * i;
            doc.AddPiece(p);
        }
        for (int i = 0; i < 2; ++i) {
            doc.pieces[i].joints[1] = Joint{doc.pieces[i + 1].id, 0};
            doc.pieces[i + 1].joints[0] = Joint{doc.pieces[i].id, 1};
        }
    }
    void SelectAll() {
        for (auto& p : frame->Document().pieces) p.selected = true;
    }
};

TEST_F(LockedDeleteTest, HelixLockIsReportedBeforeTunnelLock) {
    BuildChain();
    LayoutDocument& doc = frame->Document();
    doc.tunnels.push_back(Tunnel{doc.TakeId(), kNoId, kNoId, 1, 1, {1}});
    doc.pieces[0].selected = true;  // in the tunnel
    doc.pieces[2].selected = true;
    doc.pieces[2].helixId = 9;  // part of a helix
    auto hook = Answer(Answers().Message(wxID_OK));
    Command(frame, kCmdDelete);
    ASSERT_EQ(hook->Count(), 1);
    EXPECT_EQ(hook->Dialogs()[0].title, "Helix track is locked");
    EXPECT_EQ(hook->Dialogs()[0].message,
              "Selection includes track that is part of a helix. Helix track cannot be deleted "
              "individually.");
    EXPECT_EQ(doc.pieces.size(), 3u);
}

TEST_F(LockedDeleteTest, TunnelTrackAndPortalsAreLocked) {
    BuildChain();
    LayoutDocument& doc = frame->Document();
    SelectAll();
    Command(frame, kCmdTunnel);
    ASSERT_EQ(doc.tunnels.size(), 1u);
    ASSERT_EQ(doc.scenery.size(), 2u);
    doc.ClearSelection();
    const std::string tunnelText =
        "Selection includes tunnel track or portals. Remove the tunnel first, then delete.";

    doc.pieces[1].selected = true;
    {
        auto hook = Answer(Answers().Message(wxID_OK));
        Command(frame, kCmdDelete);
        ASSERT_EQ(hook->Count(), 1);
        EXPECT_EQ(hook->Dialogs()[0].title, "Tunnel is locked");
        EXPECT_EQ(hook->Dialogs()[0].message, tunnelText);
    }
    doc.ClearSelection();
    doc.scenery[1].selected = true;
    {
        auto hook = Answer(Answers().Message(wxID_OK));
        Command(frame, kCmdDelete);
        ASSERT_EQ(hook->Count(), 1);
        EXPECT_EQ(hook->Dialogs()[0].message, tunnelText);
    }
    EXPECT_EQ(doc.pieces.size(), 3u);
    EXPECT_EQ(doc.scenery.size(), 2u);
}

TEST_F(LockedDeleteTest, TunnelToolFollowsTheSelection) {
    BuildChain();
    LayoutDocument& doc = frame->Document();
    wxToolBar* bar = frame->GetToolBar();
    doc.pieces[0].selected = true;
    EXPECT_FALSE(Enabled(frame, kCmdTunnel));  // a single piece is no chain

    SelectAll();
    EXPECT_TRUE(Enabled(frame, kCmdTunnel));
    EXPECT_EQ(bar->FindById(kCmdTunnel)->GetLabel(), "Tunnel");
    const uint32_t next = doc.nextId;
    Command(frame, kCmdTunnel);
    ASSERT_EQ(doc.tunnels.size(), 1u);
    EXPECT_EQ(doc.tunnels[0].id, next + 2);
    EXPECT_EQ(doc.tunnels[0].covers, (std::vector<uint32_t>{1, 2, 3}));
    EXPECT_TRUE(frame->IsModified());
    EXPECT_TRUE(frame->GetTitle().EndsWith(" *"));

    EXPECT_TRUE(Enabled(frame, kCmdTunnel));
    EXPECT_EQ(bar->FindById(kCmdTunnel)->GetLabel(), "Remove Tunnel");
    Command(frame, kCmdTunnel);
    EXPECT_TRUE(doc.tunnels.empty());
    EXPECT_TRUE(doc.scenery.empty());
    EXPECT_TRUE(Enabled(frame, kCmdTunnel));
    EXPECT_EQ(bar->FindById(kCmdTunnel)->GetLabel(), "Tunnel");

    doc.pieces[1].selected = false;  // ends 1 and 3 are not joined to each other
    EXPECT_FALSE(Enabled(frame, kCmdTunnel));
}

TEST_F(MainFrameTest, DeleteOfFlatPiecesAsksNothing) {
    AddPieces(2);
    frame->Document().pieces[0].selected = true;
    frame->Document().pieces[0].grade = 0.001;  // counts as flat
    ModalAnswerer hook(wxID_NO);
    Command(frame, kCmdDelete);
    EXPECT_EQ(hook.Count(), 0);
    EXPECT_EQ(frame->Document().pieces.size(), 1u);
}

TEST_F(MainFrameTest, SelectAllSelectsPiecesAndScenery) {
    AddPieces(2);
    frame->Document().scenery.push_back(SceneryItem{});
    frame->Document().labels.push_back(Label{});
    Command(frame, kCmdSelectAll);
    for (auto& p : frame->Document().pieces) EXPECT_TRUE(p.selected);
    EXPECT_TRUE(frame->Document().scenery[0].selected);
    EXPECT_FALSE(frame->Document().labels[0].selected);
}

TEST_F(MainFrameTest, UnitsRadioItemsSetTheDisplayUnit) {
    Command(frame, kCmdUnitsCm, true);
    EXPECT_EQ(frame->Document().units, 1);
    Command(frame, kCmdUnitsInch, true);
    EXPECT_EQ(frame->Document().units, 2);
    Command(frame, kCmdUnitsMm, true);
    EXPECT_EQ(frame->Document().units, 0);
}

TEST_F(MainFrameTest, GridSnapAndLabelsToggles) {
    Command(frame, kCmdShowGrid, false);
    EXPECT_FALSE(frame->Document().gridShown);
    Command(frame, kCmdSnap, false);
    EXPECT_FALSE(frame->Document().snapOn);
    Command(frame, kCmdSnap, true);
    EXPECT_TRUE(frame->Document().snapOn);

    wxToolBar* bar = frame->GetToolBar();
    bar->ToggleTool(kCmdLabels, true);
    Command(frame, kCmdLabels, true);
    EXPECT_FALSE(frame->Document().labelsShown);
    EXPECT_EQ(bar->FindById(kCmdLabels)->GetLabel(), "Show Labels");
    EXPECT_TRUE(bar->GetToolState(kCmdLabels));
    bar->ToggleTool(kCmdLabels, false);
    Command(frame, kCmdLabels, false);
    EXPECT_TRUE(frame->Document().labelsShown);
    EXPECT_EQ(bar->FindById(kCmdLabels)->GetLabel(), "Hide Labels");
}

TEST_F(MainFrameTest, MeasureToolDeselectsAndSetsTheMode) {
    AddPieces(1);
    frame->Document().pieces[0].selected = true;
    frame->Document().labels.push_back(Label{});
    frame->Document().labels[0].selected = true;
    Command(frame, kCmdMeasure, true);
    EXPECT_EQ(frame->Document().toolMode, 3);
    EXPECT_FALSE(frame->Document().HasSelection());
    Command(frame, kCmdMeasure, false);
    EXPECT_EQ(frame->Document().toolMode, 0);
}

TEST_F(MainFrameTest, ValidateAndPropertiesShowTheirNotes) {
    auto hook = Answer(Answers().Message(wxID_OK));
    Command(frame, kCmdValidate);
    Command(frame, kCmdProperties);
    ASSERT_EQ(hook->Count(), 2);
    EXPECT_EQ(hook->Dialogs()[0].title, "Validate");
    EXPECT_EQ(hook->Dialogs()[0].message, "Validation not yet implemented.");
    EXPECT_EQ(hook->Dialogs()[1].title, "Properties");
    EXPECT_EQ(hook->Dialogs()[1].message, "Layout properties not yet implemented.");
}

}  // namespace
