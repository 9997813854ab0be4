#pragma once

class HostParameter;
class QuenbyAudioProcessorEditor;

// Binds an editor control to one parameter of the current program. The panel that creates
// a control binds it once by setting both members; until then the control writes nothing.
// Message thread.
class PluginControl
{
public:
    static constexpr int unboundIndex = 1000;

    QuenbyAudioProcessorEditor* editor = nullptr;
    int parameterIndex = unboundIndex;

    bool isBound() const noexcept;

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

private:
    HostParameter* getHostParameter() const;

    bool inGesture = false;
};
