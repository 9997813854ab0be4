#pragma once

#include "Model/ParameterTable.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>
#include <vector>

class QuenbyAudioProcessorEditor;

// The rows a section panel is built from, so that a panel's code reads like its layout.
namespace PanelTable
{
    enum class Kind { group, slider, label, comboBox, toggle, decibelScale, levelMeter };

    struct Bounds
    {
        int x, y, width, height;
    };

    inline constexpr float labelFontHeight = 13.0f;

    // One child of a panel, in creation order, which is also the z-order. A control's
    // parameter gives its range or items; a panel of which the edit page holds one is also
    // bound to it.
    struct Child
    {
        Kind kind;
        const char* member;          // also the component name, unless componentName says otherwise
        const char* text;            // a group's default title, a label's or a toggle's text
        Bounds bounds;               // in panel coordinates, whatever the panel's size
        ParameterIndex::Index parameter;
        float fontHeight;            // a label's
        const char* componentName;   // null: the member name
    };

    constexpr Child group (const char* member, const char* text, Bounds bounds, const char* componentName = nullptr)
    {
        return { Kind::group, member, text, bounds, ParameterIndex::none, 0.0f, componentName };
    }

    constexpr Child slider (const char* member, Bounds bounds, ParameterIndex::Index parameter)
    {
        return { Kind::slider, member, "", bounds, parameter, 0.0f, nullptr };
    }

    constexpr Child label (const char* member, const char* text, Bounds bounds, float fontHeight = labelFontHeight)
    {
        return { Kind::label, member, text, bounds, ParameterIndex::none, fontHeight, nullptr };
    }

    constexpr Child comboBox (const char* member, Bounds bounds, ParameterIndex::Index parameter)
    {
        return { Kind::comboBox, member, "", bounds, parameter, 0.0f, nullptr };
    }

    constexpr Child toggle (const char* member, const char* text, Bounds bounds, ParameterIndex::Index parameter)
    {
        return { Kind::toggle, member, text, bounds, parameter, 0.0f, nullptr };
    }

    // The level meter and its scale carry no component name.
    constexpr Child decibelScale (const char* member, Bounds bounds)
    {
        return { Kind::decibelScale, member, "", bounds, ParameterIndex::none, 0.0f, "" };
    }

    constexpr Child levelMeter (const char* member, Bounds bounds)
    {
        return { Kind::levelMeter, member, "", bounds, ParameterIndex::none, 0.0f, "" };
    }
}

// The values of all parameters, by parameter index.
using ParameterValues = std::array<float, ParameterIndex::count>;

// One section of the edit page: a titled frame with labels and parameter-bound controls
// at fixed positions, created from the panel's table. Sliders are rotary knobs without a
// text box in steps of 0.01 up to their parameter's editor maximum, combo boxes list
// their parameter's items with IDs 1, 2, 3 ..., so an item's 0-based index is the value
// stored. Nothing is enabled or hidden by any value. Message thread.
class SectionPanel : public juce::Component
{
public:
    template <size_t numChildren>
    SectionPanel (QuenbyAudioProcessorEditor* editor, const PanelTable::Child (&table)[numChildren])
        : SectionPanel (editor, table, numChildren)
    {
    }

    ~SectionPanel() override;

    // Titles the panel and binds each control to the parameter its table row names.
    void assignParameters (const juce::String& title);

    // A bound control's tooltip: what its parameter does, and for a knob how it is played.
    static juce::String tooltipFor (const juce::Component& control, int parameterIndex);
    static constexpr const char* knobHint = "Drag up or down (Shift: finer), double-click: default, right-click: type a value";

    // Shows each bound control's value from the values given, without notification.
    void showValues (const ParameterValues& values);

    juce::GroupComponent& getGroup() const;

    // The parameter-bound controls, in creation order.
    std::vector<juce::Component*> getControls() const;

    // The child of the table row with that member name.
    template <typename ChildType>
    ChildType& getChild (const char* member) const
    {
        auto* child = dynamic_cast<ChildType*> (findChild (member));
        jassert (child != nullptr);   // a member name or type the table does not have
        return *child;
    }

    // A stored value as a combo box shows it: truncated toward zero to an item index,
    // saturating, so a value far out of range selects nothing; NaN selects nothing.
    static int toItemIndex (float value) noexcept;

    // A value outside the range shows at the nearer end; one that is not finite shows the
    // minimum.
    static void showSliderValue (juce::Slider& slider, float value);

    void paint (juce::Graphics&) override;
    void resized() override;

protected:
    SectionPanel (QuenbyAudioProcessorEditor* editor, const PanelTable::Child* table, size_t numChildren);

    // Gives the control this panel's editor, the parameter it edits and its tooltip.
    void bind (juce::Component& control, int parameterIndex) const;

    QuenbyAudioProcessorEditor* const editor;

private:
    juce::Component* findChild (const char* member) const;

    const PanelTable::Child* const table;
    const size_t numChildren;
    std::vector<std::unique_ptr<juce::Component>> children;   // one per table row

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SectionPanel)
};
