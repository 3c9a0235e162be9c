# JUCE from Debian's juce-modules-source, compiled once into one static, position-independent
# library that every target links, instead of each consumer recompiling the modules.
find_package(JUCE CONFIG REQUIRED)
find_package(PNG REQUIRED)
find_package(JPEG REQUIRED)
find_package(ZLIB REQUIRED)
find_package(PkgConfig REQUIRED)
pkg_check_modules(VERIDANE_FREETYPE REQUIRED IMPORTED_TARGET freetype2 fontconfig)
find_package(Threads REQUIRED)

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

# veridane_add_juce_library(<target> <juce module targets...>): the modules and those they need.
function(veridane_add_juce_library target)
    add_library(${target} STATIC)
    set_target_properties(${target} PROPERTIES POSITION_INDEPENDENT_CODE ON)
    target_link_libraries(${target} PRIVATE ${ARGN} juce::juce_recommended_config_flags)
    target_compile_definitions(${target} PUBLIC ${VERIDANE_JUCE_DEFINITIONS})

    # Re-export what consumers need to include JuceHeader-style module headers.
    target_include_directories(${target} PUBLIC
        $<TARGET_PROPERTY:juce::juce_core,INTERFACE_INCLUDE_DIRECTORIES>)
    target_compile_definitions(${target} PUBLIC
        $<TARGET_PROPERTY:juce::juce_core,INTERFACE_COMPILE_DEFINITIONS>
        $<TARGET_PROPERTY:juce::juce_audio_processors,INTERFACE_COMPILE_DEFINITIONS>
        $<TARGET_PROPERTY:juce::juce_gui_basics,INTERFACE_COMPILE_DEFINITIONS>)
    target_link_libraries(${target} PUBLIC
        PNG::PNG JPEG::JPEG ZLIB::ZLIB PkgConfig::VERIDANE_FREETYPE
        Threads::Threads ${CMAKE_DL_LIBS} rt)
endfunction()

veridane_add_juce_library(veridane_juce
    juce::juce_core
    juce::juce_events
    juce::juce_data_structures
    juce::juce_graphics
    juce::juce_gui_basics
    juce::juce_audio_basics
    juce::juce_audio_processors
    juce::juce_audio_formats)
