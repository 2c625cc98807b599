#pragma once

// Process-wide settings of the video library, for the program's main function to make once.

enum class VideoLibraryMessages
{
    Shown,  // the library's warnings about damaged streams go to standard error
    Hidden, // only the program's own messages are seen
};

void SetVideoLibraryMessages(VideoLibraryMessages messages);
