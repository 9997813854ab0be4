#include "Model/UserSettings.h"

#include <gtest/gtest.h>

namespace
{
    struct UserSettingsFile : public ::testing::Test
    {
        juce::File file = juce::File::createTempFile ("quenby-settings").getChildFile ("Quenby/Settings.xml");

        ~UserSettingsFile() override   { file.getParentDirectory().getParentDirectory().deleteRecursively(); }

        void write (const juce::String& text)
        {
            file.getParentDirectory().createDirectory();
            ASSERT_TRUE (file.replaceWithText (text));
        }
    };
}

TEST_F (UserSettingsFile, TheZoomRoundTripsAndASaveKeepsWhatElseTheFileHolds)
{
    EXPECT_EQ (UserSettings::getDefaultFile().getFullPathName(),
               juce::File::getSpecialLocation (juce::File::userApplicationDataDirectory).getFullPathName() + "/Quenby/Settings.xml");

    write ("<QUENBY_SETTINGS Theme=\"3\"><PALETTE Colour=\"74\"/></QUENBY_SETTINGS>");

    UserSettings settings;
    settings.zoomPercent = 150;
    ASSERT_TRUE (settings.save (file));

    const auto loaded = UserSettings::load (file);
    EXPECT_EQ (loaded.settings.zoomPercent, 150);
    EXPECT_TRUE (loaded.problem.isEmpty()) << loaded.problem;

    const auto element = juce::parseXML (file);
    ASSERT_NE (element, nullptr);
    EXPECT_EQ (element->getTagName(), "QUENBY_SETTINGS");
    EXPECT_EQ (element->getStringAttribute ("Zoom"), "150");
    EXPECT_EQ (element->getStringAttribute ("Theme"), "3");
    EXPECT_NE (element->getChildByName ("PALETTE"), nullptr);

    // A folder that does not exist yet is made.
    file.getParentDirectory().deleteRecursively();
    EXPECT_TRUE (settings.save (file));
    EXPECT_EQ (UserSettings::load (file).settings.zoomPercent, 150);
}

// Whatever the file holds, reading gives a zoom of the menu, 100 % unless the file says
// another one properly, and says what was wrong.
TEST_F (UserSettingsFile, AMissingOrDamagedFileGivesOneHundredPercentAndSaysWhy)
{
    const std::tuple<const char*, int, const char*> cases[] = {
        { "<QUENBY_SETTINGS Zoom=\"175\"/>",                           175, "" },
        { "<?xml version=\"1.0\"?>\n<QUENBY_SETTINGS/>",               100, "" },
        { "",                                                          100, "is not XML" },
        { "Zoom=150",                                                  100, "is not XML" },
        { "<VELMORA_DATABASE Zoom=\"150\"/>",                          100, "is not a settings file" },
        { "<QUENBY_SETTINGS Zoom=\"130\"/>",                           100, "zoom of \"130\"" },
        { "<QUENBY_SETTINGS Zoom=\"-150\"/>",                          100, "zoom of \"-150\"" },
        { "<QUENBY_SETTINGS Zoom=\"150%\"/>",                          100, "zoom of \"150%\"" },
        { "<QUENBY_SETTINGS Zoom=\"99999999999999999999150\"/>",       100, "zoom of" },
        { "<QUENBY_SETTINGS Zoom=\"150\"><!-- x --></QUENBY_SETTINGS>", 150, "not well-formed" },
        { "<QUENBY_SETTINGS Zoom=\"150\"",                             150, "not well-formed" },   // read as far as it goes
        { "<QUENBY_SETTINGS Zoom=\"125\" FactoryVersion=\"2\"/>",      125, "" },
        { "<QUENBY_SETTINGS FactoryVersion=\"-1\"/>",                 100, "factory version of \"-1\"" },
    };

    for (const auto& [text, zoom, problem] : cases)
    {
        write (text);
        const auto loaded = UserSettings::load (file);
        EXPECT_EQ (loaded.settings.zoomPercent, zoom) << text;
        EXPECT_TRUE (loaded.problem.contains (problem) && (juce::String (problem).isEmpty() == loaded.problem.isEmpty()))
            << text << ": " << loaded.problem;
    }

    file.deleteFile();
    EXPECT_EQ (UserSettings::load (file).settings.zoomPercent, 100);
    EXPECT_TRUE (UserSettings::load (file).problem.isEmpty());

    // Too large to be ours: left unread, and a save starts the file anew.
    write (juce::String::repeatedString ("x", (int) UserSettings::largestFileSize + 1));
    EXPECT_TRUE (UserSettings::load (file).problem.contains ("too large"));
    UserSettings settings;
    settings.zoomPercent = 75;
    EXPECT_TRUE (settings.save (file));
    EXPECT_EQ (UserSettings::load (file).settings.zoomPercent, 75);
}
