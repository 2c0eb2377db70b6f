// Message formatting and the translation hook the window program installs.
#include <gtest/gtest.h>

#include <string>

#include "base/Format.h"
#include "base/Translate.h"

namespace {

TEST(FormatTest, KeepsTextsLongerThanTheStackBufferWhole) {
    const std::string name(2000, 'x');
    const std::string text = Format("%s ends at %.1f mm", name.c_str(), 12.25);
    EXPECT_EQ(text.size(), name.size() + std::string(" ends at 12.2 mm").size());
    EXPECT_EQ(text.substr(0, 2000), name);
    EXPECT_EQ(text.substr(2000), " ends at 12.2 mm");
    EXPECT_EQ(Format("%d pieces", 3), "3 pieces");
    EXPECT_EQ(Format("%s", ""), "");
}

std::string Shout(const char* english) { return std::string("<") + english + ">"; }

TEST(TranslateTest, EnglishUntilATranslatorIsInstalledAndAgainAfterItIsRemoved) {
    EXPECT_EQ(Tr("Open Failed"), "Open Failed");
    EXPECT_EQ(Tr(nullptr), "");
    SetTranslator(&Shout);
    EXPECT_EQ(Tr("Open Failed"), "<Open Failed>");
    SetTranslator(nullptr);
    EXPECT_EQ(Tr("Open Failed"), "Open Failed");
    EXPECT_STREQ(TR_NOOP("Grade"), "Grade");
}

}  // namespace
