#include "hosts/audio_unit/AUPresetKeys.h"

const AUPresetKeys& AUPresetKeys::Get()
{
    static const AUPresetKeys keys{
        CFSTR("Untitled"),     CFSTR("version"),      CFSTR("type"), CFSTR("subtype"),
        CFSTR("manufacturer"), CFSTR("data"),         CFSTR("name"), CFSTR("render-quality"),
        CFSTR("cpu-load"),     CFSTR("element-name"), CFSTR("part"),
    };
    return keys;
}
