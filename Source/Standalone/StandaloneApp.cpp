// The standalone application: JUCE's standalone window around the plug-in, opened with the
// processor's own buses, so the instrument takes no audio input and the window shows no
// warning about muted input. JUCE's own application passes the plug-in formats' channel
// configurations, whose inputs would need that warning.
#include <juce_audio_devices/juce_audio_devices.h>
#include <juce_audio_utils/juce_audio_utils.h>
#include <juce_gui_extra/juce_gui_extra.h>
#include <juce_audio_plugin_client/utility/juce_CreatePluginFilter.h>
#include <juce_audio_plugin_client/Standalone/juce_StandaloneFilterWindow.h>

class QuenbyStandaloneApp : public juce::JUCEApplication
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
        mainWindow->setVisible (true);
    }

    void shutdown() override
    {
        mainWindow = nullptr;
        appProperties.saveIfNeeded();
    }

    // An open dialog (the audio settings) is closed first; quitting is then asked again.
    void systemRequestedQuit() override
    {
        if (mainWindow != nullptr)
            mainWindow->pluginHolder->savePluginState();

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
    juce::ApplicationProperties appProperties;
    std::unique_ptr<juce::StandaloneFilterWindow> mainWindow;
};

START_JUCE_APPLICATION (QuenbyStandaloneApp)
