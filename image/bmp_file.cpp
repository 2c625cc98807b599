#include "image/bmp_file.h"

#include "image/bmp_decoder.h"
#include "image/byte_order.h"
#include "image/dib_image.h"
#include "image/image_file_type.h"
#include "platform/exception.h"
#include "platform/file_replacement.h"
#include "platform/stdio_file.h"

#include <cerrno>
#include <new>
#include <vector>

namespace {

constexpr std::size_t kFileHeaderSize = 14;
// No bitmap this program would hold comes from a larger file.
constexpr std::size_t kMaxBitmapFileBytes = kMaxDibBytes + kMaxDibBytes / 2;

int errorOrEio()
{
    return errno != 0 ? errno : EIO;
}

} // namespace

bool HasBitmapExtension(std::string_view path)
{
    return GetImageFileType(path) == IMG_TYPE_BMP;
}

DibBlock ReadDibStream(std::FILE* file, const std::string& path)
{
    std::vector<std::uint8_t> contents;
    std::uint8_t buffer[65536];
    for (;;) {
        const std::size_t got = std::fread(buffer, 1, sizeof buffer, file);
        if (got > 0) {
            if (contents.size() + got > kMaxBitmapFileBytes)
                return {};
            contents.insert(contents.end(), buffer, buffer + got);
        }
        if (got < sizeof buffer)
            break;
    }
    if (std::ferror(file))
        throw CFileException(path, errorOrEio());
    return DecodeBmp(contents);
}

int WriteDibStream(DibBlock& block, std::FILE* file, const std::string& path)
{
    std::uint8_t* header = block.data();
    if (block.size() < kInfoHeaderSize || !DibHasInfoHeader(header))
        return 0;

    const std::uint32_t compression = DibCompression(header);
    std::uint64_t imageSize = ReadLE32(header + 20);
    if (compression != kCompressionRle8 && compression != kCompressionRle4) {
        imageSize = std::uint64_t(DibStride(DibPixelWidth(header), DibBitCount(header))) *
                    std::uint64_t(DibPixelHeight(header));
        WriteLE32(header + 20, static_cast<std::uint32_t>(imageSize));
    }
    const std::uint64_t tableSize = DibColorTableSize(header);
    const std::uint64_t dibSize = kInfoHeaderSize + tableSize + imageSize;
    if (dibSize > block.size())
        return 0;

    std::uint8_t fileHeader[kFileHeaderSize] = {'B', 'M'};
    WriteLE32(fileHeader + 2, static_cast<std::uint32_t>(dibSize + kFileHeaderSize));
    WriteLE32(fileHeader + 10,
              static_cast<std::uint32_t>(kFileHeaderSize + kInfoHeaderSize + tableSize));

    errno = 0;
    if (std::fwrite(fileHeader, 1, kFileHeaderSize, file) != kFileHeaderSize ||
        std::fwrite(header, 1, dibSize, file) != dibSize)
        throw CFileException(path, errorOrEio());
    return 1;
}

int CDibImage::LoadBmp(const std::string& path)
{
    if (!HasBitmapExtension(path))
        return 0;
    std::vector<std::uint8_t> contents;
    switch (ReadWholeFile(path, contents, kMaxBitmapFileBytes)) {
    case ReadFileResult::CannotOpen:
        return 0;
    case ReadFileResult::Ok:
        return Attach(DecodeBmp(contents));
    default:
        return Attach(DibBlock());
    }
}

int CDibImage::SaveBmp(const std::string& path)
{
    CFileReplacement file(path);
    return SaveBmp(file);
}

int CDibImage::SaveBmp(CFileReplacement& file)
{
    // The name as given, not the file behind a link, says what is asked for.
    if (IsEmpty() || !HasBitmapExtension(file.path()))
        return 0;
    // An image with any other header cannot be written; say so before touching the file.
    if (!DibHasInfoHeader(Header()))
        return 0;
    std::FILE* stream = file.open();
    if (!stream || !WriteDibStream(m_block, stream, file.path()))
        return 0;
    if (const int error = file.commit(); error != 0)
        throw CFileException(file.path(), error);
    return 1;
}
