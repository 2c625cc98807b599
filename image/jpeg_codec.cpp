#include "image/jpeg_codec.h"

#include "image/dib_image.h"
#include "image/image_provenance.h"
#include "image/jpeg_error.h"
#include "platform/file_replacement.h"
#include "platform/stdio_file.h"

#include <cstring>

namespace {

// Progressive files with thousands of tiny scans decode for minutes; real ones have a dozen.
constexpr int kMaxScans = 1000;

// What a marker's two-byte length leaves for its contents.
constexpr std::size_t kMaxJpegCommentBytes = 65533;

void errorExit(j_common_ptr cinfo)
{
    auto* manager = reinterpret_cast<JpegErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, manager->text);
    manager->code = cinfo->err->msg_code;
    std::longjmp(manager->jump, 1);
}

void outputMessage(j_common_ptr cinfo)
{
    char buffer[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, buffer);
}

void limitScans(j_common_ptr cinfo)
{
    if (cinfo->is_decompressor &&
        reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans)
        FailJpeg(cinfo, "Too many scans in JPEG file");
}

struct Decompressor
{
    jpeg_decompress_struct cinfo{};
    ~Decompressor() { jpeg_destroy_decompress(&cinfo); }
};

struct Compressor
{
    jpeg_compress_struct cinfo{};
    ~Compressor() { jpeg_destroy_compress(&cinfo); }
};

struct JpegInput
{
    std::FILE* file = nullptr;
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
};

enum class DecodeResult
{
    Done,
    LibraryError,
    CreateFailed,
};

std::uint8_t scaleByInk(int value, int ink)
{
    return static_cast<std::uint8_t>((value * ink + 127) / 255);
}

// Turns one scanline of inks into blue, green, red. Adobe's files store the inks inverted, and
// YCCK always comes from them.
void storeCmykRow(const j_decompress_ptr cinfo, const JSAMPLE* in, std::uint8_t* out)
{
    const bool inverted = cinfo->saw_Adobe_marker;
    for (JDIMENSION x = 0; x < cinfo->output_width; ++x, in += 4, out += 3) {
        const int c = inverted ? in[0] : 255 - in[0];
        const int m = inverted ? in[1] : 255 - in[1];
        const int y = inverted ? in[2] : 255 - in[2];
        const int k = inverted ? in[3] : 255 - in[3];
        out[0] = scaleByInk(y, k);
        out[1] = scaleByInk(m, k);
        out[2] = scaleByInk(c, k);
    }
}

// The library jumps back here on an error, so this function keeps no object with a destructor.
DecodeResult decodeJpeg(jpeg_decompress_struct* cinfo, JpegErrorManager* errors,
                        jpeg_progress_mgr* progress, const JpegInput* input, CDibImage* image)
{
    if (setjmp(errors->jump))
        return DecodeResult::LibraryError;

    jpeg_create_decompress(cinfo);
    cinfo->mem->max_memory_to_use = static_cast<long>(kMaxDibBytes);
    cinfo->progress = progress;
    if (input->file)
        jpeg_stdio_src(cinfo, input->file);
    else
        jpeg_mem_src(cinfo, input->data, static_cast<unsigned long>(input->size));

    jpeg_read_header(cinfo, TRUE);
    // The library writes grey and colour pictures straight into the DIB rows as blue, green, red;
    // only inks need a pass of ours.
    switch (cinfo->jpeg_color_space) {
    case JCS_GRAYSCALE:
        cinfo->out_color_space = JCS_EXT_BGR;
        break;
    case JCS_CMYK:
    case JCS_YCCK:
        cinfo->out_color_space = JCS_CMYK;
        break;
    default:
        if (cinfo->num_components != 3)
            FailJpeg(reinterpret_cast<j_common_ptr>(cinfo), "Unsupported JPEG color space");
        cinfo->out_color_space = JCS_EXT_BGR;
        break;
    }
    cinfo->dct_method = JDCT_FLOAT;

    if (cinfo->image_width > 0x7FFFFFFF || cinfo->image_height > 0x7FFFFFFF ||
        !image->Create(static_cast<int>(cinfo->image_width), static_cast<int>(cinfo->image_height),
                       24))
        return DecodeResult::CreateFailed;

    jpeg_start_decompress(cinfo);
    const bool inks = cinfo->out_color_space == JCS_CMYK;
    if (cinfo->output_components != (inks ? 4 : 3) || cinfo->output_width != cinfo->image_width ||
        cinfo->output_height != cinfo->image_height)
        FailJpeg(reinterpret_cast<j_common_ptr>(cinfo), "Unexpected JPEG output format");

    JSAMPARRAY inkRow = nullptr;
    if (inks)
        inkRow = (*cinfo->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE,
                                             cinfo->output_width * 4, 1);
    while (cinfo->output_scanline < cinfo->output_height) {
        JSAMPROW target = image->PictureRow(static_cast<int>(cinfo->output_scanline));
        if (inks) {
            jpeg_read_scanlines(cinfo, inkRow, 1);
            storeCmykRow(cinfo, inkRow[0], target);
        } else {
            jpeg_read_scanlines(cinfo, &target, 1);
        }
    }
    jpeg_finish_decompress(cinfo);
    return DecodeResult::Done;
}

