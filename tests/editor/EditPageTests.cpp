#include "EditorFixture.h"
#include "Components/EventLock.h"
#include "Controls/PluginControl.h"
#include "Model/ParameterTable.h"

#include <cmath>
#include <limits>
#include <set>
#include <stdexcept>

using namespace testing_helpers;

namespace
{
    struct BoundControl
    {
        juce::Component* component;
        const PluginControl* binding;
    };

    // The controls of the edit page and of the voice page.
    std::vector<BoundControl> boundControls (const MainComponent& main)
    {
        std::vector<BoundControl> controls;
        auto panels = main.editPageComponent->getPanels();

        for (auto* panel : main.voicePageComponent->getPanels())
            panels.push_back (panel);

        for (auto* panel : panels)
            for (auto* control : panel->getControls())
                controls.push_back ({ control, dynamic_cast<const PluginControl*> (control) });

        return controls;
    }

    // What a control shows, as the value it would write: a slider's value, a combo box's
    // item index (-1 for none), a toggle's 1 or 0.
    float shownValue (juce::Component& control)
    {
        if (auto* slider = dynamic_cast<juce::Slider*> (&control))
            return (float) slider->getValue();

        if (auto* comboBox = dynamic_cast<juce::ComboBox*> (&control))
            return (float) comboBox->getSelectedItemIndex();

        return dynamic_cast<juce::Button&> (control).getToggleState() ? 1.0f : 0.0f;
    }

    // A value the control does not show yet, within what it offers.
    float anotherValue (juce::Component& control, int step)
    {
        if (auto* slider = dynamic_cast<juce::Slider*> (&control))
        {
            const double up = slider->getValue() + 0.01 * (1 + step % 5);
            return (float) (up <= slider->getMaximum() ? up : slider->getValue() - 0.01 * (1 + step % 5));
        }

        if (auto* comboBox = dynamic_cast<juce::ComboBox*> (&control))
            return (float) ((comboBox->getSelectedItemIndex() + 1) % comboBox->getNumItems());

        return dynamic_cast<juce::Button&> (control).getToggleState() ? 0.0f : 1.0f;
    }

    // Moves the control as the musician would, with notification; returns the value it shows.
    float moveControl (juce::Component& control)
    {
        if (auto* slider = dynamic_cast<juce::Slider*> (&control))
            slider->setValue (slider->getValue() < slider->getMaximum() ? slider->getMaximum() : slider->getMinimum(),
                              juce::sendNotificationSync);
        else if (auto* comboBox = dynamic_cast<juce::ComboBox*> (&control))
            comboBox->setSelectedItemIndex ((comboBox->getSelectedItemIndex() + 1) % comboBox->getNumItems(),
                                            juce::sendNotificationSync);
        else
            dynamic_cast<juce::Button&> (control).setToggleState (! dynamic_cast<juce::Button&> (control).getToggleState(),
                                                                 juce::sendNotification);
        return shownValue (control);
    }
}

class EditPage : public EditorFixture
{
protected:
    EditPageComponent& editPage()     { return *mainComponent().editPageComponent; }

    ParameterValues allValues()
    {
        ParameterValues values {};

        for (int index = 0; index < ParameterIndex::count; ++index)
            values[(size_t) index] = parameter (index);

        return values;
    }

    juce::Component& controlOf (int parameterIndex)
    {
        for (const auto& control : boundControls (mainComponent()))
            if (control.binding->parameterIndex == parameterIndex)
                return *control.component;

        throw std::logic_error ("no control for " + std::to_string (parameterIndex));
    }
};

TEST_F (EditPage, EveryParameterButMidiLearnHasOneControlThatShowsItsHostValueAndWritesItAlone)
{
    const auto controls = boundControls (mainComponent());
    std::set<int> bound, withControl;

    for (const auto& control : controls)
    {
        EXPECT_EQ (control.binding->editor, editor.get());
        EXPECT_TRUE (bound.insert (control.binding->parameterIndex).second) << control.component->getName();
    }

    for (int index = 0; index < ParameterIndex::count; ++index)
        if (ParameterTable::get (index).hasEditorControl)
            withControl.insert (index);

    EXPECT_EQ (bound, withControl);
    EXPECT_EQ (withControl.count (ParameterIndex::MidiLearn), 0u);

    // The host changes every value; the next timer tick shows them all.
    std::vector<float> hostValues;

    for (const auto& control : controls)
        hostValues.push_back (anotherValue (*control.component, (int) hostValues.size()));

    for (size_t i = 0; i < controls.size(); ++i)
        processor->setParameter (controls[i].binding->parameterIndex, hostValues[i]);

    mainComponent().timerCallback();

    for (size_t i = 0; i < controls.size(); ++i)
        EXPECT_EQ (shownValue (*controls[i].component), hostValues[i]) << controls[i].component->getName();

    // Each control writes its own parameter and leaves every other one alone.
    for (const auto& control : controls)
    {
        const auto before = allValues();
        const auto shown = moveControl (*control.component);
        auto after = allValues();
        const auto index = (size_t) control.binding->parameterIndex;

        EXPECT_NE (after[index], before[index]) << control.component->getName();
        EXPECT_EQ (after[index], shown) << control.component->getName();
        after[index] = before[index];
        EXPECT_EQ (after, before) << control.component->getName();
    }
}

