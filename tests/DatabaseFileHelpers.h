#pragma once

#include "Model/FactoryBank.h"
#include "Model/PluginDatabase.h"
#include "Model/UserSettings.h"

#include <gtest/gtest.h>

namespace testing_helpers
{
    // The settings of a user who was offered the factory bank already, as every test starts
    // (TestMain.cpp), so that a database a test creates holds "Initial Program" alone;
    // nothing else of the settings is kept.
    inline void writeOfferedSettings()
    {
        UserSettings offered;
        offered.factoryVersion = FactoryBank::version;
        UserSettings::getDefaultFile().deleteFile();
        offered.save();
    }

    // The program database file, removed before and after each test. Tests run with a
    // temporary HOME (TestMain.cpp); a file anywhere else stops the test before any write.
    class DatabaseFileTest : public ::testing::Test
    {
    protected:
        void SetUp() override
        {
            const auto temporaryFolder = juce::File::getSpecialLocation (juce::File::tempDirectory);
            ASSERT_TRUE (databaseFile.isAChildOf (temporaryFolder)) << databaseFile.getFullPathName();
            removeDatabaseFile();
            writeOfferedSettings();
        }

        void TearDown() override
        {
            removeDatabaseFile();
        }

        // The file and any copies of it kept before a save.
        void removeDatabaseFile()
        {
            if (databaseFile.isDirectory())
                databaseFile.deleteRecursively();
            else
                databaseFile.deleteFile();

            for (const auto& copy : databaseFile.getParentDirectory().findChildFiles (juce::File::findFiles, false,
                                                                                       databaseFile.getFileName() + ".unreadable-*"))
                copy.deleteFile();
        }

        void writeDatabaseFile (const juce::String& text)
        {
            databaseFile.getParentDirectory().createDirectory();
            ASSERT_TRUE (databaseFile.replaceWithText (text));
        }

        static juce::String programElement (const juce::String& attributes)
        {
            return "<PROGRAM " + attributes + "/>";
        }

        static juce::String databaseText (const juce::String& children, const juce::String& rootTag = "VELMORA_DATABASE")
        {
            return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<" + rootTag + ">" + children + "</" + rootTag + ">\n";
        }

        const juce::File databaseFile = PluginDatabase::getDatabaseFile();
    };

    // The names of the programs, in list order.
    inline juce::StringArray namesOf (const PluginDatabase& database)
    {
        juce::StringArray names;

        for (int i = 0; i < database.getNumPrograms(); ++i)
            names.add (database.getProgram (i)->getName());

        return names;
    }

    // A state chunk around text as it is (magic number, length, text, zero byte), for text
    // that JUCE's writer would escape or could not make.
    inline juce::MemoryBlock stateChunkAround (const char* text)
    {
        juce::MemoryOutputStream out;
        out.writeInt (0x21324356);
        out.writeInt ((int) std::strlen (text));
        out.write (text, std::strlen (text));
        out.writeByte (0);
        return out.getMemoryBlock();
    }

    inline bool sameBits (float a, float b)
    {
        return std::memcmp (&a, &b, sizeof (float)) == 0;
    }
}
