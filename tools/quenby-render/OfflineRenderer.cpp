#include "OfflineRenderer.h"
#include "AuditionPhrase.h"
#include "Model/Enumeration.h"
#include "Model/UserSettings.h"
#include "Model/FactoryBank.h"
#include "Processor/PluginProcessor.h"
#include "Processor/StateChunk.h"

#include <juce_audio_formats/juce_audio_formats.h>

#include <algorithm>

namespace
{
    // The song's tempo from each change on: its time in seconds, the beats (quarter notes)
    // counted up to it, and its beats per minute. A MIDI file without a tempo plays at 120.
    struct TempoChange
    {
        double seconds, beats, bpm;
    };

    using TempoMap = std::vector<TempoChange>;

    // The host's transport as the renderer plays it: running, 4/4, at the tempo the song
    // has at each block's start, with the song position counted through every change.
    class RenderPlayHead : public juce::AudioPlayHead
    {
    public:
        RenderPlayHead (TempoMap mapToUse, double sampleRateToUse) : map (std::move (mapToUse)), sampleRate (sampleRateToUse) {}

        juce::Optional<PositionInfo> getPosition() const override
        {
            const auto seconds = (double) position / sampleRate;
            auto change = map.front();

            for (const auto& later : map)
                if (later.seconds <= seconds)
                    change = later;

            const auto beats = change.beats + (seconds - change.seconds) * change.bpm / 60.0;

            PositionInfo info;
            info.setBpm (change.bpm);
            info.setTimeSignature (TimeSignature { 4, 4 });
            info.setTimeInSamples (position);
            info.setTimeInSeconds (seconds);
            info.setPpqPosition (beats);
            info.setPpqPositionOfLastBarStart (4.0 * std::floor (beats / 4.0));
            info.setIsPlaying (true);
            return info;
        }

        juce::int64 position = 0;

    private:
        const TempoMap map;
        const double sampleRate;
    };

    // Every track's events merged, timestamps in seconds, and the tempo changes.
    bool readMidiFile (const juce::File& file, juce::MidiMessageSequence& events, TempoMap& tempos, juce::String& error)
    {
        if (! file.existsAsFile())
        {
            error = "cannot find MIDI file " + file.getFullPathName();
            return false;
        }

        juce::FileInputStream stream (file);
        juce::MidiFile midi;

        if (! stream.openedOk())
        {
            error = "cannot read MIDI file " + file.getFullPathName();
            return false;
        }

        if (! midi.readFrom (stream))
        {
            error = file.getFullPathName() + " is not a Standard MIDI File";
            return false;
        }

        midi.convertTimestampTicksToSeconds();
        juce::MidiMessageSequence tempoEvents;
        midi.findAllTempoEvents (tempoEvents);
        tempos = { { 0.0, 0.0, 120.0 } };

        for (const auto* event : tempoEvents)
        {
            const auto secondsPerQuarter = event->message.getTempoSecondsPerQuarterNote();
            const auto& last = tempos.back();
            const auto seconds = juce::jmax (last.seconds, event->message.getTimeStamp());

            if (secondsPerQuarter > 0.0)
                tempos.push_back ({ seconds, last.beats + (seconds - last.seconds) * last.bpm / 60.0, 60.0 / secondsPerQuarter });
        }

        // A change at the very start replaces the default.
        if (tempos.size() > 1 && tempos[1].seconds <= 0.0)
            tempos.erase (tempos.begin());

        for (int track = 0; track < midi.getNumTracks(); ++track)
            events.addSequence (*midi.getTrack (track), 0.0);

        events.sort();
        return true;
    }

    // The song the options name: the MIDI file's events (or the built-in phrase) and its
    // tempo map; --bpm plays the whole song at one tempo.
    bool readSong (const RenderOptions& options, juce::MidiMessageSequence& events, TempoMap& tempos, juce::String& error)
    {
        if (options.phrase.isNotEmpty())
        {
            events = AuditionPhrase::get (options.phrase);
            tempos = { { 0.0, 0.0, AuditionPhrase::bpm } };

            if (events.getNumEvents() == 0)
            {
                error = "no phrase named '" + options.phrase + "' (" + AuditionPhrase::getNames().joinIntoString (", ") + ")";
                return false;
            }
        }
        else if (! readMidiFile (options.midiFile, events, tempos, error))
        {
            return false;
        }

        if (options.bpm.has_value())
            tempos = { { 0.0, 0.0, *options.bpm } };

        return true;
    }
}

OfflineRenderer::OfflineRenderer (const RenderOptions& optionsToUse)
    : options (optionsToUse)
{
}

