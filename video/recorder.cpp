#include "video/recorder.h"

#include "image/dib.h"
#include "video/frame_export.h"
#include "video/frame_save_queue.h"
#include "video/stream_picture.h"
#include "video/video_reader.h"

#include <algorithm>
#include <cstring>
#include <limits>

Recorder::Recorder(VideoReader& reader, RecordOptions options, std::function<void()> whileWaiting)
    : m_reader(reader), m_options(std::move(options)),
      m_last(std::min(m_options.to, reader.facts().lastFrame)), m_frame(m_options.from)
{
    m_options.writing.step = std::max<std::int64_t>(m_options.writing.step, 1);
    if (!m_reader.isOpen()) {
        m_ended = true;
        return;
    }
    m_queue = std::make_unique<FrameSaveQueue>(m_reader.streamPicture(), m_reader.pictureOptions(),
                                               std::move(whileWaiting));
    // Only the saved frames are asked for, and the frames either side of them where the
    // conversion needs those, unless every frame is.
    const bool everyFrame = m_options.decodeEveryFrame || m_reader.needsNeighbours();
    m_reader.decodeInOrder(
        m_options.from, everyFrame ? 1
                                   : static_cast<int>(std::min<std::int64_t>(
                                         m_options.writing.step, std::numeric_limits<int>::max())));
}

Recorder::~Recorder()
{
    finish();
}

bool Recorder::isDue() const
{
    return (std::int64_t(m_frame) - m_options.from) % m_options.writing.step == 0;
}

bool Recorder::finished() const
{
    return m_ended || m_frame > m_last || (m_queue && m_queue->failed());
}

void Recorder::decode()
{
    if (finished())
        return;
    // A frame that is not saved and not shown is seen by no one: it is not decoded.
    if (isDue() || m_options.decodeEveryFrame)
        m_reader.decode(m_frame);
}

void Recorder::save()
{
    if (finished())
        return;
    if (isDue()) {
        FrameToSave frame{RecordedFileName(m_options.folder, m_frame,
                                           imageFormatInfo(m_options.writing.format).extension),
                          m_options.writing.format,
                          m_options.writing.quality,
                          {},
                          {}};
        bool handedOver = false;
        if (m_reader.hasPicture()) {
            // A frame already made into the reader's DIB (shown by a display that takes DIBs, or
            // copied) is copied rather than converted again; otherwise a worker converts the
            // decoder's picture. Either way the frame needs nothing of the reader once handed
            // over.
            if (m_reader.isConverted()) {
                frame.image = m_queue->takeImage();
                handedOver = m_reader.copyPictureInto(frame.image);
            } else {
                frame.pictures = m_reader.pictures();
                handedOver = true;
            }
        }
        if (handedOver)
            m_queue->push(std::move(frame));
        else
            ++m_undecodable; // damaged, or cut off the end of the file
    }
    m_queue->publishSaved();
    if (m_frame == m_last)
        m_ended = true;
    else
        ++m_frame;
}

RecordResult Recorder::finish()
{
    if (m_result)
        return *m_result;
    RecordResult& result = m_result.emplace();
    result.undecodable = m_undecodable;
    m_ended = true;
    if (!m_queue)
        return result;
    // Every frame handed over is on disk, or given up after a failure, before the recording ends.
    m_queue->finish();
    result.saved = m_queue->saved();
    result.undecodable += m_queue->undecodable();
    result.error = m_queue->error();
    if (m_reader.isOpen())
        m_reader.decodeAnyOrder();
    return result;
}

RecordResult RecordFrames(VideoReader& reader, const RecordOptions& options,
                          const std::function<void(int)>& progress,
                          const std::function<bool()>& stop)
{
    Recorder recorder(reader, options, [] {});
    while (!recorder.finished() && !stop()) {
        recorder.decode();
        const int frame = recorder.frame();
        recorder.save();
        progress(frame);
    }
    return recorder.finish();
}
