#include "image/view_decode.h"

namespace {

void FreeAll(const std::vector<CPicture*>& others, CPicture& target)
{
    for (CPicture* each : others)
        if (each)
            each->FreePicture();
    target.FreePicture();
}

}  // namespace

CViewDecode::CViewDecode(const CPictureFile& file, bool quickView, bool mayFreeOthers)
    : m_file(file)
    , m_quickView(quickView)
    , m_lastTry(!quickView || !mayFreeOthers)
{
}

void CViewDecode::Begin(const std::vector<CPicture*>& others, CPicture& target) const
{
    if (!m_quickView)
        FreeAll(others, target);
}

void CViewDecode::Run(const CImageLoader& loader)
{
    m_noMemory = false;
    if (CImageLoader::IsArchiveMember(m_file))
        m_loaded = loader.LoadZipMember(m_decoded, m_file, CImageLoader::kModeView, false);
    else
        m_loaded
            = loader.LoadPicture(m_decoded, m_file, CImageLoader::kModeView, false, m_lastTry ? nullptr : &m_noMemory);
}

CViewDecode::Landing CViewDecode::Land(const std::vector<CPicture*>& others, CPicture& target,
                                       std::vector<const CPicture*> keep, int64_t budget)
{
    if (!m_loaded || !m_decoded.m_fullBitmap) {
        if (!m_noMemory)
            return Landing::kFailed;
        m_lastTry = true;
        m_decoded.FreePicture();
        FreeAll(others, target);
        return Landing::kRetry;
    }
    target.TakeDecoded(m_decoded);
    if (m_quickView) {
        keep.push_back(&target);
        TrimDecoded(others, keep, budget);
    }
    return Landing::kLanded;
}
