#include "DatabaseFileHelpers.h"
#include "Model/Enumeration.h"
#include "TestHelpers.h"

#include <limits>

using namespace testing_helpers;

namespace
{
    juce::MemoryBlock chunkOf (QuenbyAudioProcessor& processor)
    {
        juce::MemoryBlock chunk;
        processor.getStateInformation (chunk);
        return chunk;
    }

    juce::MemoryBlock chunkWithText (const juce::String& xmlText)
    {
        const auto element = juce::parseXML (xmlText);
        juce::MemoryBlock chunk;
        juce::AudioProcessor::copyXmlToBinary (*element, chunk);
        return chunk;
    }

    void restore (QuenbyAudioProcessor& processor, const juce::MemoryBlock& chunk)
    {
        processor.setStateInformation (chunk.getData(), (int) chunk.getSize());
    }

    juce::uint32 littleEndianWordAt (const juce::MemoryBlock& block, size_t offset)
    {
        const auto* bytes = static_cast<const juce::uint8*> (block.getData()) + offset;
        return (juce::uint32) bytes[0] | ((juce::uint32) bytes[1] << 8) | ((juce::uint32) bytes[2] << 16) | ((juce::uint32) bytes[3] << 24);
    }

    // Gives the current program distinct texts and a distinct value for every parameter.
    void makeDistinct (PluginProgram& program)
    {
        program.setName ("Bell & <Pad>");
        program.setBank ("User");
        program.setCategory ("Keys");
        program.setSubType ("");
        program.setMode ("Poly \"wide\"");

        for (int index = 0; index < ParameterIndex::count; ++index)
            program.getParameter (index)->setValue ((float) index / (float) ParameterIndex::count + 0.003f);
    }
}

class StateChunk : public DatabaseFileTest
{
protected:
    void SetUp() override
    {
        DatabaseFileTest::SetUp();
        source = std::make_unique<QuenbyAudioProcessor>();
    }

    void TearDown() override
    {
        source.reset();
        DatabaseFileTest::TearDown();
    }

    std::unique_ptr<QuenbyAudioProcessor> source;
};

TEST_F (StateChunk, IsTheSettingsElementInJucesBinaryXmlLayout)
{
    const auto chunk = chunkOf (*source);

    ASSERT_GT (chunk.getSize(), 9u);
    EXPECT_EQ (littleEndianWordAt (chunk, 0), 0x21324356u);
    EXPECT_EQ (littleEndianWordAt (chunk, 4), (juce::uint32) chunk.getSize() - 9u);
    EXPECT_EQ (static_cast<const char*> (chunk.getData())[chunk.getSize() - 1], 0);

    const juce::String text (juce::CharPointer_UTF8 (static_cast<const char*> (chunk.getData()) + 8));
    EXPECT_TRUE (text.startsWith ("<VELMORA_SETTINGS ID=\"" + source->state->getCurrentProgram()->getId() + "\" Name=\"Initial Program\""));
    EXPECT_FALSE (text.containsChar ('\n'));

    const auto element = juce::AudioProcessor::getXmlFromBinary (chunk.getData(), (int) chunk.getSize());
    ASSERT_NE (element, nullptr);
    EXPECT_EQ (element->getNumChildElements(), 0);
    ASSERT_EQ (element->getNumAttributes(), 6 + ParameterIndex::count + 1);
    EXPECT_EQ (element->getAttributeName (6 + ParameterIndex::count), "MidiChannel");

    const char* const texts[] = { "ID", "Name", "Bank", "Category", "SubType", "Mode" };

    for (int i = 0; i < 6; ++i)
        EXPECT_EQ (element->getAttributeName (i), texts[i]);

    for (int index = 0; index < ParameterIndex::count; ++index)
        EXPECT_EQ (element->getAttributeName (6 + index), Enumeration::getName (index));
}

TEST_F (StateChunk, RestoreIntoAFreshProcessorOverwritesTheProgramWithTheSameIdentifier)
{
    auto& program = *source->state->getCurrentProgram();
    makeDistinct (program);
    const auto chunk = chunkOf (*source);

    QuenbyAudioProcessor fresh;   // loads the same file: the same identifier, default values
    auto& database = *fresh.state->database;
    auto* second = database.createProgram();
    fresh.switchToProgram (second);
    ASSERT_EQ (database.getProgram (0)->getId(), program.getId());

    restore (fresh, chunk);

    ASSERT_EQ (database.getNumPrograms(), 2);
    auto* restored = database.getProgram (0);
    EXPECT_EQ (fresh.state->getCurrentProgram(), restored);
    EXPECT_EQ (restored->getId(), program.getId());
    EXPECT_EQ (restored->getName(), "Bell & <Pad>");
    EXPECT_EQ (restored->getBank(), "User");
    EXPECT_EQ (restored->getCategory(), "Keys");
    EXPECT_EQ (restored->getSubType(), "");
    EXPECT_EQ (restored->getMode(), "Poly \"wide\"");

    for (int index = 0; index < ParameterIndex::count; ++index)
        EXPECT_TRUE (sameBits (restored->getParameter (index)->getValue(), program.getParameter (index)->getValue()))
            << Enumeration::getName (index);

    EXPECT_EQ (fresh.synthAudioSource->getSynth().settings.MasterVolume.load(), 2.0 * (double) program.getParameter (ParameterIndex::MasterVolume)->getValue());
    EXPECT_TRUE (fresh.hostChangedParameter);      // an open window shows the restored program
}

