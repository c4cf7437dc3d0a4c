// CZipMemberPos: where a member's entry lies in its archive's directory, as a
// listing met it. A member is reached again from there without walking the
// members before it; catalog entries for members keep it.
#pragma once

#include <cstdint>

struct CZipMemberPos {
    uint64_t directoryOffset = 0;
    uint64_t index = 0;
    bool set = false;
};