// A stored value is kept exactly, however far outside the editor's ranges: the controls
// show it as well as they can and never change it. No writer stores an infinity or a NaN,
// so those are shown directly.
TEST_F (EditPage, ValuesOutsideTheControlsRangesShowTruncatedOrAtTheNearerEndOrAsNothing)
{
    constexpr float nan = std::numeric_limits<float>::quiet_NaN();
    constexpr float infinity = std::numeric_limits<float>::infinity();
    constexpr float none = -1.0f;

    const struct { ParameterIndex::Index parameter; float stored, shown; } cases[] = {
        { ParameterIndex::Osc2WaveType,    1.9f,     1.0f },
        { ParameterIndex::Lfo1WaveType,    1.9f,     1.0f },
        { ParameterIndex::Lfo1WaveType,   -0.5f,     0.0f },
        { ParameterIndex::Lfo1WaveType,    5.99f,    5.0f },
        { ParameterIndex::Lfo1WaveType,    6.0f,     none },
        { ParameterIndex::Lfo1WaveType,   -1.5f,     none },
        { ParameterIndex::CurrentPlayMode, 1e30f,    none },
        { ParameterIndex::CurrentPlayMode, -1e30f,   none },
        { ParameterIndex::Osc1WaveType,    nan,      none },
        { ParameterIndex::Filter1Type,     nan,      none },
        { ParameterIndex::Osc1Active,     -0.5f,     1.0f },
        { ParameterIndex::Delay1Sync,     -0.5f,     1.0f },
        { ParameterIndex::Osc1Offset,      0.5f,     ParameterTable::get (ParameterIndex::Osc1Offset).editorMaximum },
        { ParameterIndex::Glide,          -3.0f,     0.0f },
        { ParameterIndex::Osc1Offset,      infinity, 0.0f },
        { ParameterIndex::EnvLfo1Decay,   -infinity, 0.0f },
        { ParameterIndex::Delay1Time,      nan,      0.0f },
    };

    for (const auto& [index, stored, shown] : cases)
    {
        auto& control = controlOf (index);
        const auto name = control.getName() + " of " + ParameterTable::get (index).name + " holding " + juce::String (stored);

        if (std::isfinite (stored))
        {
            processor->setParameter (index, stored);
            mainComponent().timerCallback();
            EXPECT_EQ (parameter (index), stored) << name;
        }
        else
        {
            auto values = allValues();
            values[(size_t) index] = stored;
            editPage().showValues (values);
        }

        EXPECT_EQ (shownValue (control), shown) << name;

        if (auto* comboBox = dynamic_cast<juce::ComboBox*> (&control); comboBox != nullptr && shown == none)
        {
            EXPECT_TRUE (comboBox->getText().isEmpty()) << name;
        }
    }

    EXPECT_TRUE (EventLock::eventsEnabled);
}

TEST_F (EditPage, PanelsTileThePageAndDrawTheirTitleStripsAndBackgroundsAtTheirBounds)
{
    const auto panels = editPage().getPanels();
    const auto page = editPage().getLocalBounds();
    ASSERT_EQ (page, juce::Rectangle<int> (MainComponent::pageWidth, MainComponent::pageHeight));

    juce::Rectangle<int> grid;

    for (auto* panel : panels)
    {
        EXPECT_TRUE (page.contains (panel->getBounds())) << panel->getName();
        grid = grid.getUnion (panel->getBounds());

        // A grid of 8-pixel steps, so panels stand 8 pixels apart.
        for (int edge : { panel->getX(), panel->getY(), panel->getWidth(), panel->getHeight() })
            EXPECT_EQ (edge % 8, 0) << panel->getName() << " " << panel->getBounds().toString();

        for (auto* other : panels)
            EXPECT_TRUE (panel == other || ! panel->getBounds().intersects (other->getBounds()))
                << panel->getName() << " overlaps " << other->getName();
    }

    EXPECT_EQ (grid.getWidth(), page.getWidth());

    const auto image = snapshot (*editor);
    const auto pixel = [&] (int x, int y) { return image.getPixelAt (x, y).getARGB(); };
    const auto strip = Skin::getHighlightColour().getARGB();
    const auto background = Skin::getPanelBackgroundColour().getARGB();
    const auto pageBackground = Skin::getPageBackgroundColour().getARGB();

    for (auto* panel : panels)
    {
        const auto r = panel->getBounds() + editPage().getPosition();
        const auto name = panel->getName() + " " + panel->getBounds().toString();

        EXPECT_EQ (pixel (r.getX(), r.getY()), strip) << name;
        EXPECT_EQ (pixel (r.getRight() - 1, r.getY()), strip) << name;
        EXPECT_EQ (pixel (r.getX(), r.getY() + 15), strip) << name;
        EXPECT_EQ (pixel (r.getX(), r.getY() + 16), background) << name;
        EXPECT_EQ (pixel (r.getX(), r.getBottom() - 1), background) << name;
        EXPECT_EQ (pixel (r.getRight() - 1, r.getBottom() - 1), background) << name;

        // Just outside, the page shows, where the page goes on.
        if (panel->getX() > 0)
        {
            EXPECT_EQ (pixel (r.getX() - 1, r.getY()), pageBackground) << name;
        }

        if (panel->getRight() < page.getWidth())
        {
            EXPECT_EQ (pixel (r.getRight(), r.getBottom() - 1), pageBackground) << name;
        }

        if (panel->getBottom() < page.getHeight())
        {
            EXPECT_EQ (pixel (r.getX(), r.getBottom()), pageBackground) << name;
        }
    }
}
