#include "app/image_item.h"

CImageItem::CImageItem() = default;

CImageItem::~CImageItem() = default;

void CImageItem::LendZoom(int lender, int zoom)
{
    if (m_zoomLenders == 0)
        m_savedZoom = m_zoom;
    m_zoomLenders |= lender;
    m_zoom = zoom;
}

void CImageItem::LendRotation(int lender, int rotation)
{
    if (m_rotationLenders == 0)
        m_savedRotation = m_rotation;
    m_rotationLenders |= lender;
    m_rotation = rotation;
}

void CImageItem::ReturnViewState(int lender)
{
    if ((m_zoomLenders & lender) && (m_zoomLenders &= ~lender) == 0)
        m_zoom = m_savedZoom;
    if ((m_rotationLenders & lender) && (m_rotationLenders &= ~lender) == 0)
        m_rotation = m_savedRotation;
}

void CImageItem::KeepViewState(int lender)
{
    m_zoomLenders &= ~lender;
    m_rotationLenders &= ~lender;
}