juce::String OfflineRenderer::describe (const Result& result, const juce::File& outputFile)
{
    juce::StringArray peaks;

    for (const auto peak : result.peaks)
        peaks.add (peak > 0.0f ? juce::String (20.0 * std::log10 ((double) peak), 1) + " dBFS" : "silent");

    const auto rms = result.rms > 0.0 ? juce::String (20.0 * std::log10 (result.rms), 1) + " dBFS" : juce::String ("silent");

    return outputFile.getFullPathName() + ": " + juce::String (result.getAudioSeconds(), 2) + " s at "
            + juce::String ((int) result.sampleRate) + " Hz, " + juce::String (result.bpm, 1) + " bpm; peak "
            + peaks.joinIntoString (" | ") + "; RMS " + rms + "; " + juce::String (result.getRealTimeFactor(), 1) + "x real time";
}

bool OfflineRenderer::applyParameterSets (QuenbyAudioProcessor& processor, const RenderOptions& renderOptions, juce::String& error)
{
    for (const auto& [name, value] : renderOptions.parameterSets)
    {
        const auto index = Enumeration::findIndex (name);

        if (index == ParameterIndex::none)
        {
            error = "unknown parameter '" + name + "' (names are like " + Enumeration::getName (ParameterIndex::Osc1Gain)
                    + ", " + Enumeration::getName (ParameterIndex::Filter1Cutoff) + ", "
                    + Enumeration::getName (ParameterIndex::CurrentPlayMode) + ")";
            return false;
        }

        processor.getEditPath().set (index, value, ParameterEditPath::Writer::host);
    }

    return true;
}

bool OfflineRenderer::setUpSound (QuenbyAudioProcessor& processor, const RenderOptions& renderOptions, juce::String& error)
{
    auto& database = *processor.state->database;
    auto& programs = processor.getProgramManager();

    if (renderOptions.programFile != juce::File())
    {
        // Added to the programs in memory and made current; the database file is not written.
        const auto imported = programs.importPrograms (renderOptions.programFile);

        if (imported.error.isNotEmpty())
        {
            error = "cannot play a program of " + renderOptions.programFile.getFullPathName() + ": " + imported.error;
            return false;
        }
    }
    else if (renderOptions.programName.isNotEmpty())
    {
        PluginProgram* program = nullptr;

        for (int i = 0; i < database.getNumPrograms() && program == nullptr; ++i)
            if (database.getProgram (i)->getName() == renderOptions.programName)
                program = database.getProgram (i);

        if (program == nullptr)
        {
            // A factory program the user deleted still plays; the database is not written.
            const auto* factory = FactoryBank::findProgram (renderOptions.programName);

            if (factory == nullptr)
            {
                error = "no program named '" + renderOptions.programName + "' in " + PluginDatabase::getDatabaseFile().getFullPathName()
                        + " or the factory bank";
                return false;
            }

            program = database.createProgram();
            program->copyFrom (*factory);
        }

        programs.selectProgram (program, true);
    }
    else
    {
        // A program with the default values, leaving the user's programs as they are.
        processor.switchToProgram (database.createProgram());
    }

    if (renderOptions.stateFile != juce::File())
    {
        juce::MemoryBlock chunk;

        if (! renderOptions.stateFile.loadFileAsData (chunk))
        {
            error = "cannot read state file " + renderOptions.stateFile.getFullPathName();
            return false;
        }

        // The processor ignores what it cannot read; the renderer says so instead.
        const auto element = StateChunk::read (chunk.getData(), chunk.getSize());

        if (element == nullptr || ! StateChunk::holdsProgram (*element))
        {
            error = renderOptions.stateFile.getFullPathName() + " is not a Quenby state chunk";
            return false;
        }

        processor.setStateInformation (chunk.getData(), (int) chunk.getSize());
    }

    if (renderOptions.scaleFile != juce::File() || renderOptions.mappingFile != juce::File())
    {
        const auto read = Tuning::readFiles (renderOptions.scaleFile, renderOptions.mappingFile);

        if (! read.tuning.has_value())
        {
            error = read.error;
            return false;
        }

        processor.setTuning (*read.tuning);
    }

    if (! applyParameterSets (processor, renderOptions, error))
        return false;

    for (const auto& [controller, parameterIndex] : renderOptions.controllerBindings)
        processor.getMidiInput().bind (controller, parameterIndex);

    if (renderOptions.saveStateFile != juce::File())
    {
        juce::MemoryBlock chunk;
        processor.getStateInformation (chunk);

        const juce::TemporaryFile temporary (renderOptions.saveStateFile);

        if (! temporary.getFile().replaceWithData (chunk.getData(), chunk.getSize())
             || ! temporary.overwriteTargetFileWithTemporary())
        {
            error = "cannot write state file " + renderOptions.saveStateFile.getFullPathName();
            return false;
        }
    }

    return true;
}

