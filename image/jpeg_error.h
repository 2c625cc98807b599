#pragma once

// The JPEG library's error manager as this program sets it up: an error returns to the caller's
// jump point with the message code and text, instead of ending the process; warnings and trace
// messages are formatted and dropped, so a damaged file still decodes to its end.

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

struct JpegErrorManager
{
    jpeg_error_mgr pub; // first, so the library's pointer to it is one to the whole manager
    std::jmp_buf jump;
    int code = 0;
    char text[JMSG_LENGTH_MAX] = {};
};

jpeg_error_mgr* InstallJpegErrorHandler(JpegErrorManager& manager);

// Ends the current library call the way a library error does, with a text of our own.
[[noreturn]] void FailJpeg(j_common_ptr cinfo, const char* text);
