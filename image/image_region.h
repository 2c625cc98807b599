#pragma once

#include <memory>

struct ImageRect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool operator==(const ImageRect&) const = default;
};

// The bounds of an image. Every image's region is (0, 0, width, height).
class CImageRegion
{
public:
    explicit CImageRegion(const ImageRect& rect) : m_rect(rect) {}
    virtual ~CImageRegion() = default;

    // True when the point lies inside: left and top inclusive, right and bottom exclusive.
    virtual bool PtInRegion(int x, int y) const;
    virtual ImageRect GetRect() const { return m_rect; }
    virtual std::unique_ptr<CImageRegion> Clone() const;

private:
    ImageRect m_rect;
};