juce::StringArray OfflineRenderer::describeDatabase (const PluginDatabase& database)
{
    juce::StringArray notes;
    const auto path = PluginDatabase::getDatabaseFile().getFullPathName();

    if (database.getLoadProblem().isNotEmpty())
        notes.add (path + " " + database.getLoadProblem() + "; it was not read completely and is left as it is");

    if (database.getKeptCopy() != juce::File())
        notes.add ("kept a copy of " + path + " as " + database.getKeptCopy().getFullPathName() + " before writing it");

    return notes;
}

void OfflineRenderer::noteMidiProblems (QuenbyAudioProcessor& processor)
{
    if (const auto settings = UserSettings::load(); settings.problem.isNotEmpty())
        warnings.add (settings.problem + " (" + UserSettings::getDefaultFile().getFullPathName() + "); what it does not hold properly was left out");

    if (const auto problem = processor.getMidiInput().takeProblem(); problem.isNotEmpty())
        warnings.add (problem);
}

bool OfflineRenderer::saveStateOnly (juce::String& error)
{
    QuenbyAudioProcessor processor;
    warnings = describeDatabase (*processor.state->database);
    const auto done = setUpSound (processor, options, error);
    noteMidiProblems (processor);
    return done;
}

bool OfflineRenderer::render (Result& result, juce::String& error, const ProgressCallback& progress)
{
    const auto outputFile = options.outputFile;
    juce::TemporaryFile temporary (outputFile);
    std::unique_ptr<juce::AudioFormatWriter> writer;

    // The file is opened with the first block, once the song and the sound are set up.
    const auto openWriter = [&] (juce::String& sinkError)
    {
        auto stream = temporary.getFile().createOutputStream();

        if (stream == nullptr || ! stream->openedOk())
        {
            sinkError = "cannot write " + outputFile.getFullPathName();
            return false;
        }

        juce::WavAudioFormat wav;
        writer.reset (wav.createWriterFor (stream.get(), options.sampleRate, (unsigned int) options.numChannels, options.bitsPerSample, {}, 0));

        if (writer == nullptr)
        {
            sinkError = "cannot write a WAV file with these settings";
            return false;
        }

        stream.release();   // now owned by the writer
        return true;
    };

    const auto toFile = [&] (const juce::AudioBuffer<float>& block, int numSamples, juce::String& sinkError)
    {
        if (writer == nullptr && ! openWriter (sinkError))
            return false;

        if (writer->writeFromAudioSampleBuffer (block, 0, numSamples))
            return true;

        sinkError = "failed writing " + outputFile.getFullPathName();
        return false;
    };

    if (! renderSong (toFile, result, error, progress))
        return false;

    // A song of no samples still makes a file.
    if (writer == nullptr && ! openWriter (error))
        return false;

    writer.reset();   // flushes and closes the temporary file

    if (! temporary.overwriteTargetFileWithTemporary())
    {
        error = "cannot write " + outputFile.getFullPathName();
        return false;
    }

    return true;
}

bool OfflineRenderer::renderToBuffer (juce::AudioBuffer<float>& output, Result& result, juce::String& error)
{
    std::vector<juce::AudioBuffer<float>> blocks;

    const auto toMemory = [&] (const juce::AudioBuffer<float>& block, int numSamples, juce::String&)
    {
        blocks.emplace_back (block.getNumChannels(), numSamples);
        blocks.back().makeCopyOf (block, true);
        blocks.back().setSize (block.getNumChannels(), numSamples, true);
        return true;
    };

    if (! renderSong (toMemory, result, error, {}))
        return false;

    output.setSize (options.numChannels, (int) result.numSamples);
    int position = 0;

    for (const auto& block : blocks)
    {
        for (int channel = 0; channel < output.getNumChannels(); ++channel)
            output.copyFrom (channel, position, block, channel, 0, block.getNumSamples());

        position += block.getNumSamples();
    }

    return true;
}

