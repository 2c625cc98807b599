#include "image/image_region.h"

bool CImageRegion::PtInRegion(int x, int y) const
{
    return x >= m_rect.left && x < m_rect.right && y >= m_rect.top && y < m_rect.bottom;
}

std::unique_ptr<CImageRegion> CImageRegion::Clone() const
{
    return std::make_unique<CImageRegion>(m_rect);
}