int loadJpeg(const JpegInput& input, CDibImage& image)
{
    Decompressor decompressor;
    JpegErrorManager errors;
    decompressor.cinfo.err = InstallJpegErrorHandler(errors);
    jpeg_progress_mgr progress{};
    progress.progress_monitor = limitScans;
    const DecodeResult result = decodeJpeg(&decompressor.cinfo, &errors, &progress, &input, &image);
    return result == DecodeResult::Done ? 1 : 0;
}

// The library jumps back here on an error, so this function keeps no object with a destructor.
bool encodeJpeg(jpeg_compress_struct* cinfo, JpegErrorManager* errors, std::FILE* file,
                const CDibImage* image, int quality, const std::string* comment)
{
    if (setjmp(errors->jump))
        return false;

    jpeg_create_compress(cinfo);
    jpeg_stdio_dest(cinfo, file);
    cinfo->image_width = static_cast<JDIMENSION>(image->Width());
    cinfo->image_height = static_cast<JDIMENSION>(image->Height());
    cinfo->input_components = 3;
    // The DIB rows go to the library as they are, blue, green, red.
    cinfo->in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(cinfo);
    cinfo->optimize_coding = TRUE;
    cinfo->dct_method = JDCT_FLOAT;
    jpeg_set_quality(cinfo, quality, FALSE);
    jpeg_start_compress(cinfo, TRUE);
    if (comment)
        jpeg_write_marker(cinfo, JPEG_COM, reinterpret_cast<const JOCTET*>(comment->data()),
                          static_cast<unsigned int>(comment->size()));

    while (cinfo->next_scanline < cinfo->image_height) {
        // The library only reads the rows it is handed.
        JSAMPROW row =
            const_cast<JSAMPROW>(image->PictureRow(static_cast<int>(cinfo->next_scanline)));
        jpeg_write_scanlines(cinfo, &row, 1);
    }
    jpeg_finish_compress(cinfo);
    return true;
}

} // namespace

jpeg_error_mgr* InstallJpegErrorHandler(JpegErrorManager& manager)
{
    jpeg_std_error(&manager.pub);
    manager.pub.error_exit = errorExit;
    manager.pub.output_message = outputMessage;
    return &manager.pub;
}

void FailJpeg(j_common_ptr cinfo, const char* text)
{
    auto* manager = reinterpret_cast<JpegErrorManager*>(cinfo->err);
    std::snprintf(manager->text, sizeof manager->text, "%s", text);
    manager->code = 0;
    std::longjmp(manager->jump, 1);
}

int LoadJpeg(const std::string& path, CDibImage& image)
{
    StdioFile file = OpenStdioFile(path, "rb");
    if (!file)
        return 0;
    JpegInput input;
    input.file = file.get();
    return loadJpeg(input, image);
}

int LoadJpegData(std::span<const std::uint8_t> data, CDibImage& image)
{
    if (data.empty())
        return 0;
    JpegInput input;
    input.data = data.data();
    input.size = data.size();
    return loadJpeg(input, image);
}

int SaveJpeg(const std::string& path, const CDibImage& image, int quality,
             const ImageProvenance* provenance)
{
    CFileReplacement file(path);
    return SaveJpeg(file, image, quality, provenance);
}

int SaveJpeg(CFileReplacement& file, const CDibImage& image, int quality,
             const ImageProvenance* provenance)
{
    if (image.IsEmpty() || image.BitCount() != 24)
        return 0;
    std::FILE* stream = file.open();
    if (!stream)
        return 0;

    // A marker holds at most 65533 bytes; the comment's source name is cut well before that.
    std::string comment;
    if (provenance)
        comment = ProvenanceComment(*provenance).substr(0, kMaxJpegCommentBytes);

    Compressor compressor;
    JpegErrorManager errors;
    compressor.cinfo.err = InstallJpegErrorHandler(errors);
    if (!encodeJpeg(&compressor.cinfo, &errors, stream, &image, quality,
                    provenance ? &comment : nullptr))
        throw CJPEGException(errors.code, errors.text);
    if (const int error = file.commit(); error != 0)
        throw CFileException(file.path(), error);
    return 1;
}
