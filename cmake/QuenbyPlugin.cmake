# The plug-in in all its formats, its shared code, and where an install puts it.
#
# JUCE compiles its modules and all of Quenby's code (added by Source/CMakeLists.txt) once,
# into the plug-in's shared-code static library Quenby; the formats link it. Everything else
# that needs the code (tests, tools, benchmarks, fuzzers) links quenby_core, which passes on
# the shared code with its include paths and definitions without compiling any JUCE module
# a second time.

# The free VST 2.4 headers, seen through a wrapper that fixes the speaker arrangement layout.
juce_set_vst2_sdk_path ("${PROJECT_SOURCE_DIR}/third_party/vst2")

set (QUENBY_LV2_URI "https://quenby.invalid/plugins/quenby")

juce_add_plugin (Quenby
    PRODUCT_NAME "Quenby"
    VERSION ${PROJECT_VERSION}
    COMPANY_NAME "Quenby"
    DESCRIPTION "Polyphonic two-oscillator subtractive synthesiser"
    PLUGIN_MANUFACTURER_CODE Qnby
    PLUGIN_CODE Qnb1
    FORMATS VST VST3 LV2 Standalone
    IS_SYNTH TRUE
    NEEDS_MIDI_INPUT TRUE
    NEEDS_MIDI_OUTPUT FALSE
    IS_MIDI_EFFECT FALSE
    EDITOR_WANTS_KEYBOARD_FOCUS TRUE
    COPY_PLUGIN_AFTER_BUILD FALSE
    VST2_CATEGORY kPlugCategSynth
    VST3_CATEGORIES Instrument Synth
    LV2URI "${QUENBY_LV2_URI}")

target_compile_definitions (Quenby
    PUBLIC
        JUCE_WEB_BROWSER=0
        JUCE_USE_CURL=0
        JUCE_VST3_CAN_REPLACE_VST2=0
        JUCE_DISPLAY_SPLASH_SCREEN=0
        JUCE_REPORT_APP_USAGE=0
        JUCE_MODAL_LOOPS_PERMITTED=1
        JUCE_USE_OGGVORBIS=0
        JUCE_USE_FLAC=0
        # The standalone app offers JACK beside ALSA. JUCE opens the JACK library when the
        # app lists its audio devices, so the app still starts where JACK is not installed.
        JUCE_JACK=1
        # Stereo first: hosts start an instrument in the first configuration.
        # Debian's JUCE does not always pass the LV2 URI on to the wrappers; say it directly.
        "JucePlugin_LV2URI=\"${QUENBY_LV2_URI}\""
        "JucePlugin_PreferredChannelConfigurations={2, 2}, {1, 1}")

target_link_libraries (Quenby
    PRIVATE
        juce::juce_audio_utils
        juce::juce_audio_formats
        juce::juce_gui_extra
    PUBLIC
        juce::juce_recommended_config_flags)

# The VST 2.4 library exports its single entry point and nothing else. The free headers
# mark many speaker constants as deprecated, which only JUCE's wrapper uses.
target_link_options (Quenby_VST PRIVATE "-Wl,--version-script=${PROJECT_SOURCE_DIR}/Source/Processor/vst2-exports.map")
target_compile_options (Quenby_VST PRIVATE -Wno-deprecated-declarations -Wno-cpp)

# JUCE's helper describes the LV2 plug-in after each link (a step JUCE added first, so it
# runs first); ours then corrects what the LV2 vocabulary does not allow in that data.
add_custom_command (TARGET Quenby_LV2 POST_BUILD
    COMMAND "${CMAKE_COMMAND}" "-DBUNDLE=$<TARGET_FILE_DIR:Quenby_LV2>" -P "${CMAKE_CURRENT_LIST_DIR}/QuenbyLv2Data.cmake"
    VERBATIM)

# VST2 hosts name a plug-in after its file: Quenby.so, not libQuenby.so.
set_target_properties (Quenby_VST PROPERTIES PREFIX "")

add_library (quenby_core INTERFACE)
target_link_libraries (quenby_core INTERFACE Quenby)
target_include_directories (quenby_core INTERFACE $<TARGET_PROPERTY:Quenby,INCLUDE_DIRECTORIES>)
target_compile_definitions (quenby_core INTERFACE $<TARGET_PROPERTY:Quenby,COMPILE_DEFINITIONS>)

# cmake --install puts the plug-ins where Linux hosts look for them and where Debian's own
# plug-in packages keep them (lib/vst3, lib/lv2, lib/vst below the prefix), the app in bin/.
get_target_property (quenbyVst3Bundle Quenby_VST3 JUCE_PLUGIN_ARTEFACT_FILE)
get_target_property (quenbyLv2Bundle Quenby_LV2 JUCE_PLUGIN_ARTEFACT_FILE)

install (DIRECTORY "${quenbyVst3Bundle}" DESTINATION lib/vst3 USE_SOURCE_PERMISSIONS)
install (DIRECTORY "${quenbyLv2Bundle}" DESTINATION lib/lv2 USE_SOURCE_PERMISSIONS)
install (TARGETS Quenby_VST LIBRARY DESTINATION lib/vst)
install (TARGETS Quenby_Standalone RUNTIME DESTINATION bin)

# Building the LV2 bundle runs the plug-in once to describe it, which opens the program
# database: that run gets a home of its own, so a build never touches the builder's files.
if (TARGET juce_lv2_helper)
    set (quenbyLv2HelperHome "${CMAKE_BINARY_DIR}/lv2-helper-home")
    file (MAKE_DIRECTORY "${quenbyLv2HelperHome}")
    target_sources (juce_lv2_helper PRIVATE "${CMAKE_CURRENT_LIST_DIR}/Lv2HelperHome.cpp")
    target_compile_definitions (juce_lv2_helper PRIVATE "QUENBY_LV2_HELPER_HOME=\"${quenbyLv2HelperHome}\"")
endif()
