#include "video/recorder.h"

#include "image/dib.h"
#include "video/decoded_picture.h"
#include "video/frame_export.h"
#include "video/frame_save_queue.h"
#include "video/picture_type.h"
#include "video/scene_change.h"
#include "video/stream_picture.h"
#include "video/video_reader.h"

#include <algorithm>
#include <cmath>
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
    if (m_options.writing.manifest)
        m_queue->setOnPublished([this](const std::string& path) { listPublished(path); });
    // Only the saved frames are asked for, and the frames either side of them where the
    // conversion needs those, unless every frame is.
    const bool everyFrame = m_options.decodeEveryFrame || m_reader.needsNeighbours();
    switch (m_options.writing.choice) {
    case FrameChoice::EveryStep:
        break;
    case FrameChoice::EverySeconds:
    case FrameChoice::KeyFrames:
        chooseFrames();
        if (m_chosen.empty()) {
            m_ended = true;
            return;
        }
        if (!m_options.decodeEveryFrame)
            m_frame = m_chosen.front();
        if (everyFrame)
            m_reader.decodeInOrder(m_options.from, 1);
        else
            m_reader.decodeInOrder(m_chosen, m_options.writing.choice == FrameChoice::KeyFrames);
        return;
    case FrameChoice::SceneChanges:
        m_scenes = std::make_unique<SceneChangeFinder>(m_options.writing.sceneThreshold);
        m_reader.decodeInOrder(m_options.from, 1);
        return;
    }
    m_reader.decodeInOrder(
        m_options.from, everyFrame ? 1
                                   : static_cast<int>(std::min<std::int64_t>(
                                         m_options.writing.step, std::numeric_limits<int>::max())));
}

Recorder::~Recorder()
{
    finish();
}

// The frames at or after each multiple of the seconds, or the key frames, from the range.
void Recorder::chooseFrames()
{
    if (m_options.writing.choice == FrameChoice::KeyFrames) {
        for (int key = m_reader.findKeyFrame(m_options.from, SearchDirection::Forward);
             key >= 0 && key <= m_last;
             key = m_reader.findKeyFrame(key + 1, SearchDirection::Forward)) {
            m_chosen.push_back(key);
            if (key == m_last)
                break;
        }
        return;
    }
    const std::int64_t interval = std::max<std::int64_t>(
        1, std::llround(std::clamp(m_options.writing.seconds, 1e-9, 1e9) * 1e9));
    const std::int64_t start = m_reader.frameTime(m_options.from).count();
    std::int64_t due = start;
    for (int frame = m_options.from; frame <= m_last; ++frame) {
        const std::int64_t time = m_reader.frameTime(frame).count();
        if (time < due)
            continue;
        m_chosen.push_back(frame);
        // The next multiple after this frame's time: a frame that stands for several multiples
        // is saved once.
        due = start + ((time - start) / interval + 1) * interval;
        if (frame == m_last)
            break;
    }
}

bool Recorder::isDue() const
{
    switch (m_options.writing.choice) {
    case FrameChoice::EveryStep:
        break;
    case FrameChoice::EverySeconds:
    case FrameChoice::KeyFrames:
        return m_nextChosen < m_chosen.size() && m_chosen[m_nextChosen] == m_frame;
    case FrameChoice::SceneChanges:
        return m_beginsShot;
    }
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
    if (m_scenes) {
        m_reader.decode(m_frame);
        m_beginsShot =
            m_reader.hasPicture() &&
            m_scenes->beginsShot(*m_reader.pictures().picture->frame, m_reader.frameTime(m_frame));
        return;
    }
    // A frame that is not saved and not shown is seen by no one: it is not decoded.
    if (isDue() || m_options.decodeEveryFrame)
        m_reader.decode(m_frame);
}

void Recorder::save()
{
    if (finished())
        return;
    if (isDue()) {
        const std::string name =
            m_options.writing.names.nameOf(
                {m_reader.facts().path, m_frame, m_reader.sampleTime(m_frame), m_handedOver + 1}) +
            std::string(imageFormatInfo(m_options.writing.format).extension);
        FrameToSave frame{FileInFolder(m_options.folder, name, ""),
                          m_options.writing.format,
                          m_options.writing.quality,
                          {},
                          {},
                          {}};
        if (m_options.writing.provenance)
            frame.provenance = ProvenanceOf(m_reader, m_frame);
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
        if (handedOver) {
            ++m_handedOver;
            if (m_options.writing.manifest) {
                const AVFrame& picture = *m_reader.pictures().picture->frame;
                m_pendingRows.emplace_back(
                    frame.path,
                    ManifestRow{name, m_frame, m_reader.frameTime(m_frame),
                                m_reader.findKeyFrame(m_frame, SearchDirection::Backward) ==
                                    m_frame,
                                PictureTypeOfAv(picture.pict_type), m_reader.storedSize(m_frame)});
            }
            m_queue->push(std::move(frame));
        } else {
            ++m_undecodable; // damaged, or cut off the end of the file
        }
    }
    m_queue->publishSaved();
    if (!m_chosen.empty() && m_nextChosen < m_chosen.size() && m_chosen[m_nextChosen] == m_frame)
        ++m_nextChosen;
    m_beginsShot = false;
    if (m_frame == m_last)
        m_ended = true;
    else
        ++m_frame;
    // Frames between the chosen ones that no one shows are passed over.
    if (!m_chosen.empty() && !m_options.decodeEveryFrame && !m_ended)
        m_frame = m_nextChosen < m_chosen.size() ? m_chosen[m_nextChosen] : m_last + 1;
}

// Files take their places in the order they were handed over; those before path that never
// did could not be made.
void Recorder::listPublished(const std::string& path)
{
    while (!m_pendingRows.empty()) {
        auto [pending, row] = std::move(m_pendingRows.front());
        m_pendingRows.pop_front();
        if (pending == path) {
            m_rows.push_back(std::move(row));
            return;
        }
    }
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
    if (m_options.writing.manifest) {
        const Outcome written = WriteManifest(m_options.folder, m_rows);
        result.listed = static_cast<bool>(written);
        if (!written && !result.error)
            result.error = written.error();
    }
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