TEST_F (StateChunk, UnknownIdentifierAppendsAProgramWithDefaultsForMissingValues)
{
    const auto chunk = chunkWithText ("<VELMORA_SETTINGS ID=\"from-another-machine\" Name=\"Travelled\" Osc1Gain=\"0.25\" Extra=\"1\"/>");
    const auto before = source->state->database->getNumPrograms();

    restore (*source, chunk);

    auto& database = *source->state->database;
    ASSERT_EQ (database.getNumPrograms(), before + 1);
    auto* added = database.getProgram (before);
    EXPECT_EQ (source->state->getCurrentProgram(), added);
    EXPECT_EQ (added->getId(), "from-another-machine");
    EXPECT_EQ (added->getName(), "Travelled");
    EXPECT_EQ (added->getBank(), "");                  // missing texts become empty, not "Factory"
    EXPECT_EQ (added->getCategory(), "");

    for (int index = 0; index < ParameterIndex::count; ++index)
        EXPECT_EQ (added->getParameter (index)->getValue(), index == 2 ? 0.25f : PluginParameter::getDefaultValue (index))
            << Enumeration::getName (index);
}

// A chunk from before the appended parameters means them at their defaults, which sound
// as the instrument did then.
TEST_F (StateChunk, MissingAttributesKeepTheValuesTheProgramHadButTheLaterParametersTakeTheirDefaults)
{
    auto& program = *source->state->getCurrentProgram();
    program.getParameter (ParameterIndex::Osc1Pan)->setValue (0.875f);

    for (int index = ParameterIndex::numOriginal; index < ParameterIndex::count; ++index)
        program.getParameter (index)->setValue (0.25f);

    restore (*source, chunkWithText ("<velmora_settings ID=\"" + program.getId() + "\" Osc1Gain=\"0.25\" Osc2Unison=\"3\"/>"));

    EXPECT_EQ (source->state->database->getNumPrograms(), 1);
    EXPECT_EQ (program.getParameter (ParameterIndex::Osc1Gain)->getValue(), 0.25f);
    EXPECT_EQ (program.getParameter (ParameterIndex::Osc1Pan)->getValue(), 0.875f);
    EXPECT_EQ (program.getName(), "");

    for (int index = ParameterIndex::numOriginal; index < ParameterIndex::count; ++index)
        EXPECT_EQ (program.getParameter (index)->getValue(), index == ParameterIndex::Osc2Unison ? 3.0f : PluginParameter::getDefaultValue (index))
            << Enumeration::getName (index);
}

// The tuning travels with the chunk; a chunk without one, or with texts that are no
// scale, plays in equal temperament.
TEST_F (StateChunk, CarriesTheTuningAndAChunkWithoutOneIsEqualTemperament)
{
    const auto scale = juce::String ("Fifths & <more>\n2\n3/2\n2/1\n");
    const auto mapping = juce::String ("! one key\n0\n0\n127\n60\n69\n432.0\n0\n");
    source->setTuning (*Tuning::read (scale, mapping).tuning);

    QuenbyAudioProcessor fresh;
    restore (fresh, chunkOf (*source));
    EXPECT_EQ (fresh.getTuning().getScaleText(), scale);
    EXPECT_EQ (fresh.getTuning().getMappingText(), mapping);
    EXPECT_EQ (fresh.getTuning().getDescription(), "Fifths & <more>");

    const auto id = source->state->getCurrentProgram()->getId();

    for (const auto& text : { "<VELMORA_SETTINGS ID=\"" + id + "\"/>",
                              "<VELMORA_SETTINGS ID=\"" + id + "\"><TUNING Scale=\"no scale\" Mapping=\"\"/></VELMORA_SETTINGS>" })
    {
        restore (fresh, chunkOf (*source));
        restore (fresh, chunkWithText (text));
        EXPECT_TRUE (fresh.getTuning().isEqualTemperament()) << text;
    }
}

TEST_F (StateChunk, ChunkWithoutIdentifierMatchesTheEmptyIdentifier)
{
    const auto chunk = chunkWithText ("<VELMORA_SETTINGS Name=\"No id\"/>");

    restore (*source, chunk);
    auto& database = *source->state->database;
    ASSERT_EQ (database.getNumPrograms(), 2);
    EXPECT_EQ (database.getProgram (1)->getId(), "");
    EXPECT_EQ (source->state->getCurrentProgram(), database.getProgram (1));

    source->switchToProgram (database.getProgram (0));
    restore (*source, chunk);
    EXPECT_EQ (database.getNumPrograms(), 2);
    EXPECT_EQ (source->state->getCurrentProgram(), database.getProgram (1));
}

