#include "video/video_library.h"

extern "C" {
#include <libavutil/log.h>
}

void SetVideoLibraryMessages(VideoLibraryMessages messages)
{
    av_log_set_level(messages == VideoLibraryMessages::Hidden ? AV_LOG_QUIET : AV_LOG_WARNING);
}
