# Turns one file into a C++ source that defines a veridane::resources::Resource for it.
# Run as: cmake -DINPUT=<file> -DOUTPUT=<source> -DSYMBOL=<name> -P EmbedResource.cmake
# The byte count is that of the file as read now, so it can never disagree with the data.

foreach(required INPUT OUTPUT SYMBOL)
    if(NOT DEFINED ${required})
        message(FATAL_ERROR "EmbedResource.cmake: ${required} is not set")
    endif()
endforeach()

file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hexLength)
if(hexLength EQUAL 0)
    message(FATAL_ERROR "EmbedResource.cmake: ${INPUT} is empty")
endif()

# Sixteen bytes per line keeps the generated source readable in a debugger.
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)"
       "\\1\n    " bytes "${bytes}")

get_filename_component(fileName "${INPUT}" NAME)
file(WRITE "${OUTPUT}.tmp"
"// Generated at build time from ${fileName}; do not edit.
#include \"editor/EmbeddedResources.h\"

namespace veridane::resources
{
namespace
{
const unsigned char bytes[] = {
    ${bytes}
};
} // namespace

const Resource ${SYMBOL}{bytes, static_cast<int>(sizeof(bytes))};
} // namespace veridane::resources
")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
