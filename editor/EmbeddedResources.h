#pragma once

namespace veridane::resources
{

/** One file compiled into the plug-in: its bytes and their count. Both come from the file in
    editor/resources/ when the plug-in is built, so the count always matches the data. */
struct Resource
{
    const unsigned char* data;
    int size;
};

extern const Resource gearPng;
extern const Resource backgroundPng;
extern const Resource orderFumaPng;
extern const Resource captionAmbixPng;
extern const Resource captionFumaPng;
extern const Resource robotoRegularTtf;
extern const Resource meterGradientPng;
extern const Resource knobFilmstripPng;
extern const Resource orderAmbixPng;

} // namespace veridane::resources
