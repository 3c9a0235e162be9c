# VERIDANE_SANITIZE: empty, "address,undefined" or "thread"; set by the presets.
set(VERIDANE_SANITIZE "" CACHE STRING "Sanitizers to build with")

if(VERIDANE_SANITIZE)
    add_compile_options(-fsanitize=${VERIDANE_SANITIZE} -fno-omit-frame-pointer)
    add_link_options(-fsanitize=${VERIDANE_SANITIZE})
    if(VERIDANE_SANITIZE MATCHES "undefined")
        add_compile_options(-fno-sanitize-recover=undefined)
    endif()
endif()
