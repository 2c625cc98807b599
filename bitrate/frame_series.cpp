#include "bitrate/frame_series.h"

#include "video/stored_picture_scan.h"
#include "video/video_reader.h"

#include <algorithm>

std::optional<GroupLengths> FrameSeries::groupLengths() const
{
    std::vector<int> keys;
    for (const StoredFrame& frame : frames) {
        if (frame.key)
            keys.push_back(frame.frame);
    }
    if (keys.empty())
        return std::nullopt;
    if (keys.size() == 1) {
        const int length = frames.back().frame - keys.front() + 1;
        return GroupLengths{length, double(length), length};
    }
    GroupLengths lengths{keys[1] - keys[0], 0.0, keys[1] - keys[0]};
    for (std::size_t i = 1; i < keys.size(); ++i) {
        const int length = keys[i] - keys[i - 1];
        lengths.shortest = std::min(lengths.shortest, length);
        lengths.longest = std::max(lengths.longest, length);
    }
    lengths.average = double(keys.back() - keys.front()) / double(keys.size() - 1);
    return lengths;
}

std::vector<double> FrameSeries::movingAverage() const
{
    const std::size_t window = static_cast<std::size_t>(std::max(framesPerSecond, 1));
    std::vector<double> means;
    means.reserve(frames.size());
    double sum = 0.0;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        sum += frames[i].bytes;
        if (i >= window)
            sum -= frames[i - window].bytes;
        means.push_back(sum / double(std::min(i + 1, window)));
    }
    return means;
}

FrameSeriesReader::FrameSeriesReader(const VideoReader& video) : m_video(video) {}

FrameSeriesReader::~FrameSeriesReader() = default;

Outcome FrameSeriesReader::open()
{
    const VideoFacts& facts = m_video.facts();
    m_series = {};
    m_storedNumbers.clear();
    m_heldReference.reset();
    m_series.framesPerSecond = std::max(facts.framesPerSecond, 1);
    auto scan = std::make_unique<StoredPictureScan>();
    if (Outcome opened = scan->open(m_video); !opened)
        return opened;
    m_scan = std::move(scan);
    // Every frame has its place and time before the packets come, in storage order.
    m_series.frames.resize(static_cast<std::size_t>(facts.lastFrame - facts.firstFrame + 1));
    for (int frame = facts.firstFrame; frame <= facts.lastFrame; ++frame) {
        StoredFrame& stored = m_series.frames[static_cast<std::size_t>(frame - facts.firstFrame)];
        stored.frame = frame;
        stored.time = m_video.frameTime(frame);
    }
    return Done{};
}

bool FrameSeriesReader::step(int packets)
{
    if (!m_scan)
        return false;
    const bool numberedAsShown = m_video.facts().hasTimestamps;
    for (int i = 0; i < packets; ++i) {
        const std::optional<StoredPicture> stored = m_scan->next();
        if (!stored) {
            finish();
            return false;
        }
        const Picture picture{stored->bytes, stored->type, stored->key};
        if (numberedAsShown) {
            place(picture, stored->frame);
        } else {
            m_storedNumbers.push_back(stored->frame);
            putInDisplayOrder(picture);
        }
    }
    return true;
}

void FrameSeriesReader::putInDisplayOrder(const Picture& picture)
{
    std::optional<Picture> shown = picture;
    // Any picture but a B-frame is held back, and shows the one held before it.
    if (picture.type != PictureType::B)
        std::swap(shown, m_heldReference);
    if (!shown)
        return;
    place(*shown, m_storedNumbers.front());
    m_storedNumbers.pop_front();
}

void FrameSeriesReader::finish()
{
    m_scan.reset();
    if (m_heldReference && !m_storedNumbers.empty()) {
        place(*m_heldReference, m_storedNumbers.front());
        m_storedNumbers.pop_front();
    }
    m_heldReference.reset();
}

void FrameSeriesReader::place(const Picture& picture, int frame)
{
    const int first = m_video.facts().firstFrame;
    const std::size_t index = static_cast<std::size_t>(frame - first);
    if (frame < first || index >= m_series.frames.size())
        return;
    StoredFrame& stored = m_series.frames[index];
    stored.bytes = picture.bytes;
    stored.type = picture.type;
    stored.key = picture.key;
}

int FrameSeriesReader::permille() const
{
    return m_scan ? m_scan->permille() : 1000;
}

Result<FrameSeries> FrameSeriesReader::read(const VideoReader& video,
                                            const std::function<bool(int permille)>& progress)
{
    FrameSeriesReader reader(video);
    if (Outcome opened = reader.open(); !opened)
        return opened.error();
    while (reader.step()) {
        if (progress && !progress(reader.permille()))
            return Error{Failure::OpenStopped, video.facts().path};
    }
    return reader.takeSeries();
}
