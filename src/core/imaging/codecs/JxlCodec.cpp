// JPEG XL (bare codestream and the container) through libjxl.
//
// Checks: the picture's size from the basic information goes through computeDibLayout before
// libjxl is given an output; libjxl bounds everything else by the file. A file that ends before
// its picture is complete is refused.
//
// libjxl decodes (on several threads) into rows of its own, which one loop converts to sRGB, lays
// over white and writes into the picture. (libjxl can also hand out each row to a callback, but
// that costs it a third more time than filling a buffer.) Pictures stored in libjxl's own
// perceptual space (lossy files) are asked for in sRGB, which libjxl produces exactly; pictures
// kept in their original space (lossless files) carry a profile that is converted like any other.
// libjxl turns the picture upright by the codestream's orientation, which encoders take from the
// EXIF orientation. Animations give their first frame. There is no reduced-size decoding.

#include <jxl/decode.h>
#include <jxl/decode_cxx.h>
#include <jxl/resizable_parallel_runner.h>
#include <jxl/resizable_parallel_runner_cxx.h>

#include <cstring>
#include <new>
#include <utility>
#include <vector>

#include "core/imaging/DibSize.h"
#include "core/imaging/codecs/BgrRowWriter.h"
#include "core/imaging/codecs/Codec.h"

