// The standalone application: JUCE's standalone window around the plug-in, opened with the
// processor's own buses, so the instrument takes no audio input and the window shows no
// warning about muted input. JUCE's own application passes the plug-in formats' channel
// configurations, whose inputs would need that warning. No host reports a tempo here: the
// window's tempo field sets it, and the app keeps it with its settings. Without an audio
// output the display says so and where to choose one.
#include "Components/PluginEditor.h"
#include "Processor/PluginProcessor.h"

#include <juce_audio_devices/juce_audio_devices.h>
#include <juce_audio_utils/juce_audio_utils.h>
#include <juce_gui_extra/juce_gui_extra.h>
#include <juce_audio_plugin_client/utility/juce_CreatePluginFilter.h>
#include <juce_audio_plugin_client/Standalone/juce_StandaloneFilterWindow.h>

class QuenbyStandaloneApp : public juce::JUCEApplication,
                            private juce::ChangeListener
{
public:
    QuenbyStandaloneApp()
    {
        juce::PropertiesFile::Options options;
        options.applicationName = getApplicationName();
        options.filenameSuffix = ".settings";
        options.folderName = "~/.config";
        appProperties.setStorageParameters (options);
    }

    const juce::String getApplicationName() override             { return JucePlugin_Name; }
    const juce::String getApplicationVersion() override          { return JucePlugin_VersionString; }
    bool moreThanOneInstanceAllowed() override                   { return true; }
    void anotherInstanceStarted (const juce::String&) override   {}

    void initialise (const juce::String&) override
    {
        const auto background = juce::LookAndFeel::getDefaultLookAndFeel().findColour (juce::ResizableWindow::backgroundColourId);

        // No channel configurations: the window takes the processor's buses.
        mainWindow = std::make_unique<juce::StandaloneFilterWindow> (getApplicationName(), background,
                                                                     appProperties.getUserSettings(), false);

        if (auto* processor = getProcessor())
            processor->setTempoWithoutHost (appProperties.getUserSettings()->getDoubleValue (tempoKey, 120.0));

        mainWindow->getDeviceManager().addChangeListener (this);
        showAudioOutputState();
        mainWindow->setVisible (true);
    }

    void shutdown() override
    {
        if (mainWindow != nullptr)
        {
            keepTempo();
            mainWindow->getDeviceManager().removeChangeListener (this);
        }

        mainWindow = nullptr;
        appProperties.saveIfNeeded();
    }

    // An open dialog (the audio settings) is closed first; quitting is then asked again.
    void systemRequestedQuit() override
    {
        if (mainWindow != nullptr)
        {
            keepTempo();
            mainWindow->pluginHolder->savePluginState();
        }

        if (juce::ModalComponentManager::getInstance()->cancelAllModalComponents())
        {
            juce::Timer::callAfterDelay (100, []
            {
                if (auto* app = juce::JUCEApplicationBase::getInstance())
                    app->systemRequestedQuit();
            });
        }
        else
        {
            quit();
        }
    }

private:
    static constexpr const char* tempoKey = "tempo";

    QuenbyAudioProcessor* getProcessor() const
    {
        return mainWindow != nullptr ? dynamic_cast<QuenbyAudioProcessor*> (mainWindow->getAudioProcessor()) : nullptr;
    }

    void keepTempo()
    {
        if (auto* processor = getProcessor())
            appProperties.getUserSettings()->setValue (tempoKey, processor->getTempoWithoutHost());
    }

    // The device manager tells of every change of device or channels.
    void changeListenerCallback (juce::ChangeBroadcaster*) override
    {
        showAudioOutputState();
    }

    void showAudioOutputState()
    {
        auto* processor = getProcessor();
        auto* editor = processor != nullptr ? dynamic_cast<QuenbyAudioProcessorEditor*> (processor->getActiveEditor()) : nullptr;

        if (editor == nullptr)
            return;

        auto* device = mainWindow->getDeviceManager().getCurrentAudioDevice();
        const bool silent = device == nullptr || device->getActiveOutputChannels().isZero();
        editor->showNotice (silent ? "No audio output: choose one in Options > Audio/MIDI Settings" : juce::String());
    }

    juce::ApplicationProperties appProperties;
    std::unique_ptr<juce::StandaloneFilterWindow> mainWindow;
};

START_JUCE_APPLICATION (QuenbyStandaloneApp)
