#pragma once
// Picture facts (size as stored, EXIF date) by file path, read once per path and kept for the
// run. Pages are drawn often and each drawing asks for every placement, so the file is read only
// the first time. Window thread only, like every drawing.

#include <map>
#include <string>

#include "core/imaging/PictureFacts.h"

namespace pr {

class PictureFactsCache {
public:
    // The facts of the file at `path`, read now when this is the first question about it.
    const PictureFacts& of(const std::string& path);
    // Forgets everything (a test that rewrites its files; a reopened album reads afresh).
    void clear() { facts_.clear(); }

    // The one cache the page drawing, the status bar and the captions share.
    static PictureFactsCache& shared();

private:
    std::map<std::string, PictureFacts> facts_;
};

}  // namespace pr