bool OfflineRenderer::renderSong (const BlockSink& sink, Result& result, juce::String& error, const ProgressCallback& progress)
{
    juce::MidiMessageSequence events;
    TempoMap tempos;

    if (! readSong (options, events, tempos, error))
        return false;

    const auto bpm = tempos.front().bpm;
    const auto rate = options.sampleRate;
    const auto numChannels = options.numChannels;
    const auto blockSize = options.blockSize;

    QuenbyAudioProcessor processor;
    warnings = describeDatabase (*processor.state->database);

    const auto channelSet = juce::AudioChannelSet::canonicalChannelSet (numChannels);
    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add (channelSet);
    layout.outputBuses.add (channelSet);

    if (! processor.setBusesLayout (layout))
    {
        error = "the processor refused " + juce::String (numChannels) + " channel(s)";
        return false;
    }

    RenderPlayHead playHead (tempos, rate);
    processor.setPlayHead (&playHead);
    processor.setRateAndBufferSizeDetails (rate, blockSize);
    processor.prepareToPlay (rate, blockSize);

    // One empty block lets the processor record the play head's tempo; the settings then
    // take it up together with the program, state and --set values.
    juce::AudioBuffer<float> buffer (numChannels, blockSize);
    juce::MidiBuffer midi;
    {
        juce::AudioBuffer<float> empty (numChannels, 0);
        processor.processBlock (empty, midi);
    }

    if (! setUpSound (processor, options, error))
        return false;

    noteMidiProblems (processor);

    // --at changes in time order (those at the same time in the order given), each applied
    // before the block in which it falls, as a host with fixed-size blocks does.
    auto changes = options.timedChanges;
    std::stable_sort (changes.begin(), changes.end(), [] (const auto& a, const auto& b) { return a.seconds < b.seconds; });
    const auto sampleOf = [rate] (double seconds) { return (juce::int64) std::llround (seconds * rate); };
    size_t nextChange = 0;

    // A change after the song's last event still happens: the render goes on to it.
    const auto lastEventSample = juce::jmax (events.getNumEvents() > 0 ? sampleOf (events.getEndTime()) : (juce::int64) 0,
                                             changes.empty() ? (juce::int64) 0 : sampleOf (changes.back().seconds));
    const auto capSample = lastEventSample + (juce::int64) std::llround (options.tailSeconds * rate);
    const auto silenceNeeded = (juce::int64) std::llround (0.5 * rate);
    constexpr float silenceThreshold = 1.0e-5f;   // -100 dBFS, below the reverb's own noise floor

    result = {};
    result.sampleRate = rate;
    result.bpm = bpm;
    result.peaks.assign ((size_t) numChannels, 0.0f);

    juce::int64 position = 0;
    juce::int64 silentSamples = 0;
    int nextEvent = 0;
    double sumOfSquares = 0.0;

    while (true)
    {
        const bool eventsDone = nextEvent >= events.getNumEvents() && nextChange >= changes.size() && position >= lastEventSample;

        // Echoes may still come out of the delay's line after a silence.
        if (eventsDone && ((silentSamples >= silenceNeeded && ! processor.holdsEchoes()) || position >= capSample))
            break;

        // Past the last event only up to the cap; before it, always whole host blocks.
        const auto blockLength = eventsDone ? (int) juce::jmin ((juce::int64) blockSize, capSample - position)
                                            : blockSize;

        midi.clear();

        while (nextEvent < events.getNumEvents())
        {
            const auto& message = events.getEventPointer (nextEvent)->message;
            const auto eventSample = (juce::int64) std::llround (message.getTimeStamp() * rate);

            if (eventSample >= position + blockLength)
                break;

            if (! message.isMetaEvent())
                midi.addEvent (message, (int) juce::jmax ((juce::int64) 0, eventSample - position));

            ++nextEvent;
        }

        for (; nextChange < changes.size() && sampleOf (changes[nextChange].seconds) < position + blockLength; ++nextChange)
            processor.getEditPath().set (changes[nextChange].parameterIndex, changes[nextChange].value, ParameterEditPath::Writer::host);

        buffer.setSize (numChannels, blockLength, false, false, true);
        playHead.position = position;

        const auto started = juce::Time::getMillisecondCounterHiRes();
        processor.processBlock (buffer, midi);
        result.processingSeconds += (juce::Time::getMillisecondCounterHiRes() - started) * 0.001;

        // What the block's MIDI asks of the message thread (a program change) is done before
        // the next block; in a host a timer does it a few milliseconds later.
        processor.handleMidiRequests();

        bool blockSilent = true;

        for (int channel = 0; channel < numChannels; ++channel)
        {
            const auto range = buffer.findMinMax (channel, 0, blockLength);
            const auto peak = juce::jmax (std::abs (range.getStart()), std::abs (range.getEnd()));
            result.peaks[(size_t) channel] = juce::jmax (result.peaks[(size_t) channel], peak);
            blockSilent = blockSilent && peak <= silenceThreshold;

            const auto* samples = buffer.getReadPointer (channel);
            const auto songSamples = (int) juce::jlimit ((juce::int64) 0, (juce::int64) blockLength, lastEventSample - position);

            for (int i = 0; i < songSamples; ++i)
                sumOfSquares += (double) samples[i] * samples[i];
        }

        silentSamples = blockSilent ? silentSamples + blockLength : 0;

        if (! sink (buffer, blockLength, error))
            return false;

        position += blockLength;

        if (progress)
            progress (juce::jlimit (0.0, 1.0, (double) position / (double) juce::jmax ((juce::int64) 1, lastEventSample + silenceNeeded)));
    }

    processor.releaseResources();
    processor.setPlayHead (nullptr);
    result.numSamples = position;

    const auto songLength = (double) juce::jmin (position, lastEventSample) * numChannels;
    result.rms = songLength > 0.0 ? std::sqrt (sumOfSquares / songLength) : 0.0;
    return true;
}
