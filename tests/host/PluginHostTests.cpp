// Loads the built plug-in binaries through JUCE's hosting, as a DAW would, and checks them
// through the binary interface only.
#include <gtest/gtest.h>

#include <juce_audio_formats/juce_audio_formats.h>
#include <juce_audio_processors/juce_audio_processors.h>

#include "Model/ParameterTable.h"

#include <cmath>

namespace
{
    enum class Format { vst2, vst3, lv2 };

    std::string formatName (const ::testing::TestParamInfo<Format>& info)
    {
        switch (info.param)
        {
            case Format::vst2: return "VST2";
            case Format::vst3: return "VST3";
            case Format::lv2:  return "LV2";
        }

        return "unknown";
    }

    // The host should see the parameter table's names and defaults.
    constexpr int numParameters = ParameterIndex::count;

    juce::AudioPluginFormat& getFormat (Format format)
    {
        // Kept for the whole run: instances may outlive any one test's locals.
        static juce::VSTPluginFormat vst2;
        static juce::VST3PluginFormat vst3;
        static juce::LV2PluginFormat lv2;

        switch (format)
        {
            case Format::vst2: return vst2;
            case Format::vst3: return vst3;
            case Format::lv2:  break;
        }

        return lv2;
    }

    juce::String getLocation (Format format)
    {
        switch (format)
        {
            case Format::vst2: return QUENBY_VST2_FILE;
            case Format::vst3: return juce::File (QUENBY_VST3_LIBRARY).getParentDirectory().getParentDirectory()
                                                                       .getParentDirectory().getFullPathName();
            case Format::lv2:  break;
        }

        return QUENBY_LV2_URI;
    }

    bool isFinite (const juce::AudioBuffer<float>& buffer)
    {
        for (int c = 0; c < buffer.getNumChannels(); ++c)
            for (int i = 0; i < buffer.getNumSamples(); ++i)
                if (! std::isfinite (buffer.getSample (c, i)))
                    return false;

        return true;
    }

    // LV2 hosts order parameters by their identifiers, so they are found by name. Every
    // format shows the whole name, VST2 too: JUCE's VST2 wrapper passes names longer than
    // that format's 15 characters through, and a host that reads more sees all of it.
    juce::AudioProcessorParameter* findParameter (juce::AudioPluginInstance& instance, const juce::String& name)
    {
        for (auto* parameter : instance.getParameters())
            if (parameter->getName (64) == name)
                return parameter;

        return nullptr;
    }

    std::unique_ptr<juce::AudioPluginInstance> loadPlugin (Format format, juce::PluginDescription& description,
                                                          double rate = 48000.0, int block = 512)
    {
        juce::OwnedArray<juce::PluginDescription> found;
        getFormat (format).findAllTypesForFile (found, getLocation (format));

        if (found.isEmpty())
        {
            ADD_FAILURE() << "no plug-in found at " << getLocation (format);
            return {};
        }

        description = *found[0];
        juce::String error;
        auto instance = getFormat (format).createInstanceFromDescription (description, rate, block, error);
        EXPECT_NE (instance, nullptr) << error;
        return instance;
    }

    // The frequency of channel 0 between two samples, from its upward zero crossings.
    double measureFrequency (const juce::AudioBuffer<float>& buffer, int start, int end, double sampleRate)
    {
        double first = -1.0, last = -1.0;
        int periods = -1;

        for (int i = start + 1; i < end; ++i)
        {
            const auto a = buffer.getSample (0, i - 1), b = buffer.getSample (0, i);

            if (a < 0.0f && b >= 0.0f)
            {
                last = (i - 1) + a / (a - b);
                first = first < 0.0 ? last : first;
                ++periods;
            }
        }

        return periods > 0 ? periods * sampleRate / (last - first) : 0.0;
    }

    void expectSameSamples (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b, const char* what)
    {
        ASSERT_GE (juce::jmin (a.getNumSamples(), b.getNumSamples()), 16384) << what;

        for (int i = 0; i < 16384; ++i)
            ASSERT_EQ (a.getSample (0, i), b.getSample (0, i)) << what << ", sample " << i;
    }

