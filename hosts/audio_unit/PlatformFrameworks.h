// Where this layer finds the platform frameworks. On this system they are one stand-in shared
// library (platform/frameworks), opened by a path fixed when the layer is built; a build whose
// path names no file runs the layer with the platform absent.
#pragma once

/** The AudioUnit framework: AudioComponent functions and the calls on connected units. */
extern const char* const kAudioUnitFrameworkPath;
/** The CoreServices framework: the Component Manager functions. */
extern const char* const kCoreServicesFrameworkPath;