TEST_F (StateChunk, RestoreStopsTheNotesThatWereSounding)
{
    ProcessorFixture fixture;
    fixture.renderNote (60, 1.0f, 512);
    ASSERT_NE (fixture.voicePlaying (60), nullptr);

    restore (fixture.processor, chunkOf (fixture.processor));

    EXPECT_EQ (fixture.voicePlaying (60), nullptr);
}

TEST_F (StateChunk, ASettingsElementOfAnotherTagChangesNoProgramButRecomputes)
{
    auto& program = *source->state->getCurrentProgram();
    const auto id = program.getId();
    program.getParameter (ParameterIndex::MasterVolume)->setValue (0.25f);           // not yet seen by the engine
    ASSERT_EQ (source->synthAudioSource->getSynth().settings.MasterVolume.load(), 1.0);

    restore (*source, chunkWithText ("<VELMORA_DATABASE ID=\"" + id + "\" Name=\"Other\" MasterVolume=\"0.75\"/>"));

    EXPECT_EQ (source->state->database->getNumPrograms(), 1);
    EXPECT_EQ (program.getName(), "Initial Program");
    EXPECT_EQ (program.getParameter (ParameterIndex::MasterVolume)->getValue(), 0.25f);
    EXPECT_EQ (source->synthAudioSource->getSynth().settings.MasterVolume.load(), 0.5);
}

class UnreadableStateChunk : public StateChunk,
                             public ::testing::WithParamInterface<std::vector<juce::uint8>>
{
};

TEST_P (UnreadableStateChunk, ChangesNothingAndRecomputesNothing)
{
    auto& program = *source->state->getCurrentProgram();
    program.getParameter (ParameterIndex::MasterVolume)->setValue (0.25f);           // not yet seen by the engine
    const auto before = chunkOf (*source);

    const auto& bytes = GetParam();
    source->setStateInformation (bytes.data(), (int) bytes.size());

    EXPECT_EQ (source->state->database->getNumPrograms(), 1);
    EXPECT_EQ (source->state->getCurrentProgram(), &program);
    EXPECT_EQ (chunkOf (*source), before);
    EXPECT_EQ (source->synthAudioSource->getSynth().settings.MasterVolume.load(), 1.0);
}

INSTANTIATE_TEST_SUITE_P (Data, UnreadableStateChunk, ::testing::Values (
    std::vector<juce::uint8> { 0xde, 0xad, 0xbe, 0xef },
    std::vector<juce::uint8> {},
    // Wrong magic number before a readable element.
    std::vector<juce::uint8> { 0x57, 0x43, 0x32, 0x21, 19, 0, 0, 0, '<', 'V', 'E', 'L', 'M', 'O', 'R', 'A', '_',
                               'S', 'E', 'T', 'T', 'I', 'N', 'G', 'S', '/', '>', 0 },
    // The right magic number and text that does not parse.
    std::vector<juce::uint8> { 0x56, 0x43, 0x32, 0x21, 6, 0, 0, 0, '<', 'V', 'E', 'L', ' ', '<', 0 }));

// Found by review: "<?" and "?>" inside attribute values were cut out of a chunk's text.
TEST_F (StateChunk, InstructionMarksInsideAttributesRestoreIntact)
{
    restore (*source, stateChunkAround ("<VELMORA_SETTINGS ID=\"q\" Name=\"Why <?\" Bank=\"C ?>\" Osc1Gain=\"0.25\"/>"));

    const auto* program = source->state->getCurrentProgram();
    EXPECT_EQ (program->getId(), "q");
    EXPECT_EQ (program->getName(), "Why <?");
    EXPECT_EQ (program->getBank(), "C ?>");
    EXPECT_EQ (program->getParameter (ParameterIndex::Osc1Gain)->getValue(), 0.25f);
}

// A host's infinity or NaN is stored as 0, the value the chunk's reader gives such text, so
// what the chunk carries restores as it was stored.
TEST_F (StateChunk, NonFiniteHostValueIsStoredAsZeroAndRestoresAsStored)
{
    for (const auto value : { std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(),
                              std::numeric_limits<float>::quiet_NaN() })
    {
        source->setParameter (ParameterIndex::Osc1Gain, value);
        ASSERT_TRUE (sameBits (source->getParameter (ParameterIndex::Osc1Gain), 0.0f)) << value;

        QuenbyAudioProcessor fresh;
        restore (fresh, chunkOf (*source));
        EXPECT_TRUE (sameBits (fresh.getParameter (ParameterIndex::Osc1Gain), 0.0f)) << value;
    }
}
