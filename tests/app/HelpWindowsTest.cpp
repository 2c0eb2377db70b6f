// The pictures built into the program, the splash and help windows, the Buy Track help's picture
// and the sample layouts beside the program.
#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/hyperlink.h>
#include <wx/menu.h>

#include <algorithm>

#include "app/CommandIds.h"
#include "app/FrameLogic.h"
#include "app/HelpText.h"
#include "app/gui/HelpDialog.h"
#include "app/gui/ResourceImages.h"
#include "app/gui/SplashDialog.h"
#include "panels/gui/PropertiesPanel.h"
#include "resources/EmbeddedPictures.h"
#include "support/FrameFixture.h"

namespace {

// Withholds a picture for the length of a scope.
struct Withhold {
    explicit Withhold(int number) : number(number) { WithholdResourceImage(number, true); }
    ~Withhold() { WithholdResourceImage(number, false); }
    int number;
};

wxColour PixelOf(const SplashDialog& splash, int x, int y) {
    wxBitmap bitmap(900, 600, 24);
    {
        wxMemoryDC dc(bitmap);
        splash.PaintPicture(dc);
    }
    const wxImage image = bitmap.ConvertToImage();
    return wxColour(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
}

TEST(EmbeddedPictures, DecodeToTheirSizes) {
    const struct {
        int number, width, height;
    } pictures[] = {{101, 1536, 1024}, {102, 641, 798}, {103, 653, 811}};
    for (const auto& p : pictures) {
        SCOPED_TRACE(p.number);
        const wxImage image = LoadResourceImage(p.number);
        ASSERT_TRUE(image.IsOk());
        EXPECT_EQ(image.GetSize(), wxSize(p.width, p.height));
        const wxImage scaled = LoadResourceImage(p.number, 120, 160);
        EXPECT_EQ(scaled.GetSize(), wxSize(120, 160));
    }
    EXPECT_TRUE(EmbeddedPicture(104).empty());
    EXPECT_FALSE(LoadResourceImage(104).IsOk());
    Withhold gone(102);
    EXPECT_FALSE(LoadResourceImage(102).IsOk());
}

class HelpWindows : public FrameTest {
protected:
    void SetUp() override {
        OpenFrame();
        frame->Show();
        frame->Properties()->SetBrowserOpener([this](const wxString& url) {
            opened.push_back(url);
            return true;
        });
        PumpEvents();
    }

    std::vector<wxString> opened;
};

TEST_F(HelpWindows, SplashShowsThePicturesOrItsPaintedFallback) {
    {
        SplashDialog splash(frame, nullptr);
        EXPECT_TRUE(splash.HasBackground() && splash.HasLogo());
        EXPECT_EQ(splash.DoneButton()->GetId(), wxID_OK);
        EXPECT_NE(PixelOf(splash, 5, 5), wxColour(30, 40, 60)) << "the picture";
    }
    Withhold back(101);
    {
        SplashDialog splash(frame, nullptr);
        EXPECT_FALSE(splash.HasBackground());
        EXPECT_EQ(PixelOf(splash, 5, 5), wxColour(30, 40, 60)) << "the painted fallback";
        EXPECT_NE(PixelOf(splash, 890 - 60, 590 - 80), wxColour(30, 40, 60)) << "the logo";
    }
}

TEST_F(HelpWindows, HelpShowsEveryHeadingInOrderWithOrWithoutItsPicture) {
    std::vector<wxString> expected;
    for (const HelpSection& section : HelpSections({}))
        expected.push_back(wxString::FromUTF8(section.heading));
    EXPECT_TRUE(HelpDialog(frame, nullptr, {}).HasPicture());
    Withhold gone(103);
    HelpDialog help(frame, nullptr, {});
    EXPECT_FALSE(help.HasPicture());
    EXPECT_EQ(help.Headings(), expected) << "every section, in order, without the picture too";
}

// The table was typed by hand and drifted from the menus ("Ctrl+S / O / N"; no Ctrl+L).
TEST_F(HelpWindows, F1OpensTheShortcutTableOfTheMenusAcceleratorsThenTheCanvasKeys) {
    // What the menus carry, read item by item from the menu bar.
    std::vector<std::pair<wxString, int>> accelerators;  // keys text, command id
    std::function<void(wxMenu*)> walk = [&](wxMenu* menu) {
        for (wxMenuItem* item : menu->GetMenuItems()) {
            if (item->GetSubMenu()) walk(item->GetSubMenu());
            std::unique_ptr<wxAcceleratorEntry> accel(item->GetAccel());
            if (accel) accelerators.push_back({accel->ToString(), item->GetId()});
        }
    };
    for (size_t i = 0; i < frame->GetMenuBar()->GetMenuCount(); ++i)
        walk(frame->GetMenuBar()->GetMenu(i));
    ASSERT_GE(accelerators.size(), 15u);

    // F1 is the menu's key, so it reaches every panel; the canvas takes it too.
    std::unique_ptr<wxAcceleratorEntry> f1(frame->GetMenuBar()->FindItem(kCmdHelp)->GetAccel());
    ASSERT_TRUE(f1);
    EXPECT_EQ(f1->GetKeyCode(), WXK_F1);
    std::vector<wxString> lines, titles;
    ModalAnswerer answer([&](wxDialog* dialog) {
        titles.push_back(dialog->GetTitle());
        if (auto* help = dynamic_cast<HelpDialog*>(dialog)) lines = help->ShortcutLines();
        return wxID_OK;
    });
    wxKeyEvent key(wxEVT_KEY_DOWN);
    key.SetEventObject(frame->Canvas());
    key.m_keyCode = WXK_F1;
    frame->Canvas()->GetEventHandler()->ProcessEvent(key);
    Command(kCmdHelp);
    EXPECT_EQ(titles, (std::vector<wxString>{"Quillmore v1.3 Help", "Quillmore v1.3 Help"}));
    ASSERT_EQ(lines.size(), accelerators.size() + CanvasShortcuts().size());
    for (size_t i = 0; i < accelerators.size(); ++i) {
        const wxString& keys = accelerators[i].first;
        EXPECT_TRUE(lines[i].StartsWith(keys + " ")) << lines[i] << " / " << keys;
        const wxString label =
            frame->GetMenuBar()->FindItem(accelerators[i].second)->GetItemLabelText();
        EXPECT_TRUE(lines[i].EndsWith(" > " + label)) << lines[i] << " / " << label;
    }
    for (size_t i = 0; i < CanvasShortcuts().size(); ++i)
        EXPECT_EQ(lines[accelerators.size() + i].utf8_string(), ShortcutLine(CanvasShortcuts()[i]));
}

// The splash at startup and the help window: the maker's link in each goes through the Buy Track
// opener, and whatever changes while the splash is up is shown once it is closed.
TEST_F(HelpWindows, SplashAndHelpLinkTheMakerAndThePropertiesFollowTheSplash) {
    LayPiece(Doc(), 0);
    std::vector<wxString> titles;
    ModalAnswerer answer([&](wxDialog* dialog) {
        titles.push_back(dialog->GetTitle());
        if (titles.size() == 1) {
            EXPECT_NE(dynamic_cast<SplashDialog*>(dialog), nullptr);
        }
        Doc().pieces[0].selected = true;
        std::vector<wxHyperlinkCtrl*> links;
        std::function<void(wxWindow*)> walk = [&](wxWindow* w) {
            if (auto* link = dynamic_cast<wxHyperlinkCtrl*>(w)) links.push_back(link);
            for (wxWindow* child : w->GetChildren()) walk(child);
        };
        walk(dialog);
        EXPECT_EQ(links.size(), 1u) << dialog->GetTitle();
        for (wxHyperlinkCtrl* link : links) {
            EXPECT_EQ(link->GetLabel(), "Bramblewick");
            wxHyperlinkEvent click(link, link->GetId(), link->GetURL());
            link->GetEventHandler()->ProcessEvent(click);
        }
        return wxID_OK;
    });
    frame->ShowSplash();
    ASSERT_EQ(titles, std::vector<wxString>{kBaseTitle});
    frame->FlushChanges();
    auto* header = dynamic_cast<wxStaticText*>(wxWindow::FindWindowByName("header", frame));
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->GetLabelText(), "24188 - 188.3mm");
    Command(kCmdHelp);
    EXPECT_EQ(opened, (std::vector<wxString>{kMakerWebSite, kMakerWebSite}));
}

TEST_F(HelpWindows, BuyTrackHelpShowsItsPictureUnlessItIsMissing) {
    for (const bool missing : {false, true}) {
        SCOPED_TRACE(missing);
        std::unique_ptr<Withhold> gone(missing ? new Withhold(102) : nullptr);
        bool pictured = false;
        ModalAnswerer answer([&](wxDialog* dialog) {
            wxWindow* picture = wxWindow::FindWindowByName("buyTrackPicture", dialog);
            pictured = picture != nullptr;
            if (picture) {
                EXPECT_EQ(picture->GetSize(), wxSize(450, 510));
            }
            return wxID_OK;
        });
        frame->Properties()->ShowBuyTrackHelp();
        EXPECT_EQ(answer.Count(), 1);
        EXPECT_EQ(pictured, !missing);
    }
}

TEST(SampleLayoutFiles, LieBesideTheProgramWhereOpenListsThem) {
    const std::vector<std::string> names = ListLayoutNames(QUILLMORE_PROGRAM_DIR);
    for (const char* name :
         {"C-Track Oval Station", "K-Track Two Decks", "Z-Track Shelf", "C-Track Figure Eight",
          "TRIX C-Track Reversing Loop", "Kato N Oval Station", "Minitrix N Figure Eight"})
        EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;
}

}  // namespace
