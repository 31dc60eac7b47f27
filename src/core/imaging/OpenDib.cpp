// Opening picture files: reading the bytes, choosing the reader by content, and the open-dialog
// filter. Readers decode into a picture of their own; `out` is replaced only by a finished
// picture, and after a failure it holds no pixels, only the message.

#include <utility>
#include <vector>

#include "core/imaging/Limits.h"
#include "core/imaging/RasterLibrary.h"
#include "core/imaging/codecs/CodecRegistry.h"
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

DecodeResult readAndDecode(const std::string& path, const DecodeOptions& options,
                           ImageBuffer& out) {
    std::vector<uint8_t> bytes;
    if (readWholeFile(path, bytes, kMaxFileBytes) != FileReadStatus::Ok) {
        DecodeResult r{ImageError::CannotOpen, {}, 0, 0, 0};
        failInto(out, r);
        return r;
    }
    return decodePicture(bytes.data(), bytes.size(), options, out);
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

std::string GetDIBOpenFilter() {
    struct Entry {
        const char* description;
        std::vector<const char*> extensions;
    };
    static const Entry kEntries[] = {
        {"Windows-Bitmap", {"bmp"}},
        {"Geräteunabhängige Bitmap", {"dib"}},
        {"GIF-Bild", {"gif"}},
        {"IFF-Bild", {"iff"}},
        {"JPEG-Bild", {"jif"}},
        {"JPEG-Bild", {"jpg"}},
        {"LBM-Bild", {"lbm"}},
        {"PCX-Bild", {"pcx"}},
        {"RLE-Bitmap", {"rle"}},
        {"TGA-Bild", {"tga"}},
        {"TIFF-Bild", {"tif"}},
        {"PNG-Bild", {"png"}},
        {"HEIF-Bild", {"heic", "heif", "hif"}},
        {"AVIF-Bild", {"avif"}},
        {"WebP-Bild", {"webp"}},
        {"JPEG-XL-Bild", {"jxl"}},
    };
    auto mask = [](const char* ext) {
        std::string lower = std::string("*.") + ext, upper = lower;
        for (char& c : upper)
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        return lower + ";" + upper;
    };
    auto join = [](const std::vector<std::string>& parts) {
        std::string text;
        for (const std::string& part : parts) text += (text.empty() ? "" : ";") + part;
        return text;
    };
    std::vector<std::string> all;
    for (const Entry& e : kEntries)
        for (const char* ext : e.extensions) all.push_back(mask(ext));
    std::string filter = "Alle Bilddateien|" + join(all);
    for (const Entry& e : kEntries) {
        std::vector<std::string> shown, masks;
        for (const char* ext : e.extensions) {
            shown.push_back(std::string("*.") + ext);
            masks.push_back(mask(ext));
        }
        filter += std::string("|") + e.description + " (" + join(shown) + ")|" + join(masks);
    }
    return filter;
}

}  // namespace pr
