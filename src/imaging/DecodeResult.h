#ifndef MVPR_IMAGING_DECODERESULT_H
#define MVPR_IMAGING_DECODERESULT_H

#include <optional>
#include <string_view>

#include "imaging/ColourCycle.h"
#include "imaging/Picture.h"

namespace mvpr {

enum class DecodeStatus {
    Ok,
    NotThisFormat,  // the signature does not match
    Unsupported,    // a variant this decoder does not read
    Corrupt,        // impossible values
    Truncated,      // the file ends before the picture does
    TooLarge,       // over the decode limits
    OutOfMemory,
};

std::string_view DecodeStatusName(DecodeStatus status);

struct DecodeResult {
    DecodeStatus status = DecodeStatus::Corrupt;
    Picture picture;  // empty unless status is Ok (and may be empty then too)
    std::optional<ColourCycle> cycle;  // a screen's palette animation (8-bit BMP only)

    bool Ok() const { return status == DecodeStatus::Ok; }
};

}  // namespace mvpr

#endif
