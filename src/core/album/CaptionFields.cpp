#include "core/album/CaptionFields.h"

#include "core/io/PathText.h"

namespace pr {

namespace {
const char kDate[] = "{Datum}";
const char kFileName[] = "{Dateiname}";
const char kNumber[] = "{Nr}";
}  // namespace

bool hasCaptionFields(const std::string& caption) {
    return caption.find(kDate) != std::string::npos ||
           caption.find(kFileName) != std::string::npos ||
           caption.find(kNumber) != std::string::npos;
}

std::string expandCaptionFields(const std::string& caption, const CaptionFieldValues& values) {
    const std::string number = std::to_string(values.number);
    const struct {
        const char* field;
        size_t length;
        const std::string* value;
    } fields[] = {{kDate, sizeof kDate - 1, &values.date},
                  {kFileName, sizeof kFileName - 1, &values.fileName},
                  {kNumber, sizeof kNumber - 1, &number}};
    std::string out;
    out.reserve(caption.size());
    size_t i = 0;
    while (i < caption.size()) {
        bool replaced = false;
        if (caption[i] == '{') {
            for (const auto& f : fields) {
                if (caption.compare(i, f.length, f.field) != 0) continue;
                // A value is never searched again, so a file name holding "{Nr}" stays as it is.
                out += *f.value;
                i += f.length;
                replaced = true;
                break;
            }
        }
        if (!replaced) out += caption[i++];
    }
    return out;
}

std::string shownCaption(const Album& album, int32_t key, const std::string& caption,
                         PictureFactsCache& facts) {
    if (!hasCaptionFields(caption)) return caption;
    // The first picture with the key, as every lookup by key finds it.
    size_t index = 0;
    while (index < album.Pictures.size() && album.Pictures[index].Key != key) ++index;
    if (index == album.Pictures.size()) return caption;
    const AlbumImage& picture = album.Pictures[index];
    CaptionFieldValues values;
    if (caption.find(kDate) != std::string::npos)
        values.date = facts.of(picture.FileName).dateTaken;
    // Album files written on Windows keep backslashes in their paths.
    values.fileName = splitStoredPath(picture.FileName).name;
    values.number = static_cast<int>(index) + 1;
    return expandCaptionFields(caption, values);
}

}  // namespace pr
