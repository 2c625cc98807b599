#pragma once

// The three image formats the program reads and writes, and everything that is said about them
// in more than one place: extensions, names, wildcard patterns, the numbers the settings file
// stores for them, and the reader and writer of each.

#include "image/png_codec.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

class CDibImage;
class CFileReplacement;
struct ImageProvenance;

// The JPEG quality a file is written at unless the user chose another: exported frames, and the
// results of the batch tools.
constexpr int kDefaultJpegQuality = 75;
constexpr int kDefaultBatchJpegQuality = 95;

enum class ImageFormat
{
    Jpeg,
    Bmp,
    Png,
};

struct ImageFormatInfo
{
    ImageFormat format;
    std::string_view extension; // the one a written file gets: ".jpg"
    std::string_view name;      // as the command line takes it: "jpg"
    std::string_view pattern;   // as the folder walker takes it: "*.jpg"
    // Every extension that names the format, in any case; the written one first.
    std::span<const std::string_view> extensions;
};

// Every format, in the order of the batch tools' type lists: JPEG, BMP, PNG.
std::span<const ImageFormatInfo> imageFormats();
const ImageFormatInfo& imageFormatInfo(ImageFormat format);
// The patterns of every format, in that order, as the folder walker takes them:
// "*.jpg;*.bmp;*.png".
std::string ImageFormatPatterns();

// The format a path's extension names (".jpg", ".jpeg", ".bmp", ".dib", ".png" in any case).
std::optional<ImageFormat> ImageFormatOfPath(std::string_view path);
// "jpg", "jpeg", "bmp" or "png".
std::optional<ImageFormat> ImageFormatByName(std::string_view name);

// Recorded frames: the number OPTION_JPEG stores for a format is its index in this list
// (0 BMP, 1 JPEG, 2 PNG); any other number is BMP.
std::span<const ImageFormat> recordedFormats();
ImageFormat RecordedFormat(int option);
int RecordedFormatOption(ImageFormat format);

// The batch tools' type lists, in the order of imageFormats(): 0 JPEG, 1 BMP, anything else PNG.
ImageFormat BatchFormat(int typeIndex);
int BatchFormatIndex(ImageFormat format);

// Whether a file of the format can hold a picture of width x height: JPEG files hold at most
// 65500 pixels a side, BMP files at most 4 GiB.
bool ImageFormatHolds(ImageFormat format, int width, int height);

// Reads a file of the given format into image as a 24-bit image; bitmaps of other depths are
// converted. Returns 1 when decoded and 0 otherwise. A read error of a bitmap file throws
// CFileException.
int LoadImageFile(ImageFormat format, const std::string& path, CDibImage& image);

// Writes a 24-bit image: JPEG at quality, BMP, or PNG with the given compression. A provenance
// goes into JPEG and PNG files; a bitmap has no place for it and is written without. Returns 1
// when written and 0 otherwise; a failure inside the JPEG library or while writing a bitmap
// throws its exception (CJPEGException, CFileException) with the error's text.
int SaveImageFile(ImageFormat format, const std::string& path, CDibImage& image, int quality,
                  PngCompression compression = PngCompression::Fast,
                  const ImageProvenance* provenance = nullptr);
// The same into a file not yet opened, which is committed but left to its owner to publish.
int SaveImageFile(ImageFormat format, CFileReplacement& file, CDibImage& image, int quality,
                  PngCompression compression = PngCompression::Fast,
                  const ImageProvenance* provenance = nullptr);
