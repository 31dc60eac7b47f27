// WebP (lossy, lossless, with alpha, animated: the first frame) through libwebp.
//
// Checks: the canvas size from the header goes through computeDibLayout, and the chunk structure
// must be complete, before the picture is allocated; libwebp itself checks every chunk against
// the bytes it was given.
//
// An opaque picture is decoded by libwebp straight into the bottom-up rows (blue, green, red,
// flipped); with an ICC profile, a slice of the file at a time, each slice's finished rows being
// converted to sRGB at once. A picture with alpha is decoded into libwebp's own rows, which one
// loop converts, lays over white and writes into the picture. Thumbnails use libwebp's scaling,
// which decodes at the reduced size. An EXIF orientation turns the picture upright, as for JPEG.

#include <webp/decode.h>
#include <webp/demux.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "core/imaging/DibSize.h"
#include "core/imaging/Orientation.h"
#include "core/imaging/codecs/BgrRowWriter.h"
#include "core/imaging/codecs/Codec.h"
#include "core/imaging/codecs/ExifPayload.h"
#include "core/imaging/codecs/ReducedSize.h"

namespace pr {
namespace {

bool sniffWebp(const uint8_t* data, size_t size) {
    return size >= 12 && std::memcmp(data, "RIFF", 4) == 0 && std::memcmp(data + 8, "WEBP", 4) == 0;
}

DecodeResult fail(ImageError e, const char* detail = "") {
    return DecodeResult{e, detail, 0, 0, 0};
}

ImageError errorFor(VP8StatusCode status) {
    switch (status) {
        case VP8_STATUS_OUT_OF_MEMORY:
            return ImageError::OutOfMemory;
        case VP8_STATUS_UNSUPPORTED_FEATURE:
            return ImageError::Unsupported;
        default:
            return ImageError::Damaged;
    }
}

// The metadata chunks of an extended file: the colour profile and the EXIF orientation.
struct WebpMetadata {
    bool whole = false;  // every chunk is there, the picture's own among them
    SrgbTransform colour;
    int orientation = 1;
};

WebpMetadata readMetadata(const uint8_t* data, size_t size, PixelLayout layout) {
    WebpMetadata meta;
    const WebPData whole{data, size};
    WebPDemuxer* demux = WebPDemux(&whole);
    if (!demux || WebPDemuxGetI(demux, WEBP_FF_FRAME_COUNT) == 0) {
        WebPDemuxDelete(demux);
        return meta;
    }
    meta.whole = true;
    const uint32_t flags = WebPDemuxGetI(demux, WEBP_FF_FORMAT_FLAGS);
    WebPChunkIterator chunk;
    if ((flags & ICCP_FLAG) && WebPDemuxGetChunk(demux, "ICCP", 1, &chunk)) {
        meta.colour = SrgbTransform::fromIcc(chunk.chunk.bytes, chunk.chunk.size, layout);
        WebPDemuxReleaseChunkIterator(&chunk);
    }
    if ((flags & EXIF_FLAG) && WebPDemuxGetChunk(demux, "EXIF", 1, &chunk)) {
        meta.orientation = exifPayloadOrientation(chunk.chunk.bytes, chunk.chunk.size);
        WebPDemuxReleaseChunkIterator(&chunk);
    }
    WebPDemuxDelete(demux);
    return meta;
}

// Copies rows top first from a buffer of `layout` pixels into the picture.
void writeRows(const uint8_t* rows, int stride, const BgrRowWriter& writer, ImageBuffer& img) {
    for (int y = 0; y < img.height(); ++y)
        writer.write(rows + static_cast<int64_t>(y) * stride, img.width(), img.rowFromTop(y));
}

// libwebp decodes straight into the bottom-up rows: it writes top row first, and flipped, its
// rows are the picture's rows.
void decodeIntoPicture(WebPDecoderConfig& config, ImageBuffer& img) {
    config.output.colorspace = MODE_BGR;
    config.output.is_external_memory = 1;
    config.output.u.RGBA.rgba = img.bits;
    config.output.u.RGBA.stride = img.rowBytes;
    config.output.u.RGBA.size = static_cast<size_t>(img.imageBytes());
    config.options.flip = 1;
}

// An opaque picture with a profile: decoded into the picture a slice of the file at a time, and
// the rows each slice completed are converted at once, while they are still in the cache.
VP8StatusCode decodeConvertingRows(const uint8_t* data, size_t size, WebPDecoderConfig& config,
                                   const BgrRowWriter& writer, ImageBuffer& img) {
    constexpr size_t kSlice = 32 * 1024;
    WebPIDecoder* idec = WebPIDecode(nullptr, 0, &config);
    if (!idec) return VP8_STATUS_OUT_OF_MEMORY;
    VP8StatusCode status = VP8_STATUS_SUSPENDED;
    int converted = 0;
    for (size_t fed = 0; status == VP8_STATUS_SUSPENDED && fed < size;) {
        fed = std::min(size, fed + kSlice);
        status = WebPIUpdate(idec, data, fed);
        int decoded = 0;
        if (status != VP8_STATUS_OK && status != VP8_STATUS_SUSPENDED) break;
        if (!WebPIDecGetRGB(idec, &decoded, nullptr, nullptr, nullptr)) continue;
        for (decoded = std::min(decoded, img.height()); converted < decoded; ++converted) {
            uint8_t* row = img.rowFromTop(converted);
            writer.write(row, img.width(), row);
        }
    }
    WebPIDelete(idec);
    return status == VP8_STATUS_SUSPENDED ? VP8_STATUS_NOT_ENOUGH_DATA : status;
}

// A still picture at the picture's size (the file's own size, or a reduced one for thumbnails).
// Decoding runs on the calling thread: pictures are decoded several at a time already.
VP8StatusCode decodeStill(const uint8_t* data, size_t size, const WebPBitstreamFeatures& features,
                          const BgrRowWriter& writer, ImageBuffer& img) {
    WebPDecoderConfig config;
    if (!WebPInitDecoderConfig(&config)) return VP8_STATUS_INVALID_PARAM;
    config.input = features;
    if (img.width() != features.width || img.height() != features.height) {
        config.options.use_scaling = 1;
        config.options.scaled_width = img.width();
        config.options.scaled_height = img.height();
    }
    if (writer.layout() == PixelLayout::Bgr) {
        decodeIntoPicture(config, img);
        if (writer.converts()) return decodeConvertingRows(data, size, config, writer, img);
        return WebPDecode(data, size, &config);
    }
    config.output.colorspace = MODE_RGBA;
    const VP8StatusCode status = WebPDecode(data, size, &config);
    if (status == VP8_STATUS_OK)
        writeRows(config.output.u.RGBA.rgba, config.output.u.RGBA.stride, writer, img);
    WebPFreeDecBuffer(&config.output);
    return status;
}

// The first frame of an animation, as the canvas shows it.
VP8StatusCode decodeFirstFrame(const uint8_t* data, size_t size, const BgrRowWriter& writer,
                               ImageBuffer& img) {
    WebPAnimDecoderOptions options;
    if (!WebPAnimDecoderOptionsInit(&options)) return VP8_STATUS_INVALID_PARAM;
    options.color_mode = MODE_RGBA;
    const WebPData whole{data, size};
    WebPAnimDecoder* decoder = WebPAnimDecoderNew(&whole, &options);
    if (!decoder) return VP8_STATUS_BITSTREAM_ERROR;
    WebPAnimInfo info;
    uint8_t* canvas = nullptr;
    int timestamp = 0;
    VP8StatusCode status = VP8_STATUS_BITSTREAM_ERROR;
    if (WebPAnimDecoderGetInfo(decoder, &info) &&
        static_cast<int>(info.canvas_width) == img.width() &&
        static_cast<int>(info.canvas_height) == img.height() &&
        WebPAnimDecoderGetNext(decoder, &canvas, &timestamp)) {
        writeRows(canvas, img.width() * 4, writer, img);
        status = VP8_STATUS_OK;
    }
    WebPAnimDecoderDelete(decoder);
    return status;
}

DecodeResult decodeWebp(const uint8_t* data, size_t size, const DecodeOptions& options,
                        ImageBuffer& out) {
    if (!sniffWebp(data, size)) return fail(ImageError::UnknownFormat);
    WebPBitstreamFeatures features;
    const VP8StatusCode headerStatus = WebPGetFeatures(data, size, &features);
    if (headerStatus != VP8_STATUS_OK) return fail(errorFor(headerStatus), "WebP-Kopf");
    DibLayout layout;
    const SizeCheck sc = computeDibLayout(features.width, features.height, 24, layout);
    if (sc != SizeCheck::Ok)
        return fail(sc == SizeCheck::TooLarge ? ImageError::TooLarge : ImageError::Damaged);

    const bool animated = features.has_animation != 0;
    // Opaque pictures are written by libwebp itself (and converted in place); pictures with alpha
    // go through libwebp's own rows to be laid over white.
    const PixelLayout pixels =
        animated || features.has_alpha ? PixelLayout::Rgba : PixelLayout::Bgr;
    WebpMetadata meta = readMetadata(data, size, pixels);
    // A header alone may announce a canvas of 268 million pixels; the picture is allocated only
    // when the file holds its chunks.
    if (!meta.whole) return fail(ImageError::Damaged, "WebP-Datei unvollständig");
    const PixelSize at = animated ? PixelSize{features.width, features.height}
                                  : reducedSizeCovering(features.width, features.height, options,
                                                        orientationSwapsAxes(meta.orientation));

    ImageBuffer img;
    if (!newdib(img, at.width, at.height, 24)) return fail(ImageError::OutOfMemory);
    const BgrRowWriter writer(pixels, false, std::move(meta.colour));
    const VP8StatusCode status = animated ? decodeFirstFrame(data, size, writer, img)
                                          : decodeStill(data, size, features, writer, img);
    if (status != VP8_STATUS_OK) return fail(errorFor(status), "WebP-Bilddaten");

    DecodeResult result{ImageError::None, {}, features.width, features.height, 24};
    result.orientation = meta.orientation;  // decodeWith turns the picture upright
    out = std::move(img);
    return result;
}

DecodeResult headerWebp(const uint8_t* data, size_t size, PictureHeader& out) {
    if (!sniffWebp(data, size)) return fail(ImageError::UnknownFormat);
    WebPBitstreamFeatures features;
    const VP8StatusCode status = WebPGetFeatures(data, size, &features);
    if (status != VP8_STATUS_OK) return fail(errorFor(status), "WebP-Kopf");
    return announcedPicture(out, features.width, features.height, 24,
                            rowsOfCompressedPhoto(size, features.width, features.height));
}

}  // namespace

const Codec& webpCodec() {
    static const Codec codec{"webp", sniffWebp, headerWebp, decodeWebp};
    return codec;
}

}  // namespace pr
