#pragma once

#include <juce_core/juce_core.h>

#include <array>

// How the instrument is played from a MIDI controller: the channel it listens on, and which
// controller (CC 0 ... 127) moves which parameter. One controller moves one parameter and a
// parameter has at most one controller. The bank selects (CC 0 and 32), the modulation
// wheel (1), the sustain and sostenuto pedals (64, 66) and the channel mode messages
// (120 ... 127, all sound off and all notes off among them) keep their own meanings and are
// never bound; only parameters the window has a control for are.
//
// Kept in an element (the user's settings, a state chunk) as its attribute "MidiChannel"
// ("Omni" or 1 ... 16) and one child "MAPPING" per controller, CC="74"
// Parameter="Filter1Cutoff". A plain value: copy it freely.
class MidiMappings
{
public:
    static constexpr int omni = 0;
    static constexpr int numControllers = 128;
    static constexpr int none = -1;

    static bool isLearnable (int controller) noexcept;
    static bool isMappable (int parameterIndex) noexcept;

    // 0 for Omni, else 1 ... 16; any other number is ignored.
    int getChannel() const noexcept                 { return channel; }
    void setChannel (int newChannel) noexcept;
    static bool isChannel (int number) noexcept     { return number >= omni && number <= 16; }

    // "Omni" or the channel's number.
    static juce::String channelText (int channel);

    // The parameter a controller moves, or none.
    int getParameter (int controller) const noexcept;

    // The controller that moves a parameter, or none.
    int getController (int parameterIndex) const noexcept;

    // Binds a controller to a parameter, forgetting what either was bound to before. False,
    // changing nothing, for a controller that keeps its own meaning or a parameter without
    // a control.
    bool bind (int controller, int parameterIndex) noexcept;

    void forgetParameter (int parameterIndex) noexcept;

    bool operator== (const MidiMappings& other) const noexcept;
    bool operator!= (const MidiMappings& other) const noexcept   { return ! operator== (other); }

    // Whether an element holds mappings (its channel or any controller); a state chunk
    // without them keeps the mappings the instance has.
    static bool isHeldBy (const juce::XmlElement& element);

    // Replaces these mappings with the element's. A channel or mapping that is damaged or out
    // of range (an unknown parameter, a controller that keeps its meaning, a controller or
    // parameter bound before) is left out, and problems says so.
    void readFrom (const juce::XmlElement& element, juce::StringArray& problems);

    // Writes the channel and the controllers in their order, replacing the element's own.
    void writeTo (juce::XmlElement& element) const;

    static constexpr const char* channelAttribute = "MidiChannel";
    static constexpr const char* mappingTag = "MAPPING";

private:
    int channel = omni;
    std::array<int, numControllers> parameterOfController = makeEmpty();

    static constexpr std::array<int, numControllers> makeEmpty()
    {
        std::array<int, numControllers> empty {};

        for (auto& parameter : empty)
            parameter = none;

        return empty;
    }
};