    struct PluginHost : public ::testing::TestWithParam<Format>
    {
        std::unique_ptr<juce::AudioPluginInstance> load (double rate = 48000.0, int block = 512)
        {
            return loadPlugin (GetParam(), description, rate, block);
        }

        // VST3 and LV2 hosts move parameters between 0 and 1 over the whole range; VST2
        // hosts write the raw stored values.
        bool scaled() const     { return GetParam() != Format::vst2; }

        static void prepare (juce::AudioPluginInstance& instance, double rate, int block)
        {
            instance.setRateAndBufferSizeDetails (rate, block);
            instance.prepareToPlay (rate, block);
        }

        // Renders in blocks of the given sizes (repeated), the MIDI in the first block.
        static juce::AudioBuffer<float> render (juce::AudioPluginInstance& instance, int numSamples,
                                                juce::MidiBuffer midi = {}, std::vector<int> blockSizes = { 512 })
        {
            const auto channels = juce::jmax (instance.getTotalNumInputChannels(), instance.getTotalNumOutputChannels());
            juce::AudioBuffer<float> result (instance.getTotalNumOutputChannels(), numSamples);
            result.clear();
            size_t next = 0;

            for (int position = 0; position < numSamples;)
            {
                const auto size = juce::jmin (blockSizes[next++ % blockSizes.size()], numSamples - position);
                juce::AudioBuffer<float> block (channels, size);
                block.clear();
                instance.processBlock (block, midi);
                midi.clear();

                for (int c = 0; c < result.getNumChannels(); ++c)
                    result.copyFrom (c, position, block, c, 0, size);

                position += size;
            }

            return result;
        }

        static juce::MidiBuffer noteOn (int note = 60)
        {
            juce::MidiBuffer midi;
            midi.addEvent (juce::MidiMessage::noteOn (1, note, 0.9f), 0);
            return midi;
        }

        juce::PluginDescription description;
    };
}

TEST_P (PluginHost, DescribesAStereoInstrumentWithMidiInOnly)
{
    auto instance = load();
    ASSERT_NE (instance, nullptr);
    EXPECT_EQ (description.name, "Quenby");
    EXPECT_TRUE (description.isInstrument);
    EXPECT_EQ (instance->getName(), "Quenby");
    EXPECT_TRUE (instance->acceptsMidi());
    EXPECT_FALSE (instance->producesMidi());
    EXPECT_EQ (instance->getTotalNumOutputChannels(), 2);
}

// JUCE hosts an LV2 editor in an embedded X window, so that format needs an X server: CTest
// runs this test once more under xvfb-run (HostEditorUnderXvfb).
TEST_P (PluginHost, EditorOpensAtItsSizeAndAVst3HostsScale)
{
    if (GetParam() == Format::lv2 && juce::SystemStats::getEnvironmentVariable ("DISPLAY", {}).isEmpty())
        GTEST_SKIP() << "no X display for the LV2 editor";

    auto instance = load();
    ASSERT_NE (instance, nullptr);
    ASSERT_TRUE (instance->hasEditor());

    std::unique_ptr<juce::AudioProcessorEditor> editor (instance->createEditor());
    ASSERT_NE (editor, nullptr);
    EXPECT_EQ (editor->getWidth(), 820);
    EXPECT_EQ (editor->getHeight(), 640);

    // A VST3 host's content scale (a screen at 150 %) makes the window as much larger.
    if (GetParam() == Format::vst3)
    {
        editor->setScaleFactor (1.5f);
        EXPECT_EQ (editor->getWidth(), 1230);
        EXPECT_EQ (editor->getHeight(), 960);
    }

    editor.reset();
    instance->releaseResources();
}

