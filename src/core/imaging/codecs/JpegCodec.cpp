// JPEG and JIF through libjpeg-turbo.
//
// Checks: the frame size from the header goes through computeDibLayout before libjpeg starts
// decompressing (libjpeg's own buffers grow with the frame, so that check also bounds them);
// libjpeg's working memory is capped; progressive files with an absurd number of scans are
// stopped, since each scan costs a pass over the whole coefficient buffer. libjpeg reports every
// error through longjmp to a point where nothing of ours is half built: the picture is handed
// out only at the end.
//
// Colour pictures decode straight into the bottom-up rows (libjpeg writes blue, green, red), grey
// ones into 8 bits with a grey table; CMYK and YCCK go through one row of CMYK. An ICC profile in
// the APP2 markers is converted to sRGB: colour rows right after libjpeg wrote them, grey pictures
// through their table (SrgbTransform.h says which profiles convert nothing). The EXIF orientation
// goes back with the result; decodeWith turns the picture upright.

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

#include "core/imaging/DibSize.h"
#include "core/imaging/Orientation.h"
#include "core/imaging/codecs/Codec.h"
#include "core/imaging/codecs/ExifOrientation.h"
#include "core/imaging/color/ColourTable.h"
#include "core/imaging/color/SrgbTransform.h"

