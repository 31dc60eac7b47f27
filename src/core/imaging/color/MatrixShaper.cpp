#include "core/imaging/color/MatrixShaper.h"

#include <algorithm>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace pr {
namespace {

struct Matrix {
    double m[3][3];
};

// The columns are the red, green and blue colorants (XYZ, D50-adapted).
bool colorants(cmsHPROFILE profile, Matrix& out) {
    const cmsTagSignature tags[3] = {cmsSigRedColorantTag, cmsSigGreenColorantTag,
                                     cmsSigBlueColorantTag};
    for (int c = 0; c < 3; ++c) {
        const auto* xyz = static_cast<const cmsCIEXYZ*>(cmsReadTag(profile, tags[c]));
        if (!xyz) return false;
        out.m[0][c] = xyz->X, out.m[1][c] = xyz->Y, out.m[2][c] = xyz->Z;
    }
    return true;
}

bool inverse(const Matrix& a, Matrix& out) {
    const auto& m = a.m;
    const double det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                       m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                       m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    if (std::fabs(det) < 1e-9) return false;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            const int r0 = (j + 1) % 3, r1 = (j + 2) % 3, c0 = (i + 1) % 3, c1 = (i + 2) % 3;
            out.m[i][j] = (m[r0][c0] * m[r1][c1] - m[r0][c1] * m[r1][c0]) / det;
        }
    return true;
}

double srgbEncode(double light) {
    return light <= 0.0031308 ? 12.92 * light : 1.055 * std::pow(light, 1 / 2.4) - 0.055;
}

constexpr int32_t kTop = (1 << 24) - 1;
constexpr int kShift = 24 - 14;

#if defined(__SSE2__)
// The three shares of a pixel are one 16-byte load each, so the sums, the clamping and the shift
// work on all three channels at once; about twice as fast as the plain loop below.
template <int Step, bool Bgr>
void run(const int32_t (*share)[256][4], const uint8_t* encode, const uint8_t* in, uint8_t* out,
         int width) {
    const __m128i top = _mm_set1_epi32(kTop);
    alignas(16) int32_t index[4];
    for (int x = 0; x < width; ++x, in += Step, out += 3) {
        const auto* r = reinterpret_cast<const __m128i*>(share[0][in[Bgr ? 2 : 0]]);
        const auto* g = reinterpret_cast<const __m128i*>(share[1][in[1]]);
        const auto* b = reinterpret_cast<const __m128i*>(share[2][in[Bgr ? 0 : 2]]);
        __m128i light =
            _mm_add_epi32(_mm_add_epi32(_mm_load_si128(r), _mm_load_si128(g)), _mm_load_si128(b));
        light = _mm_andnot_si128(_mm_srai_epi32(light, 31), light);  // below 0: 0
        const __m128i over = _mm_cmpgt_epi32(light, top);
        light = _mm_or_si128(_mm_andnot_si128(over, light), _mm_and_si128(over, top));
        _mm_store_si128(reinterpret_cast<__m128i*>(index), _mm_srli_epi32(light, kShift));
        out[0] = encode[index[2]];
        out[1] = encode[index[1]];
        out[2] = encode[index[0]];
    }
}
#else
template <int Step, bool Bgr>
void run(const int32_t (*share)[256][4], const uint8_t* encode, const uint8_t* in, uint8_t* out,
         int width) {
    for (int x = 0; x < width; ++x, in += Step, out += 3) {
        const int32_t* r = share[0][in[Bgr ? 2 : 0]];
        const int32_t* g = share[1][in[1]];
        const int32_t* b = share[2][in[Bgr ? 0 : 2]];
        const int32_t red = std::clamp(r[0] + g[0] + b[0], 0, kTop);
        const int32_t green = std::clamp(r[1] + g[1] + b[1], 0, kTop);
        const int32_t blue = std::clamp(r[2] + g[2] + b[2], 0, kTop);
        out[0] = encode[blue >> kShift];
        out[1] = encode[green >> kShift];
        out[2] = encode[red >> kShift];
    }
}
#endif

}  // namespace

std::shared_ptr<const MatrixShaper> MatrixShaper::make(cmsHPROFILE profile) {
    if (!profile || cmsGetColorSpace(profile) != cmsSigRgbData || !cmsIsMatrixShaper(profile))
        return nullptr;
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    Matrix source, target, toSrgb;
    const bool ok =
        srgb && colorants(profile, source) && colorants(srgb, target) && inverse(target, toSrgb);
    if (srgb) cmsCloseProfile(srgb);
    if (!ok) return nullptr;
    const cmsTagSignature curves[3] = {cmsSigRedTRCTag, cmsSigGreenTRCTag, cmsSigBlueTRCTag};
    auto shaper = std::make_shared<MatrixShaper>();
    for (int c = 0; c < 3; ++c) {
        const auto* curve = static_cast<const cmsToneCurve*>(cmsReadTag(profile, curves[c]));
        if (!curve || cmsEvalToneCurveFloat(curve, 0.0f) > 1e-4f) return nullptr;
        double column[3];
        for (int j = 0; j < 3; ++j) {
            column[j] = 0;
            for (int k = 0; k < 3; ++k) column[j] += toSrgb.m[j][k] * source.m[k][c];
        }
        for (int v = 0; v < 256; ++v) {
            const double light = cmsEvalToneCurveFloat(curve, v / 255.0f);
            for (int j = 0; j < 3; ++j) {
                // Half an output step, added once (through red), rounds the lookup.
                const double half = c == 0 ? 0.5 * (1 << (kFraction - kCurveBits)) : 0.0;
                shaper->share_[c][v][j] =
                    static_cast<int32_t>(std::lround(column[j] * light * (1 << kFraction) + half));
            }
        }
    }
    // Entry i holds the light i / 2^14, the light of a sum of i << 10.
    for (int i = 0; i < (1 << kCurveBits); ++i)
        shaper->encode_[i] = static_cast<uint8_t>(
            std::lround(srgbEncode(static_cast<double>(i) / (1 << kCurveBits)) * 255));
    return shaper;
}

void MatrixShaper::toBgr(const uint8_t* in, uint8_t* out, int width, PixelLayout layout) const {
    switch (layout) {
        case PixelLayout::Rgb:
            return run<3, false>(share_, encode_, in, out, width);
        case PixelLayout::Bgr:
            return run<3, true>(share_, encode_, in, out, width);
        case PixelLayout::Rgba:
            return run<4, false>(share_, encode_, in, out, width);
        case PixelLayout::Bgra:
            return run<4, true>(share_, encode_, in, out, width);
        default:
            return;
    }
}

}  // namespace pr
