#pragma once

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
    // Writes through the edit path: the engine follows, the host is not notified.
    void writeValue (float value) const;

    // The display shows this control's parameter while the mouse is over it.
    void showOnDisplay() const;
    void clearFromDisplay() const;
    void refreshDisplay() const;
};
