#include "image/png_codec.h"

#include "image/dib_image.h"
#include "image/image_provenance.h"
#include "platform/file_replacement.h"
#include "platform/stdio_file.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

#include <png.h>

namespace {

// A PNG file holds its pixels compressed; none that this program could hold is larger than this.
constexpr std::size_t kMaxPngFileBytes = kMaxDibBytes;

struct MemoryReadState
{
    const std::uint8_t* start = nullptr;
    std::size_t size = 0;
    std::size_t consumed = 0;
};

void readFromMemory(png_structp png, png_bytep out, png_size_t count)
{
    auto* state = static_cast<MemoryReadState*>(png_get_io_ptr(png));
    if (count > state->size - state->consumed)
        png_error(png, "Read past the end of the PNG data");
    std::memcpy(out, state->start + state->consumed, count);
    state->consumed += count;
}

void ignoreMessage(png_structp, png_const_charp) {}

// A handler that returned would let the library print its own line ("libpng error: Write
// Error") before it jumps: this one jumps at once. The caller tells why, from errno for a write.
[[noreturn]] void jumpBack(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

struct PngReader
{
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~PngReader() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
};

struct PngWriter
{
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~PngWriter() { png_destroy_write_struct(&png, info ? &info : nullptr); }
};

void requestTransformations(png_structp png, png_infop info)
{
    // Composite with the stored sample values, as viewers do, not in linear light: a file's gamma
    // or sRGB chunk must not change its colours.
    png_set_gamma(png, 1.0, 1.0);
    png_color_16 black{};
    png_set_background(png, &black, PNG_BACKGROUND_GAMMA_SCREEN, 0, 1.0);
    const int bitDepth = png_get_bit_depth(png, info);
    const int colorType = png_get_color_type(png, info);
    if (bitDepth == 16)
        png_set_strip_16(png);
    if (colorType == PNG_COLOR_TYPE_PALETTE)
        png_set_expand(png);
    if (bitDepth < 8)
        png_set_expand(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS))
        png_set_expand(png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    png_set_strip_alpha(png);
    png_set_bgr(png);
}

enum class DecodeResult
{
    Done,
    LibraryError,
    CreateFailed,
};

// The library jumps back here on an error, so this function keeps no object with a destructor.
DecodeResult decodePng(png_structp png, png_infop info, MemoryReadState* state, CDibImage* image)
{
    if (setjmp(png_jmpbuf(png)))
        return DecodeResult::LibraryError;

    png_set_read_fn(png, state, readFromMemory);
#ifdef CLIPMINT_FUZZING
    // Mutated files rarely keep their checksums; let the fuzzer reach the decoder behind them.
    png_set_crc_action(png, PNG_CRC_QUIET_USE, PNG_CRC_QUIET_USE);
#endif
    png_read_info(png, info);
    requestTransformations(png, info);

    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    if (width > 0x7FFFFFFF || height > 0x7FFFFFFF ||
        !image->Create(static_cast<int>(width), static_cast<int>(height), 24))
        return DecodeResult::CreateFailed;

    const int passes = png_get_interlace_type(png, info) == PNG_INTERLACE_NONE
                           ? 1
                           : png_set_interlace_handling(png);
    png_read_update_info(png, info);
    // Every transformation above ends in three bytes a pixel; anything else would overrun a row.
    if (png_get_rowbytes(png, info) != static_cast<png_size_t>(width) * 3)
        png_error(png, "Unexpected PNG row layout");

    for (int pass = 0; pass < passes; ++pass) {
        for (png_uint_32 y = 0; y < height; ++y)
            png_read_row(png, image->PictureRow(static_cast<int>(y)), nullptr);
    }
    png_read_end(png, nullptr);
    return DecodeResult::Done;
}

// How hard each compression works. At level 1 zlib takes less time than the library's adaptive
// filtering takes to choose a filter for each row; the Up filter alone writes about twice as
// fast, and the files of video frames and photographs we measured were up to a tenth larger.
struct PngEffort
{
    int level;
    int filters;
};

PngEffort effortOf(PngCompression compression)
{
    if (compression == PngCompression::Fast)
        return {1, PNG_FILTER_UP};
    return {9, PNG_ALL_FILTERS};
}

// The library jumps back here on an error, so this function keeps no object with a destructor.
bool encodePng(png_structp png, png_infop info, std::FILE* file, const CDibImage* image,
               const PngEffort* effort, const std::vector<png_text>* texts)
{
    if (setjmp(png_jmpbuf(png)))
        return false;

    png_set_compression_level(png, effort->level);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, effort->filters);
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image->Width()),
                 static_cast<png_uint_32>(image->Height()), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!texts->empty())
        png_set_text(png, info, texts->data(), static_cast<int>(texts->size()));
    png_set_bgr(png);
    png_write_info(png, info);
    for (int y = 0; y < image->Height(); ++y)
        png_write_row(png, image->PictureRow(y));
    png_write_end(png, nullptr);
    return true;
}

bool isAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The chunks of the provenance's fields, pointing into fields, which must outlive them.
std::vector<png_text> textChunks(std::vector<ProvenanceField>& fields)
{
    std::vector<png_text> texts;
    for (ProvenanceField& field : fields) {
        png_text text{};
        text.compression =
            isAscii(field.text) ? PNG_TEXT_COMPRESSION_NONE : PNG_ITXT_COMPRESSION_NONE;
        // The library copies both and writes neither back; the keywords are literals, ended by
        // a zero.
        text.key = const_cast<char*>(field.keyword.data());
        text.text = field.text.data();
        text.text_length = field.text.size();
        texts.push_back(text);
    }
    return texts;
}

} // namespace

int LoadPngData(std::span<const std::uint8_t> data, CDibImage& image)
{
    if (data.empty())
        return 0;
    PngReader reader;
    reader.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, jumpBack, ignoreMessage);
    if (!reader.png)
        return 0;
    reader.info = png_create_info_struct(reader.png);
    if (!reader.info)
        return 0;
    MemoryReadState state{data.data(), data.size(), 0};
    return decodePng(reader.png, reader.info, &state, &image) == DecodeResult::Done ? 1 : 0;
}

int LoadPng(const std::string& path, CDibImage& image)
{
    std::vector<std::uint8_t> contents;
    if (ReadWholeFile(path, contents, kMaxPngFileBytes) != ReadFileResult::Ok)
        return 0;
    return LoadPngData(contents, image);
}

int SavePng(const std::string& path, const CDibImage& image, PngCompression compression,
            const ImageProvenance* provenance)
{
    CFileReplacement file(path);
    return SavePng(file, image, compression, provenance);
}

int SavePng(CFileReplacement& file, const CDibImage& image, PngCompression compression,
            const ImageProvenance* provenance)
{
    if (image.IsEmpty() || image.BitCount() != 24)
        return 0;
    std::FILE* stream = file.open();
    if (!stream)
        return 0;

    PngWriter writer;
    writer.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, jumpBack, ignoreMessage);
    if (!writer.png)
        return 0;
    writer.info = png_create_info_struct(writer.png);
    if (!writer.info)
        return 0;
    std::vector<ProvenanceField> fields;
    if (provenance)
        fields = ProvenanceFields(*provenance);
    const std::vector<png_text> texts = textChunks(fields);
    const PngEffort effort = effortOf(compression);
    if (!encodePng(writer.png, writer.info, stream, &image, &effort, &texts))
        return 0;
    // What the library handed to the stream may still sit in its buffer: only a clean close
    // means the file is complete.
    return file.commit() == 0 ? 1 : 0;
}