TEST_P (PluginHost, ShowsTheParameterTableWithItsDefaults)
{
    auto instance = load();
    ASSERT_NE (instance, nullptr);

    const auto& parameters = instance->getParameters();
    ASSERT_GE (parameters.size(), numParameters);

    for (int index = 0; index < numParameters; ++index)
    {
        const juce::String name = ParameterTable::get (index).name;
        auto* parameter = findParameter (*instance, name);
        ASSERT_NE (parameter, nullptr) << name;

        // VST2 hosts see the stored default; the others its place on their scale.
        EXPECT_NEAR (parameter->getValue(), scaled() ? parameter->getDefaultValue() : ParameterTable::get (index).defaultValue, 1e-6f) << name;

        // VST2 and VST3 keep the index order.
        if (GetParam() != Format::lv2)
        {
            EXPECT_EQ (parameters[index]->getName (64), name) << index;
        }
    }

    // Besides the table: nothing for VST2; a bypass for LV2; for VST3 also JUCE's hidden
    // parameters that carry MIDI controllers (VST3 has no controller events).
    const auto expectedCount = GetParam() == Format::vst2 ? numParameters : numParameters + 1;

    if (GetParam() != Format::vst3)
    {
        EXPECT_EQ (parameters.size(), expectedCount);
    }

    for (int index = numParameters; index < parameters.size(); ++index)
        EXPECT_EQ (findParameter (*instance, parameters[index]->getName (64)), parameters[index]);
}

TEST_P (PluginHost, ANoteSoundsAndReleasesToSilence)
{
    auto instance = load();
    ASSERT_NE (instance, nullptr);
    prepare (*instance, 48000.0, 512);

    const auto held = render (*instance, 24000, noteOn());
    EXPECT_GT (held.getMagnitude (0, 0, 24000), 0.01f);
    EXPECT_GT (held.getMagnitude (1, 0, 24000), 0.01f);

    juce::MidiBuffer off;
    off.addEvent (juce::MidiMessage::noteOff (1, 60), 0);
    const auto released = render (*instance, 4 * 48000, off);

    EXPECT_TRUE (isFinite (held) && isFinite (released));
    EXPECT_EQ (released.getMagnitude (0, 3 * 48000, 48000), 0.0f);
    instance->releaseResources();
}

TEST_P (PluginHost, AutomationReadsBackAndReachesTheSound)
{
    auto instance = load();
    ASSERT_NE (instance, nullptr);
    prepare (*instance, 48000.0, 512);

    auto* gain = findParameter (*instance, "Osc1Gain");
    auto* oscillatorOne = findParameter (*instance, "Osc1Active");
    ASSERT_TRUE (gain != nullptr && oscillatorOne != nullptr);

    gain->setValue (0.25f);
    EXPECT_NEAR (gain->getValue(), 0.25f, 1e-6f);

    oscillatorOne->setValue (0.0f);
    EXPECT_EQ (oscillatorOne->getValue(), 0.0f);
    EXPECT_EQ (render (*instance, 8192, noteOn()).getMagnitude (0, 0, 8192), 0.0f);

    oscillatorOne->setValue (1.0f);
    EXPECT_GT (render (*instance, 8192, noteOn (64)).getMagnitude (0, 0, 8192), 0.0f);
    instance->releaseResources();
}

