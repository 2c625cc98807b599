#include "video/scene_change.h"

#include <cstdlib>

bool SceneChangeFinder::beginsShot(const AVFrame& picture, std::chrono::nanoseconds time)
{
    if (!shrink(picture))
        return false;
    bool begins = !m_chosenAny;
    if (!begins && m_previous.size() == m_luma.size())
        begins =
            difference(m_previous, m_luma) > m_threshold && time - m_lastChosen >= kShortestShot;
    m_previous.swap(m_luma);
    if (begins) {
        m_chosenAny = true;
        m_lastChosen = time;
    }
    return begins;
}

double SceneChangeFinder::difference(const std::vector<std::uint8_t>& a,
                                     const std::vector<std::uint8_t>& b)
{
    if (a.empty() || a.size() != b.size())
        return 0;
    std::int64_t sum = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        sum += std::abs(int(a[i]) - int(b[i]));
    return double(sum) / double(a.size());
}

bool SceneChangeFinder::shrink(const AVFrame& picture)
{
    if (picture.width <= 0 || picture.height <= 0 || picture.format < 0)
        return false;
    if (!m_scaler || picture.width != m_scalerWidth || picture.height != m_scalerHeight ||
        picture.format != m_scalerFormat) {
        m_scaler.reset(sws_getContext(picture.width, picture.height,
                                      static_cast<AVPixelFormat>(picture.format), kWidth, kHeight,
                                      AV_PIX_FMT_GRAY8, SWS_AREA, nullptr, nullptr, nullptr));
        m_scalerWidth = picture.width;
        m_scalerHeight = picture.height;
        m_scalerFormat = picture.format;
    }
    if (!m_scaler)
        return false;
    m_luma.assign(std::size_t(kWidth) * kHeight, 0);
    std::uint8_t* planes[4] = {m_luma.data(), nullptr, nullptr, nullptr};
    int strides[4] = {kWidth, 0, 0, 0};
    return sws_scale(m_scaler.get(), picture.data, picture.linesize, 0, picture.height, planes,
                     strides) == kHeight;
}
