// HEIF and HEIC (and AV1 inside a plain HEIF file) through libheif.
//
// Checks: the primary picture's size (after its rotation and crop, as libheif reports it) goes
// through computeDibLayout, and each item's data must lie within its box and describe no larger
// picture than the item announces (HeifSizeCheck.h), before libheif decodes anything; the decoded
// picture's own size is checked once more before the rows are allocated. libheif turns and
// mirrors the picture (irot, imir) and crops it (clap) itself, so it comes out upright.
//
// The colour profile (an ICC profile in "colr/prof", or primaries and transfer in "colr/nclx")
// is converted to sRGB in the loop that copies libheif's rows into the picture, which also lays
// alpha over white. Thumbnails use the picture's embedded thumbnail when that is large enough.

#include <libheif/heif.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "core/imaging/DibSize.h"
#include "core/imaging/codecs/BgrRowWriter.h"
#include "core/imaging/codecs/Codec.h"
#include "core/imaging/codecs/HeifSizeCheck.h"
#include "core/imaging/codecs/IsoBrands.h"

namespace pr {
namespace {

bool sniffHeif(const uint8_t* data, size_t size) {
    return isoPictureKind(data, size) == IsoPictureKind::Heif;
}

DecodeResult fail(ImageError e, const std::string& detail = {}) {
    return DecodeResult{e, detail, 0, 0, 0};
}

DecodeResult failWith(const heif_error& error) {
    ImageError e = ImageError::Damaged;
    if (error.code == heif_error_Unsupported_feature ||
        error.code == heif_error_Unsupported_filetype)
        e = ImageError::Unsupported;
    else if (error.code == heif_error_Memory_allocation_error)
        e = ImageError::OutOfMemory;
    else if (error.subcode == heif_suberror_Security_limit_exceeded)
        e = ImageError::TooLarge;
    // libheif's own words are English: they go to the log, the user reads German.
    if (error.message) logLibraryMessage("libheif", error.message);
    return fail(e, e == ImageError::Damaged ? "HEIF-Daten" : "");
}

struct ContextFree {
    void operator()(heif_context* c) const { heif_context_free(c); }
};
struct HandleRelease {
    void operator()(heif_image_handle* h) const { heif_image_handle_release(h); }
};
struct ImageRelease {
    void operator()(heif_image* i) const { heif_image_release(i); }
};
struct OptionsFree {
    void operator()(heif_decoding_options* o) const { heif_decoding_options_free(o); }
};
using HandlePtr = std::unique_ptr<heif_image_handle, HandleRelease>;

void initLibheifOnce() {
    static std::once_flag once;
    std::call_once(once, [] { heif_init(nullptr); });
}

// The smallest embedded thumbnail that still covers the wanted box and has the picture's shape,
// or null. A thumbnail of another shape (letterboxed, cropped) would distort the cell.
HandlePtr pickThumbnail(heif_image_handle* primary, const DecodeOptions& options) {
    if (options.maxWidth <= 0 || options.maxHeight <= 0) return nullptr;
    const int count = heif_image_handle_get_number_of_thumbnails(primary);
    if (count <= 0) return nullptr;
    std::vector<heif_item_id> ids(static_cast<size_t>(count));
    const int listed = heif_image_handle_get_list_of_thumbnail_IDs(primary, ids.data(), count);
    const double shape = static_cast<double>(heif_image_handle_get_width(primary)) /
                         heif_image_handle_get_height(primary);
    HandlePtr best;
    for (int i = 0; i < listed; ++i) {
        heif_image_handle* raw = nullptr;
        if (heif_image_handle_get_thumbnail(primary, ids[i], &raw).code != heif_error_Ok) continue;
        HandlePtr thumb(raw);
        const int w = heif_image_handle_get_width(raw), h = heif_image_handle_get_height(raw);
        if (w < options.maxWidth || h < options.maxHeight) continue;
        if (std::fabs(static_cast<double>(w) / h - shape) > 0.02 * shape) continue;
        if (!best || w < heif_image_handle_get_width(best.get())) best = std::move(thumb);
    }
    return best;
}

// The colour description of `handle`, falling back to the primary picture's (a thumbnail
// usually carries none of its own).
SrgbTransform colourOf(heif_image_handle* handle, heif_image_handle* primary, PixelLayout layout) {
    for (heif_image_handle* h : {handle, primary}) {
        switch (heif_image_handle_get_color_profile_type(h)) {
            case heif_color_profile_type_prof:
            case heif_color_profile_type_rICC: {
                std::vector<uint8_t> icc(heif_image_handle_get_raw_color_profile_size(h));
                if (icc.empty() ||
                    heif_image_handle_get_raw_color_profile(h, icc.data()).code != heif_error_Ok)
                    return SrgbTransform();
                return SrgbTransform::fromIcc(icc.data(), icc.size(), layout);
            }
            case heif_color_profile_type_nclx: {
                // libheif hands out the structure even when it refuses the values in it.
                heif_color_profile_nclx* nclx = nullptr;
                const heif_error err = heif_image_handle_get_nclx_color_profile(h, &nclx);
                SrgbTransform t;
                if (err.code == heif_error_Ok && nclx)
                    t = SrgbTransform::fromCodePoints(nclx->color_primaries,
                                                      nclx->transfer_characteristics, layout);
                if (nclx) heif_nclx_color_profile_free(nclx);
                return t;
            }
            default:
                break;
        }
    }
    return SrgbTransform();
}

// The file's boxes as libheif reads them, and its primary picture; nothing is decoded yet.
struct HeifFile {
    std::unique_ptr<heif_context, ContextFree> context;
    HandlePtr primary;  // released before the context
};

DecodeResult openHeif(const uint8_t* data, size_t size, HeifFile& file) {
    if (!sniffHeif(data, size)) return fail(ImageError::UnknownFormat);
    initLibheifOnce();
    file.context.reset(heif_context_alloc());
    if (!file.context) return fail(ImageError::OutOfMemory);
    heif_error err =
        heif_context_read_from_memory_without_copy(file.context.get(), data, size, nullptr);
    if (err.code != heif_error_Ok) return failWith(err);
    heif_image_handle* rawPrimary = nullptr;
    err = heif_context_get_primary_image_handle(file.context.get(), &rawPrimary);
    if (err.code != heif_error_Ok) return failWith(err);
    file.primary.reset(rawPrimary);
    return DecodeResult{};
}

DecodeResult decodeHeif(const uint8_t* data, size_t size, const DecodeOptions& options,
                        ImageBuffer& out) {
    HeifFile file;
    const DecodeResult opened = openHeif(data, size, file);
    if (!opened.ok()) return opened;
    const HandlePtr& primary = file.primary;

    const int trueW = heif_image_handle_get_width(primary.get());
    const int trueH = heif_image_handle_get_height(primary.get());
    DibLayout layout;
    SizeCheck sc = computeDibLayout(trueW, trueH, 24, layout);
    if (sc != SizeCheck::Ok)
        return fail(sc == SizeCheck::TooLarge ? ImageError::TooLarge : ImageError::Damaged);

    if (!heifSizesFit(data, size))
        return fail(ImageError::Damaged, "Bilddaten größer als angegeben");

    HandlePtr thumbnail = pickThumbnail(primary.get(), options);
    heif_image_handle* handle = thumbnail ? thumbnail.get() : primary.get();
    const bool alpha = heif_image_handle_has_alpha_channel(handle) != 0;
    const PixelLayout pixels = alpha ? PixelLayout::Rgba : PixelLayout::Rgb;

    std::unique_ptr<heif_decoding_options, OptionsFree> decodeOptions(
        heif_decoding_options_alloc());
    if (!decodeOptions) return fail(ImageError::OutOfMemory);
    decodeOptions->convert_hdr_to_8bit = 1;
    heif_image* rawImage = nullptr;
    const heif_error err = heif_decode_image(
        handle, &rawImage, heif_colorspace_RGB,
        alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, decodeOptions.get());
    if (err.code != heif_error_Ok) return failWith(err);
    std::unique_ptr<heif_image, ImageRelease> image(rawImage);

    const int w = heif_image_get_width(rawImage, heif_channel_interleaved);
    const int h = heif_image_get_height(rawImage, heif_channel_interleaved);
    int stride = 0;
    const uint8_t* rows =
        heif_image_get_plane_readonly(rawImage, heif_channel_interleaved, &stride);
    if (!rows || heif_image_get_bits_per_pixel_range(rawImage, heif_channel_interleaved) != 8)
        return fail(ImageError::Unsupported, "HEIF-Farbtiefe");
    sc = computeDibLayout(w, h, 24, layout);
    if (sc != SizeCheck::Ok || stride < w * (alpha ? 4 : 3))
        return fail(sc == SizeCheck::TooLarge ? ImageError::TooLarge : ImageError::Damaged);

    ImageBuffer img;
    if (!newdib(img, w, h, 24)) return fail(ImageError::OutOfMemory);
    const BgrRowWriter writer(pixels, heif_image_handle_is_premultiplied_alpha(handle) != 0,
                              colourOf(handle, primary.get(), pixels));
    for (int y = 0; y < h; ++y)
        writer.write(rows + static_cast<int64_t>(y) * stride, w, img.rowFromTop(y));
    out = std::move(img);
    return DecodeResult{ImageError::None, {}, trueW, trueH, 24};
}

// The primary picture as libheif reads its boxes (its turns already applied, which keeps the
// number of pixels); nothing is decoded.
DecodeResult headerHeif(const uint8_t* data, size_t size, PictureHeader& out) {
    HeifFile file;
    const DecodeResult opened = openHeif(data, size, file);
    if (!opened.ok()) return opened;
    const HandlePtr& primary = file.primary;
    // heifSizesFit also checks the coded sizes against the announced ones before decoding.
    const int width = heif_image_handle_get_width(primary.get());
    const int height = heif_image_handle_get_height(primary.get());
    return announcedPicture(out, width, height, 24, rowsOfCompressedPhoto(size, width, height));
}

}  // namespace

const Codec& heifCodec() {
    static const Codec codec{"heif", sniffHeif, headerHeif, decodeHeif};
    return codec;
}

}  // namespace pr