TEST_P (PluginHost, StateRestoredIntoASecondInstanceGivesTheSameValuesAndSound)
{
    auto first = load();
    auto second = load();
    ASSERT_TRUE (first != nullptr && second != nullptr);

    const std::pair<const char*, float> changes[] = { { "Osc1WaveType", 1.0f }, { "Osc2Active", 1.0f }, { "Filter1Active", 1.0f },
                                                      { "Filter1Cutoff", 0.62f }, { "EnvAmpOsc1Sustain", 0.8f } };

    for (const auto& [name, value] : changes)
        findParameter (*first, name)->setValue (value);

    // An LV2 host hands parameter changes over while it runs the plug-in: run a silent block.
    prepare (*first, 48000.0, 512);
    render (*first, 512);

    juce::MemoryBlock state;
    first->getStateInformation (state);
    ASSERT_GT (state.getSize(), 8u);
    second->setStateInformation (state.getData(), (int) state.getSize());

    prepare (*second, 48000.0, 512);
    const auto a = render (*first, 16384, noteOn (57));
    const auto b = render (*second, 16384, noteOn (57));

    // JUCE's LV2 host keeps its own copy of the values and does not re-read them after a
    // restore; there the restored state itself is compared.
    if (GetParam() == Format::lv2)
    {
        juce::MemoryBlock restored;
        second->getStateInformation (restored);
        EXPECT_EQ (restored, state);
    }
    else
    {
        for (int index = 0; index < numParameters; ++index)
        {
            const juce::String name = ParameterTable::get (index).name;
            EXPECT_EQ (findParameter (*second, name)->getValue(), findParameter (*first, name)->getValue()) << name;
        }

        EXPECT_EQ (findParameter (*second, "Filter1Cutoff")->getValue(), 0.62f);
    }

    EXPECT_GT (a.getMagnitude (0, 0, 16384), 0.0f);

    for (int i = 0; i < 16384; ++i)
        ASSERT_EQ (a.getSample (0, i), b.getSample (0, i)) << i;
}

TEST_P (PluginHost, SurvivesTheRatesAndBlockSizesHostsUse)
{
    auto instance = load();
    ASSERT_NE (instance, nullptr);

    const std::vector<std::vector<int>> patterns = { { 1 }, { 2 }, { 64 }, { 512 }, { 4096 }, { 0, 17, 512, 0, 1, 300, 4096, 5 } };

    for (const double rate : { 44100.0, 48000.0, 96000.0, 192000.0 })
    {
        for (const auto& pattern : patterns)
        {
            prepare (*instance, rate, 4096);
            const auto out = render (*instance, 6000, noteOn (48 + (int) pattern.size()), pattern);
            EXPECT_TRUE (isFinite (out)) << rate;
            EXPECT_GT (out.getMagnitude (0, 0, 6000), 0.0f) << rate << " Hz, first block " << pattern[0];
            instance->releaseResources();
        }
    }
}

TEST_P (PluginHost, TenInstancesInARowAndSideBySide)
{
    for (int i = 0; i < 10; ++i)
    {
        auto instance = load (44100.0, 256);
        ASSERT_NE (instance, nullptr);
        prepare (*instance, 44100.0, 256);
        EXPECT_GT (render (*instance, 2048, noteOn(), { 256 }).getMagnitude (0, 0, 2048), 0.0f);
        instance->releaseResources();
    }

    std::vector<std::unique_ptr<juce::AudioPluginInstance>> instances;

    for (int i = 0; i < 10; ++i)
    {
        instances.push_back (load (48000.0, 128));
        ASSERT_NE (instances.back(), nullptr);
        prepare (*instances.back(), 48000.0, 128);
    }

    for (int round = 0; round < 3; ++round)
        for (auto& instance : instances)
            EXPECT_TRUE (isFinite (render (*instance, 1024, noteOn (40 + round), { 128 })));

    instances.clear();
}

