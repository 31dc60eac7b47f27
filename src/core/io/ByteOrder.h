#pragma once
// The order of the bytes of a stored number: the album and cache files, BMP, PCX and TGA are
// little-endian, IFF and PNG big-endian, and TIFF (EXIF) says which in its header.

namespace pr {

enum class ByteOrder { Little, Big };

}  // namespace pr
