#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

/** The plug-in's state block, built by hand as a host that edits a saved project would: magic
    0x21324356 and the text length (both little-endian), the XML text, a 0 byte. Only the elements
    given are written, so a block can change the direction and leave the gain alone. */
std::vector<uint8_t> makeStateBlock(const std::optional<std::string>& gainText,
                                    const std::optional<std::string>& directionText);

/** The XML text of a state block, or nothing when the header does not describe one. */
std::optional<std::string> stateBlockText(const std::vector<uint8_t>& block);
