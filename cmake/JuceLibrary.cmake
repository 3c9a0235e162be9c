# JUCE from Debian's juce-modules-source, compiled once into one static, position-independent
# library that every target links, instead of each consumer recompiling the modules.
find_package(JUCE CONFIG REQUIRED)
find_package(PNG REQUIRED)
find_package(JPEG REQUIRED)
find_package(ZLIB REQUIRED)

add_library(veridane_juce STATIC)
set_target_properties(veridane_juce PROPERTIES POSITION_INDEPENDENT_CODE ON)
target_link_libraries(veridane_juce
    PRIVATE
        juce::juce_core
        juce::juce_events
        juce::juce_data_structures
        juce::juce_graphics
        juce::juce_gui_basics
        juce::juce_audio_basics
        juce::juce_audio_processors
        juce::juce_audio_formats
        juce::juce_recommended_config_flags)

set(VERIDANE_JUCE_DEFINITIONS
    JUCE_DISPLAY_SPLASH_SCREEN=0
    JUCE_WEB_BROWSER=0
    JUCE_USE_CURL=0
    JUCE_USE_FLAC=0
    JUCE_USE_OGGVORBIS=0
    JUCE_PLUGINHOST_VST=0
    JUCE_PLUGINHOST_VST3=0
    JUCE_PLUGINHOST_AU=0
    JUCE_PLUGINHOST_LADSPA=0
    JUCE_PLUGINHOST_LV2=0
    JUCE_MODAL_LOOPS_PERMITTED=1
    JUCE_STANDALONE_APPLICATION=0
    JUCE_GLOBAL_MODULE_SETTINGS_INCLUDED=1)
target_compile_definitions(veridane_juce PUBLIC ${VERIDANE_JUCE_DEFINITIONS})

# Re-export what consumers need to include JuceHeader-style module headers.
target_include_directories(veridane_juce PUBLIC
    $<TARGET_PROPERTY:juce::juce_core,INTERFACE_INCLUDE_DIRECTORIES>)
target_compile_definitions(veridane_juce PUBLIC
    $<TARGET_PROPERTY:juce::juce_core,INTERFACE_COMPILE_DEFINITIONS>
    $<TARGET_PROPERTY:juce::juce_audio_processors,INTERFACE_COMPILE_DEFINITIONS>
    $<TARGET_PROPERTY:juce::juce_gui_basics,INTERFACE_COMPILE_DEFINITIONS>)

find_package(PkgConfig REQUIRED)
pkg_check_modules(VERIDANE_FREETYPE REQUIRED IMPORTED_TARGET freetype2 fontconfig)
target_link_libraries(veridane_juce PUBLIC
    PNG::PNG JPEG::JPEG ZLIB::ZLIB PkgConfig::VERIDANE_FREETYPE
    Threads::Threads ${CMAKE_DL_LIBS} rt)
find_package(Threads REQUIRED)
