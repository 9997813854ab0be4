#include "Processor/MidiInput.h"
#include "Model/ParameterConversion.h"
#include "Processor/ParameterEditPath.h"

namespace
{
    constexpr int noteOff = 0x80, noteOn = 0x90, controllerChange = 0xb0, programChange = 0xc0;
    constexpr int bankSelect = 0, bankSelectFine = 32;

    bool isChannelMessage (juce::uint8 status) noexcept    { return status >= 0x80 && status < 0xf0; }
    int channelOf (juce::uint8 status) noexcept            { return (status & 0x0f) + 1; }
    int typeOf (juce::uint8 status) noexcept               { return status & 0xf0; }

    // A controller message whose number and value are data bytes.
    bool isController (const juce::MidiMessageMetadata& event) noexcept
    {
        return event.numBytes >= 3 && typeOf (event.data[0]) == controllerChange && event.data[1] < 0x80 && event.data[2] < 0x80;
    }
}

MidiInput::MidiInput()
{
    for (auto& parameter : parameterOfController)
        parameter.store (none);

    blockValues.fill (none);
    keptMessages.ensureSize (reservedMidiBytes);
}

float MidiInput::valueFor (int parameterIndex, int controllerValue) noexcept
{
    return ParameterConversion::fromNormalised (parameterIndex, (float) juce::jlimit (0, 127, controllerValue) / 127.0f);
}

bool MidiInput::wouldDrop (const juce::MidiMessageMetadata& event, int listenChannel) const noexcept
{
    if (event.numBytes < 1 || ! isChannelMessage (event.data[0]))
        return false;

    if (listenChannel != MidiMappings::omni && channelOf (event.data[0]) != listenChannel)
        return true;

    if (typeOf (event.data[0]) == programChange)
        return true;

    if (! isController (event))
        return false;

    const int controller = event.data[1];
    return controller == bankSelect || controller == bankSelectFine
        || (learningParameter.load() == none && parameterOfController[(size_t) controller].load() != none);
}

MidiInput::Handling MidiInput::handle (const juce::MidiMessageMetadata& event, int listenChannel) noexcept
{
    if (event.numBytes < 1 || ! isChannelMessage (event.data[0]))
        return Handling::keep;

    const auto status = event.data[0];

    if (listenChannel != MidiMappings::omni && channelOf (status) != listenChannel)
        return Handling::drop;

    const auto type = typeOf (status);

    if (type != noteOn && type != noteOff)
        activity.fetch_add (1, std::memory_order_relaxed);

    if (type == programChange)
    {
        if (event.numBytes >= 2 && event.data[1] < 0x80)
            programRequest.store ((bankCoarse * 128 + bankFine) * 128 + event.data[1]);

        return Handling::drop;
    }

    if (! isController (event))
        return Handling::keep;

    const int controller = event.data[1], value = event.data[2];
    const auto learning = learningParameter.load();

    if (learning != none)
    {
        auto expected = none;

        if (MidiMappings::isLearnable (controller))
            caughtController.compare_exchange_strong (expected, controller);
        else
            refusedController.store (controller);
    }

    if (controller == bankSelect || controller == bankSelectFine)
    {
        (controller == bankSelect ? bankCoarse : bankFine) = value;
        return Handling::drop;
    }

    if (learning == none)
    {
        const auto parameterIndex = parameterOfController[(size_t) controller].load();

        if (ParameterIndex::isValid (parameterIndex))
        {
            blockValues[(size_t) parameterIndex] = value;
            return Handling::drop;
        }
    }

    return Handling::keep;
}

void MidiInput::process (juce::MidiBuffer& midi, ParameterEditPath& editPath) noexcept
{
    const auto listenChannel = channel.load();
    bool dropsAny = false;

    for (const auto event : midi)
    {
        if (wouldDrop (event, listenChannel))
        {
            dropsAny = true;
            break;
        }
    }

    if (dropsAny)
        keptMessages.clear();

    for (const auto event : midi)
        if (handle (event, listenChannel) == Handling::keep && dropsAny)
            keptMessages.addEvent (event.data, event.numBytes, event.samplePosition);

    // The kept messages go back as whole bytes: the block's buffer has room for them, since
    // it held more, so nothing is allocated.
    if (dropsAny)
    {
        midi.data.clearQuick();
        midi.data.addArray (keptMessages.data.begin(), keptMessages.data.size());
    }

    // A controller's last value in the block is the one that counts.
    for (int index = 0; index < ParameterIndex::count; ++index)
    {
        auto& value = blockValues[(size_t) index];

        if (value == none)
            continue;

        editPath.set (index, valueFor (index, value), ParameterEditPath::Writer::controller);
        moved[(size_t) index].store (true);
        value = none;
    }
}

bool MidiInput::takeMoved (int parameterIndex) noexcept
{
    return ParameterIndex::isValid (parameterIndex) && moved[(size_t) parameterIndex].exchange (false);
}

void MidiInput::publish()
{
    for (int controller = 0; controller < MidiMappings::numControllers; ++controller)
        parameterOfController[(size_t) controller].store (mappings.getParameter (controller));

    channel.store (mappings.getChannel());
}

MidiMappings MidiInput::getMappings() const
{
    const juce::ScopedLock lock (writeLock);
    return mappings;
}

void MidiInput::setMappings (const MidiMappings& newMappings, const juce::String& whyIncomplete)
{
    const juce::ScopedLock lock (writeLock);
    problem = whyIncomplete;
    mappings = newMappings;
    publish();
}

juce::String MidiInput::takeProblem()
{
    const juce::ScopedLock lock (writeLock);
    return std::exchange (problem, {});
}

bool MidiInput::bind (int controller, int parameterIndex)
{
    const juce::ScopedLock lock (writeLock);

    if (! mappings.bind (controller, parameterIndex))
        return false;

    publish();
    return true;
}

void MidiInput::forget (int parameterIndex)
{
    const juce::ScopedLock lock (writeLock);
    mappings.forgetParameter (parameterIndex);
    publish();
}

void MidiInput::setChannel (int newChannel)
{
    const juce::ScopedLock lock (writeLock);
    mappings.setChannel (newChannel);
    publish();
}

int MidiInput::getChannel() const noexcept
{
    return channel.load();
}

int MidiInput::getController (int parameterIndex) const
{
    const juce::ScopedLock lock (writeLock);
    return mappings.getController (parameterIndex);
}

void MidiInput::startLearning (int parameterIndex)
{
    if (! MidiMappings::isMappable (parameterIndex))
        return;

    caughtController.store (none);
    refusedController.store (none);
    learningParameter.store (parameterIndex);
}

void MidiInput::cancelLearning() noexcept
{
    learningParameter.store (none);
    caughtController.store (none);
}

int MidiInput::completeLearning()
{
    const auto controller = caughtController.exchange (none);
    const auto parameterIndex = learningParameter.load();

    if (controller == none || parameterIndex == none)
        return none;

    learningParameter.store (none);
    return bind (controller, parameterIndex) ? parameterIndex : none;
}