namespace pr {
namespace {

bool sniffJxl(const uint8_t* data, size_t size) {
    static const uint8_t kContainer[12] = {0,   0,   0,    0x0C, 'J',  'X',
                                           'L', ' ', 0x0D, 0x0A, 0x87, 0x0A};
    if (size >= 2 && data[0] == 0xFF && data[1] == 0x0A) return true;
    return size >= 12 && std::memcmp(data, kContainer, 12) == 0;
}

DecodeResult fail(ImageError e, const char* detail = "") {
    return DecodeResult{e, detail, 0, 0, 0};
}

bool isSrgb(const JxlColorEncoding& c) {
    const bool srgbCurve = c.transfer_function == JXL_TRANSFER_FUNCTION_SRGB ||
                           c.transfer_function == JXL_TRANSFER_FUNCTION_709;
    if (c.color_space == JXL_COLOR_SPACE_GRAY) return srgbCurve;
    return c.color_space == JXL_COLOR_SPACE_RGB && c.white_point == JXL_WHITE_POINT_D65 &&
           c.primaries == JXL_PRIMARIES_SRGB && srgbCurve;
}

JxlColorEncoding srgbEncoding(bool grey) {
    JxlColorEncoding c{};
    c.color_space = grey ? JXL_COLOR_SPACE_GRAY : JXL_COLOR_SPACE_RGB;
    c.white_point = JXL_WHITE_POINT_D65;
    c.primaries = JXL_PRIMARIES_SRGB;
    c.transfer_function = JXL_TRANSFER_FUNCTION_SRGB;
    c.rendering_intent = JXL_RENDERING_INTENT_PERCEPTUAL;
    return c;
}

// The colours of the pixels libjxl will hand out, as a conversion to sRGB.
SrgbTransform colourOfOutput(JxlDecoder* dec, PixelLayout layout) {
    JxlColorEncoding encoding;
    if (JxlDecoderGetColorAsEncodedProfile(dec, nullptr, JXL_COLOR_PROFILE_TARGET_DATA,
                                           &encoding) == JXL_DEC_SUCCESS &&
        isSrgb(encoding))
        return SrgbTransform();
    size_t size = 0;
    if (JxlDecoderGetICCProfileSize(dec, nullptr, JXL_COLOR_PROFILE_TARGET_DATA, &size) !=
            JXL_DEC_SUCCESS ||
        size == 0)
        return SrgbTransform();
    std::vector<uint8_t> icc(size);
    if (JxlDecoderGetColorAsICCProfile(dec, nullptr, JXL_COLOR_PROFILE_TARGET_DATA, icc.data(),
                                       icc.size()) != JXL_DEC_SUCCESS)
        return SrgbTransform();
    return SrgbTransform::fromIcc(icc.data(), icc.size(), layout);
}

struct JxlJob {
    JxlDecoderPtr dec = JxlDecoderMake(nullptr);
    JxlResizableParallelRunnerPtr runner = JxlResizableParallelRunnerMake(nullptr);
    JxlBasicInfo info{};
    PixelLayout layout = PixelLayout::Rgb;
    std::unique_ptr<BgrRowWriter> writer;
    std::vector<uint8_t> rows;  // libjxl's output, top row first
    size_t stride = 0;
    ImageBuffer img;
};

DecodeResult onBasicInfo(JxlJob& job) {
    if (JxlDecoderGetBasicInfo(job.dec.get(), &job.info) != JXL_DEC_SUCCESS)
        return fail(ImageError::Damaged);
    const JxlBasicInfo& info = job.info;
    DibLayout layout;
    const SizeCheck sc = computeDibLayout(info.xsize, info.ysize, 24, layout);
    if (sc != SizeCheck::Ok)
        return fail(sc == SizeCheck::TooLarge ? ImageError::TooLarge : ImageError::Damaged);
    const bool grey = info.num_color_channels == 1, alpha = info.alpha_bits > 0;
    job.layout = grey ? (alpha ? PixelLayout::GreyAlpha : PixelLayout::Grey)
                      : (alpha ? PixelLayout::Rgba : PixelLayout::Rgb);
    JxlResizableParallelRunnerSetThreads(
        job.runner.get(), JxlResizableParallelRunnerSuggestThreads(info.xsize, info.ysize));
    return DecodeResult{};
}

DecodeResult onColourEncoding(JxlJob& job) {
    if (!job.info.uses_original_profile) {
        const JxlColorEncoding srgb = srgbEncoding(job.info.num_color_channels == 1);
        JxlDecoderSetPreferredColorProfile(job.dec.get(), &srgb);
    }
    job.writer = std::make_unique<BgrRowWriter>(job.layout, false,
                                                colourOfOutput(job.dec.get(), job.layout));
    return DecodeResult{};
}

DecodeResult onNeedBuffer(JxlJob& job) {
    int w = static_cast<int>(job.info.xsize), h = static_cast<int>(job.info.ysize);
    if (job.info.orientation >= JXL_ORIENT_TRANSPOSE) std::swap(w, h);
    if (!job.writer) return fail(ImageError::Damaged);
    if (!newdib(job.img, w, h, 24)) return fail(ImageError::OutOfMemory);
    const JxlPixelFormat format{static_cast<uint32_t>(bytesPerPixel(job.layout)), JXL_TYPE_UINT8,
                                JXL_NATIVE_ENDIAN, 0};
    size_t size = 0;
    if (JxlDecoderImageOutBufferSize(job.dec.get(), &format, &size) != JXL_DEC_SUCCESS)
        return fail(ImageError::Damaged);
    job.stride = static_cast<size_t>(w) * format.num_channels;
    if (size != job.stride * static_cast<size_t>(h)) return fail(ImageError::Damaged);
    try {
        job.rows.resize(size);
    } catch (const std::bad_alloc&) {
        return fail(ImageError::OutOfMemory);
    }
    if (JxlDecoderSetImageOutBuffer(job.dec.get(), &format, job.rows.data(), size) !=
        JXL_DEC_SUCCESS)
        return fail(ImageError::Unsupported);
    return DecodeResult{};
}

// libjxl's rows into the picture: colours to sRGB, alpha over white, bottom row first.
void writePicture(JxlJob& job) {
    for (int y = 0; y < job.img.height(); ++y)
        job.writer->write(job.rows.data() + job.stride * static_cast<size_t>(y), job.img.width(),
                          job.img.rowFromTop(y));
    job.rows = std::vector<uint8_t>();
}

DecodeResult decodeJxl(const uint8_t* data, size_t size, const DecodeOptions&, ImageBuffer& out) {
    if (!sniffJxl(data, size)) return fail(ImageError::UnknownFormat);
    JxlJob job;
    if (!job.dec || !job.runner) return fail(ImageError::OutOfMemory);
    JxlDecoder* dec = job.dec.get();
    if (JxlDecoderSubscribeEvents(dec, JXL_DEC_BASIC_INFO | JXL_DEC_COLOR_ENCODING |
                                           JXL_DEC_FULL_IMAGE) != JXL_DEC_SUCCESS ||
        JxlDecoderSetParallelRunner(dec, JxlResizableParallelRunner, job.runner.get()) !=
            JXL_DEC_SUCCESS ||
        JxlDecoderSetUnpremultiplyAlpha(dec, JXL_TRUE) != JXL_DEC_SUCCESS ||
        JxlDecoderSetInput(dec, data, size) != JXL_DEC_SUCCESS)
        return fail(ImageError::Damaged);
    JxlDecoderCloseInput(dec);
    for (;;) {
        DecodeResult step;
        switch (JxlDecoderProcessInput(dec)) {
            case JXL_DEC_BASIC_INFO:
                step = onBasicInfo(job);
                break;
            case JXL_DEC_COLOR_ENCODING:
                step = onColourEncoding(job);
                break;
            case JXL_DEC_NEED_IMAGE_OUT_BUFFER:
                step = onNeedBuffer(job);
                break;
            case JXL_DEC_FULL_IMAGE:
            case JXL_DEC_SUCCESS:
                if (!job.img.valid() || job.rows.empty()) return fail(ImageError::Damaged);
                writePicture(job);
                out = std::move(job.img);
                return DecodeResult{ImageError::None, {}, out.width(), out.height(), 24};
            case JXL_DEC_NEED_MORE_INPUT:
                return fail(ImageError::Damaged, "JPEG-XL-Daten zu kurz");
            case JXL_DEC_ERROR:
                return fail(ImageError::Damaged, "JPEG-XL-Daten");
            default:
                break;  // events not subscribed to
        }
        if (!step.ok()) return step;
    }
}

// The picture's size from the basic info at the start of the codestream; nothing is decoded.
DecodeResult headerJxl(const uint8_t* data, size_t size, PictureHeader& out) {
    if (!sniffJxl(data, size)) return fail(ImageError::UnknownFormat);
    JxlDecoderPtr dec = JxlDecoderMake(nullptr);
    if (!dec) return fail(ImageError::OutOfMemory);
    if (JxlDecoderSubscribeEvents(dec.get(), JXL_DEC_BASIC_INFO) != JXL_DEC_SUCCESS ||
        JxlDecoderSetInput(dec.get(), data, size) != JXL_DEC_SUCCESS)
        return fail(ImageError::Damaged);
    JxlDecoderCloseInput(dec.get());
    JxlBasicInfo info;
    if (JxlDecoderProcessInput(dec.get()) != JXL_DEC_BASIC_INFO ||
        JxlDecoderGetBasicInfo(dec.get(), &info) != JXL_DEC_SUCCESS)
        return fail(ImageError::Damaged, "JPEG-XL-Kopf");
    return announcedPicture(out, info.xsize, info.ysize, 24,
                            rowsOfCompressedPhoto(size, info.xsize, info.ysize));
}

}  // namespace

const Codec& jxlCodec() {
    static const Codec codec{"jxl", sniffJxl, headerJxl, decodeJxl};
    return codec;
}

}  // namespace pr
