// Opening picture files: reading the bytes, choosing the reader by content, and the open-dialog
// filter. Readers decode into a picture of their own; `out` is replaced only by a finished
// picture, and after a failure it holds no pixels, only the message.

#include <algorithm>
#include <exception>
#include <new>
#include <utility>
#include <vector>

#include "core/imaging/Limits.h"
#include "core/imaging/Orientation.h"
#include "core/imaging/RasterLibrary.h"
#include "core/imaging/codecs/CodecRegistry.h"
#include "core/imaging/codecs/PictureDecoder.h"
#include "core/io/InputFile.h"

namespace pr {
namespace {

// A picture file can compress well, but not below a few bits per pixel for anything we accept:
// reading files beyond the largest picture's byte count would only waste memory.
constexpr uint64_t kMaxFileBytes = kMaxImageBytes + (uint64_t{64} << 20);
// Enough for the header of every format as writers lay it out (JPEG's EXIF and colour profile
// segments included); a file whose header lies further in is read whole before it is judged.
constexpr uint64_t kHeadBytes = uint64_t{256} << 10;

DecodeResult failInto(ImageBuffer& out, const DecodeResult& result) {
    deldib(out);
    out.message = imageErrorText(result.error, result.detail);
    return result;
}

// The file is judged by its first bytes before the rest is read: no reader recognising them, or
// a header announcing a picture beyond the caps, costs no more than those bytes; and a reader
// that knows where its data ends is not handed the rest of a larger file.
DecodeResult readAndDecode(const std::string& path, const DecodeOptions& options,
                           ImageBuffer& out) {
    InputFile file;
    if (!file.open(path)) return failInto(out, decodeFailure(ImageError::CannotOpen));
    if (file.size() > kMaxFileBytes) return failInto(out, decodeFailure(ImageError::TooLarge));
    std::vector<uint8_t> bytes;
    if (!file.readUpTo(bytes, kHeadBytes))
        return failInto(out, decodeFailure(ImageError::CannotOpen));
    const Codec* codec = findCodec(bytes.data(), bytes.size());
    if (!codec) {
        return failInto(
            out, decodeFailure(ImageError::UnknownFormat, file.size() == 0 ? "leere Datei" : ""));
    }
    uint64_t end = file.size();
    if (bytes.size() < end) {
        PictureHeader header;
        DecodeResult r = codec->header(bytes.data(), bytes.size(), header);
        if (r.ok()) {
            // Only the caps: the share of rows is judged on the whole file, in decodeWith.
            DecodeOptions capsOnly = options;
            capsOnly.minShareOfRows = 0;
            r = admitPicture(header, capsOnly);
            end = std::min(end, std::max<uint64_t>(header.bytesNeeded, bytes.size()));
        }
        // A picture too large or of a kind we do not read stays so; a header that seems damaged
        // may only reach beyond the first bytes.
        if (r.error == ImageError::TooLarge || r.error == ImageError::Unsupported)
            return failInto(out, r);
    }
    if (!file.readUpTo(bytes, end)) return failInto(out, decodeFailure(ImageError::CannotOpen));
    return decodeWith(*codec, bytes.data(), bytes.size(), options, out);
}

// Memory runs out as a bad_alloc from a reader's buffers or from reading the file; a picture that
// does not fit is refused like any other, and whoever asked for it goes on.
template <typename Decode>
DecodeResult guarded(ImageBuffer& out, Decode&& decode) {
    try {
        return decode();
    } catch (const std::bad_alloc&) {
        return failInto(out, decodeFailure(ImageError::OutOfMemory));
    } catch (const std::exception&) {
        return failInto(out, decodeFailure(ImageError::Damaged));
    }
}

}  // namespace

DecodeResult decodePicture(const uint8_t* data, size_t size, const DecodeOptions& options,
                           ImageBuffer& out) {
    const Codec* codec = findCodec(data, size);
    if (!codec) {
        return failInto(out,
                        decodeFailure(ImageError::UnknownFormat, size == 0 ? "leere Datei" : ""));
    }
    return guarded(out, [&] { return decodeWith(*codec, data, size, options, out); });
}

// The format code names the file's extension. It is deliberately not used to pick the reader:
// files with the wrong extension are common (a PNG saved as .jpg), and the content is the truth.
bool OpenDib(ImageBuffer& out, const std::string& path, int /*formatCode*/,
             const ProgressFn& progress) {
    const DecodeResult r = guarded(out, [&] { return readAndDecode(path, DecodeOptions{}, out); });
    if (progress) progress(0);
    return r.ok();
}

DecodeResult OpenDibReduced(ImageBuffer& out, const std::string& path, int maxWidth, int maxHeight,
                            bool judgeOnly) {
    DecodeOptions options;
    options.maxWidth = maxWidth;
    options.maxHeight = maxHeight;
    options.judgeOnly = judgeOnly;
    return guarded(out, [&] { return readAndDecode(path, options, out); });
}

DecodeResult OpenDibInfo(const std::string& path, ImageBuffer* decoded) {
    ImageBuffer scratch;
    return guarded(decoded ? *decoded : scratch, [&]() -> DecodeResult {
        InputFile file;
        if (!file.open(path)) return decodeFailure(ImageError::CannotOpen);
        if (file.size() > kMaxFileBytes) return decodeFailure(ImageError::TooLarge);
        std::vector<uint8_t> bytes;
        if (!file.readUpTo(bytes, kHeadBytes)) return decodeFailure(ImageError::CannotOpen);
        const Codec* codec = findCodec(bytes.data(), bytes.size());
        if (!codec)
            return decodeFailure(ImageError::UnknownFormat, file.size() == 0 ? "leere Datei" : "");
        // JPEG files are decoded again, at the size each use needs, so their header is enough
        // now; a header beyond the first bytes is looked for in the whole file.
        if (std::string(codec->name) == "jpeg") {
            PictureHeader header;
            DecodeResult r = codec->header(bytes.data(), bytes.size(), header);
            if (!r.ok() && r.error != ImageError::TooLarge && r.error != ImageError::Unsupported &&
                bytes.size() < file.size()) {
                if (!file.readUpTo(bytes, file.size()))
                    return decodeFailure(ImageError::CannotOpen);
                r = codec->header(bytes.data(), bytes.size(), header);
            }
            if (!r.ok()) return r;
            // The share of rows a file must hold is judged here only when the whole file was
            // read; from its first bytes it would look short.
            DecodeOptions admit;
            if (bytes.size() < file.size()) admit.minShareOfRows = 0;
            const DecodeResult admitted = admitPicture(header, admit);
            if (!admitted.ok()) return admitted;
            DecodeResult info = decodedPicture(static_cast<int>(header.width),
                                               static_cast<int>(header.height), header.bitCount);
            if (orientationSwapsAxes(r.orientation)) std::swap(info.trueWidth, info.trueHeight);
            return info;
        }
        ImageBuffer picture;
        const DecodeResult r = readAndDecode(path, DecodeOptions{}, picture);
        if (r.ok() && decoded) *decoded = std::move(picture);
        return r;
    });
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
