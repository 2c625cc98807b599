#pragma once

#include "support/temp_dir.h"

#include <cstdint>
#include <string>
#include <vector>

// Test videos made with the ffmpeg command-line tool, and the frames the tool decodes from them.

// A picture as the tool writes it with -pix_fmt bgr24: top-down rows without padding.
using ToolFrame = std::vector<std::uint8_t>;

// Runs ffmpeg quietly with the given arguments (none of which may hold spaces).
bool runFfmpeg(const std::string& arguments);
bool ffmpegHasEncoder(const std::string& encoder);

// Makes `frames` frames of the moving test pattern at path with the given encoder and options;
// the container follows the extension. Empty when ffmpeg failed.
std::string makeTestVideo(const std::string& path, const std::string& size, const std::string& rate,
                          int frames, const std::string& codecOptions);

// 125 frames of 64x48 uncompressed YUV 4:2:0 (4608 bytes each) in Matroska at a variable rate:
// frames 0 to 49 at 25 a second, then 50 to 124 at 12.5 a second, ending at 8 s.
std::string makeVariableRateVideo(const std::string& path);

// Every frame that the tool decodes from path, in its output order.
std::vector<ToolFrame> toolFrames(const TempDir& dir, const std::string& path, int width,
                                  int height);

// The largest difference of one colour component between a packed 24-bit DIB and a tool frame;
// -1 when the DIB is missing or of another size.
int largestDifference(const std::uint8_t* packedDib, const ToolFrame& frame, int width, int height);
