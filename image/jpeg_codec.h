#pragma once

#include "platform/exception.h"

#include <cstdint>
#include <span>
#include <string>

class CDibImage;
class CFileReplacement;
struct ImageProvenance;

// An error of the JPEG library, with the library's message code and formatted text.
class CJPEGException : public CException
{
public:
    CJPEGException(int code, std::string message) : m_code(code), m_message(std::move(message)) {}

    std::string ErrorText() const override { return m_message; }
    int Code() const { return m_code; }
    const std::string& Message() const { return m_message; }

private:
    int m_code;
    std::string m_message;
};

// Decodes a JPEG file into image as a 24-bit image. Returns 1 when the whole file was decoded and
// 0 otherwise; library errors never leave this function. When the library gives up after the
// image was created, the image keeps the rows decoded so far.
int LoadJpeg(const std::string& path, CDibImage& image);
// The same, from a JPEG held in memory.
int LoadJpegData(std::span<const std::uint8_t> data, CDibImage& image);

// Writes a 24-bit image as a JPEG file; quality is 0 to 100 (0 counts as 1, above 100 as 100).
// With a provenance the file carries it as a comment (a COM marker); without one, nothing but
// the picture. Returns 1 when written and 0 when the image is not 24-bit or the file cannot be
// created. An error of the library while writing (a full disk) throws CJPEGException; the partly
// written file stays on disk.
int SaveJpeg(const std::string& path, const CDibImage& image, int quality,
             const ImageProvenance* provenance = nullptr);
// The same into a file not yet opened, which is committed but left to its owner to publish.
int SaveJpeg(CFileReplacement& file, const CDibImage& image, int quality,
             const ImageProvenance* provenance = nullptr);
