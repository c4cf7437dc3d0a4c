// CViewDecode: one decode of a picture at view size under the Quick View
// cache policy, in three steps so that the decoding itself may run on any
// thread: Begin and Land run on the thread that owns the pictures (the
// user-interface thread); Run touches nothing but the decode's own picture.
//
// The policy: with Quick View on, decoded pictures stay as they are up to a
// budget of decoded bytes together, the least recently shown freed first
// past it; with it off (or when a decode failed for lack of memory) the full
// and display bitmaps of all the others, and the picture's own, are freed
// before the picture is decoded, so at most one decoded picture exists.
#pragma once

#include "image/image_loader.h"
#include "image/picture.h"

#include <vector>

class CViewDecode {
public:
    // A decode that may not free the others (a picture decoded ahead of
    // being shown) fails when it lacks memory.
    CViewDecode(const CPictureFile& file, bool quickView, bool mayFreeOthers = true);

    // Frees what the policy frees before a decode.
    void Begin(const std::vector<CPicture*>& others, CPicture& target) const;
    // Decodes the file at view size into the decode's own picture. A failure
    // is shown (ShowFailure) unless Quick View may still free the others and
    // try again.
    void Run(const CImageLoader& loader);

    enum class Landing { kLanded, kFailed, kRetry };
    // kLanded: the picture is target's now, and the others are trimmed to the
    // budget (keep names the pictures decoded ahead, which stay). kRetry: the
    // decode lacked memory beside the others, which are freed now: Run again.
    Landing Land(const std::vector<CPicture*>& others, CPicture& target, std::vector<const CPicture*> keep,
                 int64_t budget);

private:
    CPictureFile m_file;
    bool m_quickView;
    bool m_lastTry;  // a lack of memory is a failure (the others are freed already, or may not be)
    bool m_noMemory = false;
    int m_loaded = 0;
    CPicture m_decoded;
};