namespace pr {
namespace {

constexpr int kMaxProgressiveScans = 1000;
constexpr long kMaxLibjpegMemory = 2L * 1024 * 1024 * 1024;

struct ErrorManager {
    jpeg_error_mgr pub;
    jmp_buf jump;
    bool hitEnd = false;    // the data ended before the last scan did
    JDIMENSION endRow = 0;  // first output row that may lack data
};

void onError(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    longjmp(err->jump, 1);
}

void onMessage(j_common_ptr cinfo, int level) {
    // Warnings about damaged data are expected on real files; they are not printed. The first
    // premature end of data marks where the decoded rows stop being real.
    if (level >= 0) return;
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    if (err->pub.msg_code == JWRN_JPEG_EOF && !err->hitEnd) {
        err->hitEnd = true;
        err->endRow = reinterpret_cast<j_decompress_ptr>(cinfo)->output_scanline;
    }
    ++err->pub.num_warnings;
}

void onProgress(j_common_ptr cinfo) {
    auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (d->input_scan_number > kMaxProgressiveScans) onError(cinfo);
}

bool sniffJpeg(const uint8_t* data, size_t size) {
    return size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}

int orientationOf(j_decompress_ptr cinfo) {
    for (jpeg_saved_marker_ptr m = cinfo->marker_list; m; m = m->next)
        if (m->marker == JPEG_APP0 + 1) {
            const int o = exifOrientation(m->data, m->data_length);
            if (o != 1) return o;
        }
    return 1;
}

// Huffman coding spends at least one bit on every block of the first scan that covers it, so the
// data after the header bounds the share of blocks, and so of rows, that a file can hold.
// (Arithmetic coding can go below one bit per block and is not judged.)
uint64_t rowsAtMost(j_decompress_ptr cinfo) {
    const uint64_t rows = cinfo->image_height;
    if (cinfo->arith_code) return rows;
    uint64_t blocks = 0;
    for (int c = 0; c < cinfo->num_components; ++c)
        blocks += static_cast<uint64_t>(cinfo->comp_info[c].width_in_blocks) *
                  cinfo->comp_info[c].height_in_blocks;
    const uint64_t bits = static_cast<uint64_t>(cinfo->src->bytes_in_buffer) * 8;
    if (blocks == 0 || bits >= blocks) return rows;
    return std::max<uint64_t>(1, rows * bits / blocks);
}

// The depth the picture gets; 0 for colour spaces we do not read.
int bitsFor(j_decompress_ptr cinfo) {
    switch (cinfo->jpeg_color_space) {
        case JCS_GRAYSCALE:
            return 8;
        case JCS_CMYK:
        case JCS_YCCK:
            return 24;
        default:
            return cinfo->num_components == 3 ? 24 : 0;
    }
}

// The largest DCT reduction (1/8, 1/4, 1/2) whose result still covers the wanted size.
int chooseDenominator(int width, int height, int orientation, const DecodeOptions& options) {
    if (options.maxWidth <= 0 || options.maxHeight <= 0) return 1;
    int wantW = options.maxWidth, wantH = options.maxHeight;
    if (orientationSwapsAxes(orientation)) std::swap(wantW, wantH);
    for (int denom : {8, 4, 2}) {
        const int64_t w = (static_cast<int64_t>(width) + denom - 1) / denom;
        const int64_t h = (static_cast<int64_t>(height) + denom - 1) / denom;
        if (w >= wantW && h >= wantH) return denom;
    }
    return 1;
}

// Adobe writes CMYK and YCCK inverted (0 = full ink); others write it plain.
void cmykRowToBgr(const uint8_t* in, int width, bool inverted, uint8_t* out) {
    for (int x = 0; x < width; ++x, in += 4, out += 3) {
        int c = in[0], m = in[1], y = in[2], k = in[3];
        if (!inverted) c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
        out[0] = static_cast<uint8_t>((y * k + 127) / 255);
        out[1] = static_cast<uint8_t>((m * k + 127) / 255);
        out[2] = static_cast<uint8_t>((c * k + 127) / 255);
    }
}

struct Decompressor {
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    jpeg_progress_mgr progress;
    Decompressor() {
        std::memset(&cinfo, 0, sizeof cinfo);
        cinfo.err = jpeg_std_error(&err.pub);
        err.pub.error_exit = onError;
        err.pub.emit_message = onMessage;
        progress.progress_monitor = onProgress;
    }
    ~Decompressor() { jpeg_destroy_decompress(&cinfo); }
};

// Everything a longjmp may interrupt lives here, outside the frame that calls setjmp.
struct JpegJob {
    Decompressor d;
    ImageBuffer img;
    std::vector<uint8_t> cmykRow;
    bool started = false;
    bool multiScan = false;
    int orientation = 1;   // read before libjpeg frees the saved markers with the image pool
    SrgbTransform colour;  // from the ICC profile of the APP2 markers; may convert nothing
    DecodeResult result;
};

// The ICC profile that APP2 markers carry in chunks, as a conversion for pixels of `layout`.
SrgbTransform colourOf(j_decompress_ptr cinfo, PixelLayout layout) {
    JOCTET* profile = nullptr;
    unsigned int length = 0;
    if (!jpeg_read_icc_profile(cinfo, &profile, &length)) return SrgbTransform();
    SrgbTransform t = SrgbTransform::fromIcc(profile, length, layout);
    std::free(profile);
    return t;
}

DecodeResult run(JpegJob& job, const uint8_t* data, size_t size, const DecodeOptions& options) {
    j_decompress_ptr cinfo = &job.d.cinfo;
    jpeg_create_decompress(cinfo);
    cinfo->mem->max_memory_to_use = kMaxLibjpegMemory;
    cinfo->progress = &job.d.progress;
    jpeg_mem_src(cinfo, data, static_cast<unsigned long>(size));
    jpeg_save_markers(cinfo, JPEG_APP0 + 1, 0xFFFF);
    jpeg_save_markers(cinfo, JPEG_APP0 + 2, 0xFFFF);
    if (jpeg_read_header(cinfo, TRUE) != JPEG_HEADER_OK) return decodeFailure(ImageError::Damaged);
    job.multiScan = jpeg_has_multiple_scans(cinfo);

    const int trueW = static_cast<int>(cinfo->image_width),
              trueH = static_cast<int>(cinfo->image_height);
    const int bits = bitsFor(cinfo);
    if (bits == 0) return decodeFailure(ImageError::Unsupported, "Farbraum");
    const bool grey = cinfo->jpeg_color_space == JCS_GRAYSCALE;
    const bool cmyk = cinfo->jpeg_color_space == JCS_CMYK || cinfo->jpeg_color_space == JCS_YCCK;
    DibLayout layout;
    const SizeCheck sc = computeDibLayout(trueW, trueH, bits, layout);
    if (sc != SizeCheck::Ok)
        return decodeFailure(sc == SizeCheck::TooLarge ? ImageError::TooLarge
                                                       : ImageError::Damaged);

    const int orientation = job.orientation = orientationOf(cinfo);
    cinfo->scale_num = 1;
    cinfo->scale_denom =
        static_cast<unsigned>(chooseDenominator(trueW, trueH, orientation, options));
    cinfo->out_color_space = grey ? JCS_GRAYSCALE : cmyk ? JCS_CMYK : JCS_EXT_BGR;
    jpeg_calc_output_dimensions(cinfo);
    const int outW = static_cast<int>(cinfo->output_width),
              outH = static_cast<int>(cinfo->output_height);
    if (!newdib(job.img, outW, outH, bits)) return decodeFailure(ImageError::OutOfMemory);
    // CMYK keeps its plain conversion; colour and grey pictures follow their profile, grey ones
    // through the colour table.
    if (!cmyk) job.colour = colourOf(cinfo, grey ? PixelLayout::Grey : PixelLayout::Bgr);
    if (grey) {
        setGreyTable(job.img);
        convertColourTable(job.colour, job.img.info->colors, 256);
        syncPalette(job.img);
    }
    const bool convertRows = !grey && job.colour.converts();
    if (cmyk) job.cmykRow.resize(static_cast<size_t>(outW) * 4);

    // Rows a decode that breaks off must still have made to be accepted (see minShareOfRows).
    const JDIMENSION judgedRows = static_cast<JDIMENSION>(std::max<uint64_t>(
        1, options.minShareOfRows == 0 ? 1 : static_cast<uint64_t>(outH) / options.minShareOfRows));
    job.started = true;
    jpeg_start_decompress(cinfo);
    const bool inverted = cinfo->saw_Adobe_marker;
    JSAMPROW rows[16];
    while (cinfo->output_scanline < cinfo->output_height) {
        // Once a single-scan file's data has ended, every further row is filler that is whitened
        // afterwards: a short file announcing a huge picture must not be decoded to its end.
        if (job.d.err.hitEnd && !job.multiScan) {
            jpeg_abort_decompress(cinfo);
            return decodedPicture(trueW, trueH, bits);
        }
        const JDIMENSION first = cinfo->output_scanline;
        if (cmyk) {
            rows[0] = job.cmykRow.data();
            if (jpeg_read_scanlines(cinfo, rows, 1) != 1) break;
            cmykRowToBgr(job.cmykRow.data(), outW, inverted,
                         job.img.rowFromTop(static_cast<int>(first)));
            continue;
        }
        const JDIMENSION want = std::min<JDIMENSION>(16, cinfo->output_height - first);
        for (JDIMENSION i = 0; i < want; ++i)
            rows[i] = job.img.rowFromTop(static_cast<int>(first + i));
        const JDIMENSION got = jpeg_read_scanlines(cinfo, rows, want);
        if (got == 0) break;
        if (options.judgeOnly && !job.multiScan && !job.d.err.hitEnd &&
            cinfo->output_scanline >= judgedRows) {
            // Past these rows a single-scan file can no longer fail: damaged data further on only
            // gives warnings, and a decode that breaks off later keeps enough rows to be shown.
            jpeg_abort_decompress(cinfo);
            DecodeResult judged = decodedPicture(trueW, trueH, bits);
            judged.judgedOnly = true;
            return judged;
        }
        // The rows libjpeg has just written, while they are still in the cache.
        if (convertRows)
            for (JDIMENSION i = 0; i < got; ++i) job.colour.toBgr(rows[i], rows[i], outW);
    }
    jpeg_finish_decompress(cinfo);
    return decodedPicture(trueW, trueH, bits);
}

// The only frame that calls setjmp; everything libjpeg's longjmp may interrupt lives in `job`,
// which is not a local of this function. Returns false when libjpeg gave up.
bool guardedRun(JpegJob& job, const uint8_t* data, size_t size, const DecodeOptions& options) {
    if (setjmp(job.d.err.jump)) return false;
    job.result = run(job, data, size, options);
    return true;
}

struct HeaderJob {
    Decompressor d;
    PictureHeader* out = nullptr;
    DecodeResult result;
};

bool guardedHeader(HeaderJob& job, const uint8_t* data, size_t size) {
    if (setjmp(job.d.err.jump)) return false;
    j_decompress_ptr cinfo = &job.d.cinfo;
    jpeg_create_decompress(cinfo);
    cinfo->mem->max_memory_to_use = kMaxLibjpegMemory;
    jpeg_mem_src(cinfo, data, static_cast<unsigned long>(size));
    // The EXIF orientation too: an album learns a picture's upright size from its header alone.
    jpeg_save_markers(cinfo, JPEG_APP0 + 1, 0xFFFF);
    if (jpeg_read_header(cinfo, TRUE) != JPEG_HEADER_OK) {
        job.result = decodeFailure(ImageError::Damaged);
        return true;
    }
    const int bits = bitsFor(cinfo);
    job.result = bits == 0 ? decodeFailure(ImageError::Unsupported, "Farbraum")
                           : announcedPicture(*job.out, cinfo->image_width, cinfo->image_height,
                                              bits, rowsAtMost(cinfo));
    job.result.orientation = orientationOf(cinfo);
    return true;
}

DecodeResult headerJpeg(const uint8_t* data, size_t size, PictureHeader& out) {
    if (!sniffJpeg(data, size)) return decodeFailure(ImageError::UnknownFormat);
    HeaderJob job;
    job.out = &out;
    if (guardedHeader(job, data, size)) return job.result;
    // libjpeg refuses frames beyond its own maximum side before we see the size.
    return decodeFailure(job.d.err.pub.msg_code == JERR_IMAGE_TOO_BIG ? ImageError::TooLarge
                                                                      : ImageError::Damaged);
}

DecodeResult decodeJpeg(const uint8_t* data, size_t size, const DecodeOptions& options,
                        ImageBuffer& out) {
    if (!sniffJpeg(data, size)) return decodeFailure(ImageError::UnknownFormat);
    JpegJob job;
    DecodeResult result;
    int rowsDecoded = 0;
    if (guardedRun(job, data, size, options)) {
        result = job.result;
        if (!result.ok()) return result;
        rowsDecoded = job.img.height();
    } else {
        // libjpeg gave up. With a sound header and rows already out, keep them; otherwise the
        // file is unusable.
        const JDIMENSION done = job.started ? job.d.cinfo.output_scanline : 0;
        if (done == 0) {
            char text[JMSG_LENGTH_MAX] = {0};
            if (job.d.err.pub.msg_code >= 0)
                job.d.err.pub.format_message(reinterpret_cast<j_common_ptr>(&job.d.cinfo), text);
            // libjpeg refuses frames beyond its own maximum side before we see the size.
            const ImageError e = job.d.err.pub.msg_code == JERR_IMAGE_TOO_BIG ? ImageError::TooLarge
                                                                              : ImageError::Damaged;
            logLibraryMessage("libjpeg", text);
            return decodeFailure(e);
        }
        rowsDecoded = static_cast<int>(done);
        result = decodedPicture(static_cast<int>(job.d.cinfo.image_width),
                                static_cast<int>(job.d.cinfo.image_height), job.img.bitCount());
    }
    // Single-scan files are decoded row band by row band, so the band where the data ended and
    // everything below it is missing. Multi-scan files hold the whole picture at lower quality.
    if (job.d.err.hitEnd && !job.multiScan)
        rowsDecoded = std::min(rowsDecoded, static_cast<int>(job.d.err.endRow));
    result.rowsDecoded = rowsDecoded;
    result.orientation = job.orientation;
    out = std::move(job.img);
    return result;
}

}  // namespace

const Codec& jpegCodec() {
    static const Codec codec{"jpeg", sniffJpeg, headerJpeg, decodeJpeg};
    return codec;
}

}  // namespace pr
