#include "gui/output/SinglePictureLayout.h"

#include "core/layout/PageUnits.h"

namespace pr {

namespace {

int nearestPercentOf(int64_t size, int percent) {
    return truncToInt(roundHalfEven(static_cast<long double>(size) * percent / 100));
}

int clampInt(int64_t v) {
    return truncToInt(static_cast<long double>(v));
}

}  // namespace

PictureRect singlePictureRect(int pageW, int pageH, int imgW, int imgH,
                              const SinglePictureChoice& choice) {
    if (pageW <= 0 || pageH <= 0 || imgW <= 0 || imgH <= 0) return {};
    int64_t a = pageW, b = pageH;
    if (!choice.fullPage) {
        a = nearestPercentOf(pageW, choice.widthPercent);
        b = nearestPercentOf(pageH, choice.heightPercent);
    } else if (choice.keepAspect) {
        if (pageH < int64_t{pageW} * imgH / imgW)
            a = int64_t{imgW} * pageH / imgH;
        else
            b = int64_t{pageW} * imgH / imgW;
    }
    PictureRect r;
    r.w = clampInt(a);
    r.h = clampInt(b);
    if (choice.centred) {
        r.x = (pageW - r.w) / 2;
        r.y = (pageH - r.h) / 2;
    }
    return r;
}

PictureRect previewSheet(int boxW, int boxH, int pageW, int pageH) {
    if (pageW <= 0 || pageH <= 0) return {};
    PictureRect r;
    if (pageH < pageW) {
        r.w = boxW;
        r.h = clampInt(int64_t{boxW} * pageH / pageW);
    } else {
        r.h = boxH;
        r.w = clampInt(int64_t{boxH} * pageW / pageH);
    }
    r.x = (boxW - r.w) / 2;
    r.y = (boxH - r.h) / 2;
    return r;
}

double matchingHeightPercent(int widthPercent, int imgW, int imgH, int pageW, int pageH) {
    if (imgW <= 0 || pageH <= 0) return widthPercent;
    return static_cast<double>(imgH) * widthPercent / imgW * pageW / pageH;
}

double matchingWidthPercent(int heightPercent, int imgW, int imgH, int pageW, int pageH) {
    if (imgH <= 0 || pageW <= 0) return heightPercent;
    return static_cast<double>(imgW) * heightPercent / imgH * pageH / pageW;
}

}  // namespace pr
