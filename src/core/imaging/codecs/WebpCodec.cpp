// WebP (lossy, lossless, with alpha, animated: the first frame) through libwebp.
//
// Checks: the canvas size from the header goes through computeDibLayout, and the chunk structure
// must be complete, before the picture is allocated; libwebp itself checks every chunk against
// the bytes it was given.
//
// An opaque picture without a colour profile is decoded by libwebp straight into the bottom-up
// rows (blue, green, red, flipped). A picture with alpha or an ICC profile is decoded into
// libwebp's own rows, which one loop converts to sRGB, lays over white and writes into the
// picture. Thumbnails use libwebp's scaling, which decodes at the reduced size. An EXIF
// orientation turns the picture upright, as for JPEG.

#include <webp/decode.h>
#include <webp/demux.h>

#include <cstring>
#include <utility>

#include "core/imaging/DibSize.h"
#include "core/imaging/codecs/BgrRowWriter.h"
#include "core/imaging/codecs/Codec.h"
#include "core/imaging/codecs/ExifOrientation.h"
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

// A still picture at size `at` (the file's own size, or a reduced one for thumbnails).
VP8StatusCode decodeStill(const uint8_t* data, size_t size, const WebPBitstreamFeatures& features,
                          bool direct, const BgrRowWriter& writer, ImageBuffer& img) {
    WebPDecoderConfig config;
    if (!WebPInitDecoderConfig(&config)) return VP8_STATUS_INVALID_PARAM;
    config.input = features;
    config.options.use_threads = 1;
    if (img.width() != features.width || img.height() != features.height) {
        config.options.use_scaling = 1;
        config.options.scaled_width = img.width();
        config.options.scaled_height = img.height();
    }
    if (direct) {
        // libwebp writes top row first; flipped, its rows are the picture's bottom-up rows.
        config.output.colorspace = MODE_BGR;
        config.output.is_external_memory = 1;
        config.output.u.RGBA.rgba = img.bits;
        config.output.u.RGBA.stride = img.rowBytes;
        config.output.u.RGBA.size = static_cast<size_t>(img.imageBytes());
        config.options.flip = 1;
        return WebPDecode(data, size, &config);
    }
    config.output.colorspace = writer.layout() == PixelLayout::Rgba ? MODE_RGBA : MODE_RGB;
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
    const PixelLayout pixels =
        animated || features.has_alpha ? PixelLayout::Rgba : PixelLayout::Rgb;
    WebpMetadata meta = readMetadata(data, size, pixels);
    // A header alone may announce a canvas of 268 million pixels; the picture is allocated only
    // when the file holds its chunks.
    if (!meta.whole) return fail(ImageError::Damaged, "WebP-Datei unvollständig");
    const bool direct = pixels == PixelLayout::Rgb && !meta.colour.converts();
    const PixelSize at = animated ? PixelSize{features.width, features.height}
                                  : reducedSizeCovering(features.width, features.height, options,
                                                        orientationSwapsAxes(meta.orientation));

    ImageBuffer img;
    if (!newdib(img, at.width, at.height, 24)) return fail(ImageError::OutOfMemory);
    const BgrRowWriter writer(pixels, false, std::move(meta.colour));
    const VP8StatusCode status = animated ? decodeFirstFrame(data, size, writer, img)
                                          : decodeStill(data, size, features, direct, writer, img);
    if (status != VP8_STATUS_OK) return fail(errorFor(status), "WebP-Bilddaten");

    DecodeResult result{ImageError::None, {}, features.width, features.height, 24};
    if (!applyExifOrientation(img, meta.orientation)) return fail(ImageError::OutOfMemory);
    if (orientationSwapsAxes(meta.orientation)) std::swap(result.trueWidth, result.trueHeight);
    out = std::move(img);
    return result;
}

}  // namespace

const Codec& webpCodec() {
    static const Codec codec{"webp", sniffWebp, decodeWebp};
    return codec;
}

}  // namespace pr