// What a host shows for a value: VST3 and VST2 texts come from the plug-in. An LV2 plug-in
// describes its values in its data: a switch is a boolean, which JUCE's LV2 host shows as
// "On" or "Off"; a choice or a semitone step labels its steps with scale points, which JUCE's
// host reads only for a parameter claiming to be an enumeration (a claim LV2 allows for ports
// alone), so it shows those steps as numbers. The same host value means the whole range in
// VST3 and LV2, and the raw stored value in VST2.
TEST_P (PluginHost, ValueTextsSayWhatTheHostsValueMeans)
{
    auto instance = load();
    ASSERT_NE (instance, nullptr);

    const std::tuple<const char*, float, const char*, const char*, const char*> cases[] = {
        // name               value         VST3        LV2         VST2
        { "Osc1WaveType",      0.75f,       "Sawtooth", "0.75",     "Sine" },
        { "Osc1WaveType",      1.0f,        "Noise",    "1",        "Square" },
        { "Lfo1WaveType",      1.0f,        "S&H",      "1",        "Square" },
        { "Filter1Slope",      1.0f,        "24 dB",    "1",        "24 dB" },
        { "Osc2Unison",        1.0f,        "8 voices", "1",        "2 voices" },
        { "Filter1EnvAmount",  0.75f,       "+50 %",    "0.75",     "+50 %" },
        { "Osc1UnisonDetune",  0.35f,       "35 cents", "0.35",     "35 cents" },
        { "Osc2Sync",          1.0f,        "On",       "On",       "On" },
        { "Osc1WaveType",      0.0f,        "Sine",     "0",        "Sine" },
        { "Filter1Type",       0.5f,        "Bandpass", "0.5",      "Lowpass" },
        { "CurrentPlayMode",   0.5f,        "Mono",     "0.5",      "Poly" },
        { "Lfo1Target",        1.0f,        "Filter",   "1",        "Pitch" },
        { "Osc1Active",        0.0f,        "Off",      "Off",      "Off" },
        { "Osc1Active",        1.0f,        "On",       "On",       "On" },
        { "Osc1Offset",        0.5f,        "0 st",     "0.5",      "+38 st" },
        { "Osc1Offset",        19.0f / 24,  "+7 st",    "0.791667", "+67 st" },
        { "Osc1Offset",        0.0f,        "-12 st",   "0",        "-12 st" },
        { "Osc1PitchRange",    1.0f,        "12 st",    "1",        "100 st" },
        { "Osc1Gain",          0.25f,       "50 %",     "0.25",     "50 %" },
        { "Filter1Cutoff",     0.3f,        "1.50 kHz", "0.3",      "1.50 kHz" },
        { "EnvAmpOsc1Release", 0.51f,       "7.65 s",   "0.51",     "7.65 s" },
        { "Osc2Pan",           0.3f,        "40L",      "0.3",      "40L" },
        { "Delay1Time",        0.5f,        "4/16",     "0.5",      "4/16" },
    };

    for (const auto& [name, value, vst3Text, lv2Text, vst2Text] : cases)
    {
        auto* parameter = findParameter (*instance, name);
        ASSERT_NE (parameter, nullptr) << name;
        parameter->setValue (value);

        // An LV2 host asks the plug-in for no text: it shows a switch as on or off and every
        // other value as its own number.
        const auto* expected = GetParam() == Format::vst3 ? vst3Text : GetParam() == Format::lv2 ? lv2Text : vst2Text;
        EXPECT_EQ (parameter->getCurrentValueAsText(), expected) << name << " " << value;

        // JUCE's VST2 hosting reads typed texts itself, without asking the plug-in; its LV2
        // hosting reads a switch's typed text as a number.
        if (scaled() && ! (GetParam() == Format::lv2 && parameter->isBoolean()))
        {
            EXPECT_NEAR (parameter->getValueForText (expected), value, 1e-6f) << name << " " << expected;
        }
    }

    // Every parameter at both ends: a text of its value, never its name, which reads back.
    for (int index = 0; index < numParameters; ++index)
    {
        const juce::String name = ParameterTable::get (index).name;
        auto* parameter = findParameter (*instance, name);

        for (const float value : { 0.0f, 1.0f })
        {
            parameter->setValue (value);
            const auto text = parameter->getCurrentValueAsText();
            EXPECT_TRUE (text.isNotEmpty() && text != name) << name << ": " << text;

            if (scaled() && ! (GetParam() == Format::lv2 && parameter->isBoolean()))
            {
                EXPECT_EQ (parameter->getText (parameter->getValueForText (text), 64), text) << name;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P (Formats, PluginHost, ::testing::Values (Format::vst2, Format::vst3, Format::lv2), formatName);

// VST2 reaches the sawtooth and the middle offset by the raw values its projects store;
// VST3 and LV2 reach them within 0 ... 1, and the sound is the same to the sample.
TEST (PluginFormats, Vst3AndLv2AutomationReachesTheSawtoothAndTheMiddleOffset)
{
    juce::PluginDescription description;
    auto reference = loadPlugin (Format::vst2, description);
    ASSERT_NE (reference, nullptr);
    findParameter (*reference, "Osc1WaveType")->setValue (3.0f);
    PluginHost::prepare (*reference, 48000.0, 512);
    const auto expected = PluginHost::render (*reference, 16384, PluginHost::noteOn (69));

    for (const auto format : { Format::vst3, Format::lv2 })
    {
        auto instance = loadPlugin (format, description);
        ASSERT_NE (instance, nullptr);

        findParameter (*instance, "Osc1WaveType")->setValue (0.75f);
        findParameter (*instance, "Osc1Offset")->setValue (1.0f);
        findParameter (*instance, "Osc1Offset")->setValue (0.5f);

        if (format == Format::vst3)
        {
            EXPECT_EQ (findParameter (*instance, "Osc1WaveType")->getCurrentValueAsText(), "Sawtooth");
            EXPECT_EQ (findParameter (*instance, "Osc1Offset")->getCurrentValueAsText(), "0 st");
        }

        // An LV2 host hands parameter changes over while it runs the plug-in.
        PluginHost::prepare (*instance, 48000.0, 512);
        PluginHost::render (*instance, 512);
        const auto heard = PluginHost::render (*instance, 16384, PluginHost::noteOn (69));

        EXPECT_NEAR (measureFrequency (heard, 4096, 16384, 48000.0), 440.0, 0.5);
        expectSameSamples (heard, expected, description.pluginFormatName.toRawUTF8());
    }
}

namespace
{
    // The state the plug-in wrote, from a JUCE VST3 host's saved state: its component's.
    juce::MemoryBlock pluginStateInVst3HostState (const juce::MemoryBlock& hostState)
    {
        juce::MemoryBlock pluginState;

        if (auto element = juce::AudioProcessor::getXmlFromBinary (hostState.getData(), (int) hostState.getSize()))
            if (auto* component = element->getChildByName ("IComponent"))
                pluginState.fromBase64Encoding (component->getAllSubText());

        return pluginState;
    }

    // A JUCE LV2 host's saved state (a Turtle text) with the plug-in's state property, which
    // JUCE's LV2 plug-ins keep as their state in base 64, replaced.
    juce::MemoryBlock withPluginStateInLv2HostState (const juce::MemoryBlock& hostState, const juce::MemoryBlock& pluginState)
    {
        const auto text = hostState.toString();
        const auto property = text.indexOf (":StateString> \"");

        if (property < 0)
            return {};

        const auto start = text.indexOfChar (property, '"') + 1;
        const auto end = text.indexOfChar (start, '"');
        const auto replaced = text.replaceSection (start, end - start, pluginState.toBase64Encoding());
        return { replaced.toRawUTF8(), replaced.getNumBytesAsUTF8() };
    }
}

namespace
{
    // The plug-in's state in a JUCE LV2 host's saved state.
    juce::MemoryBlock pluginStateInLv2HostState (const juce::MemoryBlock& hostState)
    {
        const auto text = hostState.toString();
        const auto property = text.indexOf (":StateString> \"");
        juce::MemoryBlock pluginState;

        if (property >= 0)
        {
            const auto start = text.indexOfChar (property, '"') + 1;
            pluginState.fromBase64Encoding (text.substring (start, text.indexOfChar (start, '"')));
        }

        return pluginState;
    }

    // A JUCE VST3 host's saved state with its component's state replaced.
    juce::MemoryBlock withPluginStateInVst3HostState (const juce::MemoryBlock& hostState, const juce::MemoryBlock& pluginState)
    {
        juce::MemoryBlock result;

        if (auto element = juce::AudioProcessor::getXmlFromBinary (hostState.getData(), (int) hostState.getSize()))
            if (auto* component = element->getChildByName ("IComponent"))
            {
                component->deleteAllTextElements();
                component->addTextElement (pluginState.toBase64Encoding());
                juce::AudioProcessor::copyXmlToBinary (*element, result);
            }

        return result;
    }
}

// A project's learned controller and channel come back with its state in every format: the
// restored instance's CC 74 on channel 2 opens the filter, and its state keeps both.
TEST (PluginFormats, AControllerLearnedInAProjectComesBackInEveryFormat)
{
    juce::PluginDescription description;
    auto source = loadPlugin (Format::vst3, description);
    ASSERT_NE (source, nullptr);
    juce::MemoryBlock vst3HostState;
    source->getStateInformation (vst3HostState);

    const auto plain = pluginStateInVst3HostState (vst3HostState);
    auto element = juce::AudioProcessor::getXmlFromBinary (plain.getData(), (int) plain.getSize());
    ASSERT_NE (element, nullptr);
    element->setAttribute ("MidiChannel", "2");
    auto* mapping = element->createNewChildElement ("MAPPING");
    mapping->setAttribute ("CC", 74);
    mapping->setAttribute ("Parameter", "Filter1Cutoff");
    juce::MemoryBlock learned;
    juce::AudioProcessor::copyXmlToBinary (*element, learned);

    for (const auto format : { Format::vst2, Format::vst3, Format::lv2 })
    {
        SCOPED_TRACE (formatName ({ format, 0 }));
        auto instance = loadPlugin (format, description);
        ASSERT_NE (instance, nullptr);
        juce::MemoryBlock hostState;
        instance->getStateInformation (hostState);

        if (format == Format::vst2)
            ASSERT_TRUE (juce::VSTPluginFormat::setChunkData (instance.get(), learned.getData(), (int) learned.getSize(), false));
        else
        {
            const auto state = format == Format::vst3 ? withPluginStateInVst3HostState (hostState, learned)
                                                      : withPluginStateInLv2HostState (hostState, learned);
            ASSERT_FALSE (state.isEmpty());
            instance->setStateInformation (state.getData(), (int) state.getSize());
        }

        PluginHost::prepare (*instance, 48000.0, 512);
        juce::MidiBuffer midi;
        midi.addEvent (juce::MidiMessage::controllerEvent (1, 74, 0), 0);     // another channel
        midi.addEvent (juce::MidiMessage::controllerEvent (2, 74, 127), 1);
        PluginHost::render (*instance, 512, midi);

        juce::MemoryBlock saved;

        if (format == Format::vst2)
            ASSERT_TRUE (juce::VSTPluginFormat::getChunkData (instance.get(), saved, false));
        else
        {
            instance->getStateInformation (hostState);
            saved = format == Format::vst3 ? pluginStateInVst3HostState (hostState) : pluginStateInLv2HostState (hostState);
        }

        const auto restored = juce::AudioProcessor::getXmlFromBinary (saved.getData(), (int) saved.getSize());
        ASSERT_NE (restored, nullptr);
        EXPECT_EQ (restored->getStringAttribute ("Filter1Cutoff"), "1");
        EXPECT_EQ (restored->getStringAttribute ("MidiChannel"), "2");
        ASSERT_NE (restored->getChildByName ("MAPPING"), nullptr);
        EXPECT_EQ (restored->getChildByName ("MAPPING")->getStringAttribute ("CC"), "74");
    }
}

// A project saved in a VST3 host after automating the bandpass: opened in a VST2 or an LV2
// host, or rendered by quenby-render from the same state chunk, it sounds the same.
TEST (PluginFormats, AStateSavedThroughVst3RestoresTheBandpassEverywhere)
{
    juce::PluginDescription description;
    auto vst3 = loadPlugin (Format::vst3, description);
    auto vst2 = loadPlugin (Format::vst2, description);
    auto lv2 = loadPlugin (Format::lv2, description);
    ASSERT_TRUE (vst3 != nullptr && vst2 != nullptr && lv2 != nullptr);

    findParameter (*vst3, "Osc1WaveType")->setValue (0.75f);
    findParameter (*vst3, "Filter1Active")->setValue (1.0f);
    findParameter (*vst3, "Filter1Type")->setValue (0.5f);
    PluginHost::prepare (*vst3, 48000.0, 512);
    PluginHost::render (*vst3, 512);

    // Each host keeps the plug-in's state in a container of its own: the VST3 host's holds
    // it as its component's state; a VST2 host hands it over as the plug-in's chunk; an LV2
    // host's keeps it as a text property of its saved state, here put into a state the LV2
    // host saved itself.
    juce::MemoryBlock vst3HostState, lv2HostState;
    vst3->getStateInformation (vst3HostState);
    lv2->getStateInformation (lv2HostState);
    const auto state = pluginStateInVst3HostState (vst3HostState);
    ASSERT_GT (state.getSize(), 8u);

    ASSERT_TRUE (juce::VSTPluginFormat::setChunkData (vst2.get(), state.getData(), (int) state.getSize(), false));
    EXPECT_EQ (findParameter (*vst2, "Filter1Type")->getValue(), 1.0f);
    EXPECT_EQ (findParameter (*vst2, "Filter1Type")->getCurrentValueAsText(), "Bandpass");

    const auto lv2State = withPluginStateInLv2HostState (lv2HostState, state);
    ASSERT_FALSE (lv2State.isEmpty());
    lv2->setStateInformation (lv2State.getData(), (int) lv2State.getSize());

    PluginHost::prepare (*vst2, 48000.0, 512);
    PluginHost::prepare (*lv2, 48000.0, 512);
    const auto note = PluginHost::noteOn (57);
    const auto expected = PluginHost::render (*vst3, 16384, note);
    expectSameSamples (PluginHost::render (*vst2, 16384, note), expected, "VST2");
    expectSameSamples (PluginHost::render (*lv2, 16384, note), expected, "LV2");

    // The renderer, from the chunk saved to a file, in the same blocks.
    const auto folder = juce::File::createTempFile ("quenby-state-render");
    ASSERT_TRUE (folder.createDirectory());
    const auto chunkFile = folder.getChildFile ("bandpass.chunk"), midiFile = folder.getChildFile ("note.mid");
    const auto wavFile = folder.getChildFile ("note.wav");
    ASSERT_TRUE (chunkFile.replaceWithData (state.getData(), state.getSize()));
    {
        juce::MidiMessageSequence track;
        track.addEvent (juce::MidiMessage::noteOn (1, 57, 0.9f), 0.0);
        track.addEvent (juce::MidiMessage::noteOff (1, 57), 960.0);
        juce::MidiFile midi;
        midi.setTicksPerQuarterNote (960);
        midi.addTrack (track);
        juce::FileOutputStream stream (midiFile);
        ASSERT_TRUE (midi.writeTo (stream));
    }

    juce::ChildProcess renderer;
    ASSERT_TRUE (renderer.start (juce::StringArray { QUENBY_RENDER_BINARY, "--state", chunkFile.getFullPathName(), "--block", "512",
                                                     "--rate", "48000", midiFile.getFullPathName(), wavFile.getFullPathName() }));
    const auto output = renderer.readAllProcessOutput();
    ASSERT_TRUE (renderer.waitForProcessToFinish (60000));
    ASSERT_EQ (renderer.getExitCode(), 0u) << output;

    juce::WavAudioFormat wav;
    std::unique_ptr<juce::AudioFormatReader> reader (wav.createReaderFor (wavFile.createInputStream().release(), true));
    ASSERT_NE (reader, nullptr);
    juce::AudioBuffer<float> rendered (2, (int) reader->lengthInSamples);
    reader->read (&rendered, 0, rendered.getNumSamples(), 0, true, true);
    expectSameSamples (rendered, expected, "quenby-render --state");

    folder.deleteRecursively();
}
