#pragma once

#include "DatabaseFileHelpers.h"
#include "Components/MainComponent.h"
#include "Components/PluginEditor.h"
#include "Model/UserSettings.h"
#include "Processor/PluginProcessor.h"

#include <gtest/gtest.h>

namespace testing_helpers
{
    // Mouse events as the framework would deliver them, handed straight to a component's
    // handlers: no display is needed. Positions are in the component's coordinates.
    struct SyntheticMouse
    {
        static juce::MouseEvent event (juce::Component& component, juce::Point<float> position,
                                       juce::Point<float> downPosition, juce::ModifierKeys mods = {})
        {
            const auto now = juce::Time::getCurrentTime();
            return { juce::Desktop::getInstance().getMainMouseSource(), position, mods,
                     juce::MouseInputSource::defaultPressure, juce::MouseInputSource::defaultOrientation,
                     juce::MouseInputSource::defaultRotation, juce::MouseInputSource::defaultTiltX,
                     juce::MouseInputSource::defaultTiltY, &component, &component, now, downPosition, now,
                     1, position != downPosition };
        }

        static juce::Point<float> centreOf (juce::Component& component)
        {
            return component.getLocalBounds().getCentre().toFloat();
        }

        static void hover (juce::Component& component)
        {
            component.mouseEnter (event (component, centreOf (component), centreOf (component)));
        }

        static void leave (juce::Component& component)
        {
            component.mouseExit (event (component, centreOf (component), centreOf (component)));
        }

        static void press (juce::Component& component, juce::Point<float> at, juce::ModifierKeys mods = {})
        {
            component.mouseDown (event (component, at, at, mods));
        }

        static void dragTo (juce::Component& component, juce::Point<float> from, juce::Point<float> to, juce::ModifierKeys mods = {})
        {
            component.mouseDrag (event (component, to, from, mods));
        }

        static void release (juce::Component& component, juce::Point<float> from, juce::Point<float> at, juce::ModifierKeys mods = {})
        {
            component.mouseUp (event (component, at, from, mods));
        }

        // A press, a drag by that many pixels (up and right are positive) and the release.
        static void drag (juce::Component& component, float right, float up, juce::ModifierKeys mods = {})
        {
            const auto start = centreOf (component), end = start.translated (right, -up);
            press (component, start, mods);
            dragTo (component, start, end, mods);
            release (component, start, end, mods);
        }

        static void doubleClick (juce::Component& component)
        {
            const auto at = centreOf (component);
            component.mouseDoubleClick (event (component, at, at));
        }
    };

    // The entry of a menu or of its submenus with that text, or null.
    inline juce::PopupMenu::Item* findMenuItem (juce::PopupMenu& menu, const juce::String& text)
    {
        for (juce::PopupMenu::MenuItemIterator items (menu, true); items.next();)
            if (items.getItem().text == text)
                return &items.getItem();

        return nullptr;
    }

    // The texts of a menu's entries, submenus included, joined by ", ".
    inline juce::String menuTexts (juce::PopupMenu& menu)
    {
        juce::StringArray texts;

        for (juce::PopupMenu::MenuItemIterator items (menu, true); items.next();)
            texts.add (items.getItem().text);

        return texts.joinIntoString (", ");
    }

    // Runs the message loop: asynchronous notifications are delivered and timers tick.
    inline void pumpMessages (int milliseconds = 20)
    {
        juce::MessageManager::getInstance()->runDispatchLoopUntil (milliseconds);
    }

    // What the component paints, without a display.
    inline juce::Image snapshot (juce::Component& component)
    {
        return component.createComponentSnapshot (component.getLocalBounds(), true, 1.0f);
    }

    // A real processor, prepared as a host would, with its editor open; the program database
    // lives in the temporary home that the test main sets up.
    class EditorFixture : public DatabaseFileTest,
                          public SyntheticMouse
    {
    protected:
        static constexpr double sampleRate = 48000.0;
        static constexpr int blockSize = 512;

        void SetUp() override
        {
            DatabaseFileTest::SetUp();
            DisplayComponent::hoveredParameter = ParameterIndex::none;   // shared by every window
            processor = std::make_unique<QuenbyAudioProcessor>();
            processor->setRateAndBufferSizeDetails (sampleRate, blockSize);
            processor->prepareToPlay (sampleRate, blockSize);
            editor.reset (dynamic_cast<QuenbyAudioProcessorEditor*> (processor->createEditor()));
            ASSERT_NE (editor, nullptr);
        }

        void TearDown() override
        {
            editor.reset();
            processor.reset();
            writeOfferedSettings();
            DatabaseFileTest::TearDown();
        }

        MainComponent& mainComponent()      { return editor->getMainComponent(); }
        DisplayComponent& display()         { return *mainComponent().displayComponent; }
        WheelsComponent& wheels()           { return *mainComponent().wheelComponent; }
        Velmora& synth()                    { return processor->synthAudioSource->getSynth(); }

        float parameter (int index)         { return processor->getEditPath().get (index); }

        // A control bound to this editor, as a panel binds it.
        template <typename Control>
        std::unique_ptr<Control> makeBoundControl (int index)
        {
            auto control = std::make_unique<Control> ("control");
            control->editor = editor.get();
            control->parameterIndex = index;
            return control;
        }

        // One block through the processor as the host's audio thread would render it.
        void renderBlock (const juce::MidiBuffer& midi = {})
        {
            juce::AudioBuffer<float> buffer (2, blockSize);
            juce::MidiBuffer events (midi);
            const juce::ScopedLock lock (processor->getCallbackLock());
            processor->processBlock (buffer, events);
        }

        std::unique_ptr<QuenbyAudioProcessor> processor;
        std::unique_ptr<QuenbyAudioProcessorEditor> editor;
    };
}
