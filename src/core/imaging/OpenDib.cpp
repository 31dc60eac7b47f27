// Opening picture files: reading the bytes, choosing the reader by content, and the open-dialog
// filter. Readers decode into a picture of their own; `out` is replaced only by a finished
// picture, and after a failure it holds no pixels, only the message.

#include <algorithm>
#include <utility>
#include <vector>

#include "core/imaging/Limits.h"
#include "core/imaging/PixelPool.h"
#include "core/imaging/RasterLibrary.h"
#include "core/imaging/codecs/CodecRegistry.h"
#include "core/io/InputFile.h"
#include "core/io/WholeFile.h"

namespace pr {
namespace {

// A picture file can compress well, but not below a few bits per pixel for anything we accept:
// reading files beyond the largest picture's byte count would only waste memory.
constexpr uint64_t kMaxFileBytes = kMaxImageBytes + (uint64_t{64} << 20);

void failInto(ImageBuffer& out, const DecodeResult& result) {
    deldib(out);
    out.message = imageErrorText(result.error, result.detail);
}

// The file's bytes go into a block of the pixel pool: pictures are decoded from their files again
// and again while an album is printed, and a reused block costs no fresh pages.
DecodeResult readAndDecode(const std::string& path, const DecodeOptions& options,
                           ImageBuffer& out) {
    InputFile file;
    std::shared_ptr<PixelBlock> bytes;
    int64_t got = -1;
    if (file.open(path) && file.size() <= kMaxFileBytes &&
        (bytes = PixelPool::shared().take(static_cast<size_t>(file.size()), false)))
        got = file.readAt(0, bytes->data, static_cast<size_t>(file.size()));
    if (got < 0) {
        DecodeResult r{ImageError::CannotOpen, {}, 0, 0, 0};
        failInto(out, r);
        return r;
    }
    return decodePicture(bytes->data, static_cast<size_t>(got), options, out);
}

}  // namespace

DecodeResult decodePicture(const uint8_t* data, size_t size, const DecodeOptions& options,
                           ImageBuffer& out) {
    const Codec* codec = findCodec(data, size);
    if (!codec) {
        DecodeResult r{ImageError::UnknownFormat, size == 0 ? "leere Datei" : "", 0, 0, 0};
        failInto(out, r);
        return r;
    }
    ImageBuffer picture;
    DecodeResult r = codec->decode(data, size, options, picture);
    if (r.ok() && !picture.valid()) r = DecodeResult{ImageError::Damaged, {}, 0, 0, 0};
    if (!r.ok()) {
        failInto(out, r);
        return r;
    }
    out = std::move(picture);
    out.message.clear();
    return r;
}

// The format code names the file's extension. It is deliberately not used to pick the reader:
// files with the wrong extension are common (a PNG saved as .jpg), and the content is the truth.
bool OpenDib(ImageBuffer& out, const std::string& path, int /*formatCode*/,
             const ProgressFn& progress) {
    const DecodeResult r = readAndDecode(path, DecodeOptions{}, out);
    if (progress) progress(0);
    return r.ok();
}

DecodeResult OpenDibReduced(ImageBuffer& out, const std::string& path, int maxWidth,
                            int maxHeight) {
    DecodeOptions options;
    options.maxWidth = maxWidth;
    options.maxHeight = maxHeight;
    return readAndDecode(path, options, out);
}

DecodeResult OpenDibInfo(const std::string& path, ImageBuffer* decoded) {
    // Enough for the markers in front of a JPEG frame header, EXIF thumbnail included.
    constexpr uint64_t kHeaderBytes = uint64_t{256} << 10;
    InputFile file;
    if (!file.open(path) || file.size() > kMaxFileBytes)
        return DecodeResult{ImageError::CannotOpen, {}, 0, 0, 0};
    std::vector<uint8_t> bytes;
    if (!file.readUpTo(bytes, std::min(file.size(), kHeaderBytes)))
        return DecodeResult{ImageError::CannotOpen, {}, 0, 0, 0};
    const Codec* codec = findCodec(bytes.data(), bytes.size());
    if (!codec)
        return DecodeResult{ImageError::UnknownFormat, bytes.empty() ? "leere Datei" : "", 0, 0, 0};
    if (codec->info) {
        DecodeResult r = codec->info(bytes.data(), bytes.size(), file.size());
        if (!r.needMore) return r;
        if (!file.readUpTo(bytes, file.size()))
            return DecodeResult{ImageError::CannotOpen, {}, 0, 0, 0};
        return codec->info(bytes.data(), bytes.size(), file.size());
    }
    if (!file.readUpTo(bytes, file.size()))
        return DecodeResult{ImageError::CannotOpen, {}, 0, 0, 0};
    ImageBuffer picture;
    const DecodeResult r = decodePicture(bytes.data(), bytes.size(), DecodeOptions{}, picture);
    if (r.ok() && decoded) *decoded = std::move(picture);
    return r;
}

std::string GetDIBOpenFilter() {
    struct Entry {
        const char* description;
        const char* ext;
    };
    static const Entry kEntries[] = {
        {"Windows-Bitmap", "bmp"}, {"Geräteunabhängige Bitmap", "dib"},
        {"GIF-Bild", "gif"},       {"IFF-Bild", "iff"},
        {"JPEG-Bild", "jif"},      {"JPEG-Bild", "jpg"},
        {"LBM-Bild", "lbm"},       {"PCX-Bild", "pcx"},
        {"RLE-Bitmap", "rle"},     {"TGA-Bild", "tga"},
        {"TIFF-Bild", "tif"},      {"PNG-Bild", "png"},
    };
    auto mask = [](const char* ext) {
        std::string lower = std::string("*.") + ext, upper = lower;
        for (char& c : upper)
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        return lower + ";" + upper;
    };
    std::string all;
    for (const Entry& e : kEntries) all += (all.empty() ? "" : ";") + mask(e.ext);
    std::string filter = "Alle Bilddateien|" + all;
    for (const Entry& e : kEntries) {
        filter += std::string("|") + e.description + " (*." + e.ext + ")|" + mask(e.ext);
    }
    return filter;
}

}  // namespace pr
