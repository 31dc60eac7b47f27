// AVIF through libavif (which decodes the AV1 data with dav1d or libaom).
//
// Checks: libavif's own limits are set no wider than Limits.h, and the picture's size from the
// header goes through computeDibLayout before anything is decoded; libavif bounds every box by
// the file. Strictness is off, as in the browsers: files from early encoders lack boxes that are
// only advice (pixi, for one).
//
// libavif hands out YUV planes, which it converts to 8-bit rows of its own; one loop then crops
// them (clap), converts the colours to sRGB (ICC profile, or nclx primaries and transfer), lays
// alpha over white and writes the picture. The HEIF turn and mirror (irot, imir) are applied
// after that, so the picture comes out upright. libavif cannot decode at a reduced size, so
// thumbnails decode the whole picture.

#include <avif/avif.h>

#include <memory>
#include <new>
#include <thread>
#include <utility>
#include <vector>

#include "core/imaging/DibSize.h"
#include "core/imaging/Limits.h"
#include "core/imaging/Orientation.h"
#include "core/imaging/codecs/BgrRowWriter.h"
#include "core/imaging/codecs/Codec.h"
#include "core/imaging/codecs/IsoBrands.h"

namespace pr {
namespace {

bool sniffAvif(const uint8_t* data, size_t size) {
    return isoPictureKind(data, size) == IsoPictureKind::Avif;
}

DecodeResult fail(ImageError e, const std::string& detail = {}) {
    return DecodeResult{e, detail, 0, 0, 0};
}

DecodeResult failWith(avifResult r) {
    ImageError e = ImageError::Damaged;
    if (r == AVIF_RESULT_OUT_OF_MEMORY)
        e = ImageError::OutOfMemory;
    else if (r == AVIF_RESULT_UNSUPPORTED_DEPTH || r == AVIF_RESULT_NO_CODEC_AVAILABLE ||
             r == AVIF_RESULT_NOT_IMPLEMENTED)
        e = ImageError::Unsupported;
    // libavif's own words are English: they go to the log, the user reads German.
    logLibraryMessage("libavif", avifResultToString(r));
    return fail(e, e == ImageError::Damaged ? "AVIF-Daten" : "");
}

struct DecoderDestroy {
    void operator()(avifDecoder* d) const { avifDecoderDestroy(d); }
};

// The EXIF orientation that does what the turn (irot: quarter turns anticlockwise) and then the
// mirror (imir: 0 exchanges top and bottom, 1 left and right) do.
int orientationOf(const avifImage& image) {
    static const int kTable[4][3] = {// no mirror, top-bottom, left-right
                                     {1, 4, 2},
                                     {8, 5, 7},
                                     {3, 2, 4},
                                     {6, 7, 5}};
    const int angle = (image.transformFlags & AVIF_TRANSFORM_IROT) ? image.irot.angle & 3 : 0;
    const int mirror = (image.transformFlags & AVIF_TRANSFORM_IMIR) ? (image.imir.mode & 1) + 1 : 0;
    return kTable[angle][mirror];
}

// The clean aperture, or the whole picture when there is none or it is not valid.
avifCropRect visibleRect(const avifImage& image) {
    avifCropRect rect{0, 0, image.width, image.height};
    if (image.transformFlags & AVIF_TRANSFORM_CLAP) {
        avifCropRect clap;
        avifDiagnostics diag;
        if (avifCropRectConvertCleanApertureBox(&clap, &image.clap, image.width, image.height,
                                                image.yuvFormat, &diag) &&
            clap.width > 0 && clap.height > 0)
            rect = clap;
    }
    return rect;
}

SrgbTransform colourOf(const avifImage& image, PixelLayout layout) {
    if (image.icc.size > 0) return SrgbTransform::fromIcc(image.icc.data, image.icc.size, layout);
    return SrgbTransform::fromCodePoints(image.colorPrimaries, image.transferCharacteristics,
                                         layout);
}

DecodeResult decodeAvif(const uint8_t* data, size_t size, const DecodeOptions&, ImageBuffer& out) {
    if (!sniffAvif(data, size)) return fail(ImageError::UnknownFormat);
    std::unique_ptr<avifDecoder, DecoderDestroy> decoder(avifDecoderCreate());
    if (!decoder) return fail(ImageError::OutOfMemory);
    decoder->maxThreads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    decoder->strictFlags = AVIF_STRICT_DISABLED;
    decoder->ignoreExif = AVIF_TRUE;
    decoder->ignoreXMP = AVIF_TRUE;
    if (decoder->imageSizeLimit > kMaxImagePixels)
        decoder->imageSizeLimit = static_cast<uint32_t>(kMaxImagePixels);
    avifResult r = avifDecoderSetIOMemory(decoder.get(), data, size);
    if (r == AVIF_RESULT_OK) r = avifDecoderParse(decoder.get());
    if (r != AVIF_RESULT_OK) return failWith(r);

    const avifImage& header = *decoder->image;
    DibLayout layout;
    SizeCheck sc = computeDibLayout(header.width, header.height, 24, layout);
    if (sc != SizeCheck::Ok)
        return fail(sc == SizeCheck::TooLarge ? ImageError::TooLarge : ImageError::Damaged);

    r = avifDecoderNextImage(decoder.get());
    if (r != AVIF_RESULT_OK) return failWith(r);
    const avifImage& image = *decoder->image;
    const bool alpha = image.alphaPlane != nullptr;
    const PixelLayout pixels = alpha ? PixelLayout::Rgba : PixelLayout::Bgr;
    const int channels = bytesPerPixel(pixels);

    avifRGBImage rgb;
    avifRGBImageSetDefaults(&rgb, &image);
    rgb.depth = 8;
    rgb.format = alpha ? AVIF_RGB_FORMAT_RGBA : AVIF_RGB_FORMAT_BGR;
    rgb.alphaPremultiplied = AVIF_FALSE;  // libavif undoes a premultiplied file
    rgb.rowBytes = image.width * static_cast<uint32_t>(channels);
    std::vector<uint8_t> rows;
    const avifCropRect rect = visibleRect(image);
    ImageBuffer img;
    try {
        rows.resize(static_cast<size_t>(rgb.rowBytes) * image.height);
    } catch (const std::bad_alloc&) {
        return fail(ImageError::OutOfMemory);
    }
    rgb.pixels = rows.data();
    r = avifImageYUVToRGB(&image, &rgb);
    if (r != AVIF_RESULT_OK) return failWith(r);
    if (!newdib(img, static_cast<int>(rect.width), static_cast<int>(rect.height), 24))
        return fail(ImageError::OutOfMemory);

    const BgrRowWriter writer(pixels, false, colourOf(image, pixels));
    for (uint32_t y = 0; y < rect.height; ++y)
        writer.write(rows.data() + static_cast<size_t>(rect.y + y) * rgb.rowBytes +
                         static_cast<size_t>(rect.x) * channels,
                     static_cast<int>(rect.width), img.rowFromTop(static_cast<int>(y)));
    rows = std::vector<uint8_t>();

    DecodeResult result{ImageError::None, {}, img.width(), img.height(), 24};
    result.orientation = orientationOf(image);  // decodeWith turns the picture upright
    out = std::move(img);
    return result;
}

// The picture as the file's boxes describe it, before the clean aperture and the turns.
DecodeResult headerAvif(const uint8_t* data, size_t size, PictureHeader& out) {
    if (!sniffAvif(data, size)) return fail(ImageError::UnknownFormat);
    std::unique_ptr<avifDecoder, DecoderDestroy> decoder(avifDecoderCreate());
    if (!decoder) return fail(ImageError::OutOfMemory);
    decoder->strictFlags = AVIF_STRICT_DISABLED;
    decoder->ignoreExif = AVIF_TRUE;
    decoder->ignoreXMP = AVIF_TRUE;
    avifResult r = avifDecoderSetIOMemory(decoder.get(), data, size);
    if (r == AVIF_RESULT_OK) r = avifDecoderParse(decoder.get());
    if (r != AVIF_RESULT_OK) return failWith(r);
    const avifImage& image = *decoder->image;
    return announcedPicture(out, image.width, image.height, 24,
                            rowsOfCompressedPhoto(size, image.width, image.height));
}

}  // namespace

const Codec& avifCodec() {
    static const Codec codec{"avif", sniffAvif, headerAvif, decodeAvif};
    return codec;
}

}  // namespace pr
