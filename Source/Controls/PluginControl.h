#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

class HostParameter;
class QuenbyAudioProcessorEditor;

// Binds an editor control to one parameter of the current program. The panel that creates
// a control binds it once by setting both members; until then the control writes nothing.
// Every kind of control has the same right-click menu, to which a kind adds its own
// entries: MIDI learn, the parameter's "Reset to default", and whatever the window offers
// for any parameter. Message thread.
class PluginControl
{
public:
    static constexpr int unboundIndex = 1000;

    virtual ~PluginControl() = default;

    QuenbyAudioProcessorEditor* editor = nullptr;
    int parameterIndex = unboundIndex;

    bool isBound() const noexcept;

    // The right-click menu of this control: its kind's entries, then the entries of every
    // control. Each entry acts on the control while it still exists.
    juce::PopupMenu createContextMenu();

    // Writes the parameter's default value as a change of the musician's.
    void resetToDefault();

    // A stored value of this control's parameter in its unit, as the display shows it.
    juce::String getValueText (float storedValue) const;

protected:
    // Writes through the edit path, so the engine follows, and tells the host: inside the
    // open gesture of a drag, else inside a gesture of its own, so a host records the
    // change as automation.
    void writeValue (float value);

    // A drag is one gesture for the host, however many values it writes.
    void beginGesture();
    void endGesture();

    // The display shows this control's parameter while the mouse is over it.
    void showOnDisplay() const;
    void clearFromDisplay() const;
    void refreshDisplay() const;

    // The control as a component, for the menu and the window's overlays.
    virtual juce::Component& asComponent() = 0;

    // The entries only this kind of control has, added before those of every control.
    virtual void addOwnMenuItems (juce::PopupMenu&) {}

    // Shows a stored value in the widget and writes it as the musician's change.
    virtual void showAndWrite (float storedValue) = 0;

    // Opens the right-click menu beside the control.
    void showContextMenu();

    // Runs an entry's action only while the control exists.
    std::function<void()> whileAlive (std::function<void (PluginControl&)> action);

    HostParameter* getHostParameter() const;

private:
    // "MIDI learn" (or "Cancel MIDI learn" while it learns) and "Forget CC n" once bound.
    void addMidiMenuItems (juce::PopupMenu&);

    bool inGesture = false;
};
