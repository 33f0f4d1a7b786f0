#pragma once

#include "model/Result.h"

#include <cstdint>
#include <optional>

namespace quillon {

class Application;
class ByteReader;
class ObjectTagCoder;
class Screen;
class ScreenObject;

// What a record says beyond the object itself: its sequence number and group link as stored (the group
// rings are rebuilt from them once the whole screen is read) and, for a bitmap, the image offset of its
// picture's data.
struct ObjectRecordInfo {
    ScreenObject* object = nullptr;
    std::uint8_t sequence = 0;
    std::uint8_t groupLink = 0;
    std::optional<std::uint32_t> imageOffset;
    // The record's length field and the bytes its fields actually took; the two differ only in a record
    // that is not what its head says, which the reader reports once every record has been read.
    std::uint32_t recordLength = 0;
    std::size_t bytesTaken = 0;
};

// Reads one object record of a screen entry and appends the object to the screen: the common part, the
// animations, the main tag (a TagRef for data entry, an object tag code for the others) and the part of
// its kind; a touch-screen area then brings its three task lists. A failure's code is the error number of
// the object's kind (0 for a cut-off common part, which the format reports without a number).
class ObjectRecordReader final {
public:
    ObjectRecordReader(Application& application, ObjectTagCoder& coder, bool characterCells) noexcept
        : app_(application), coder_(coder), characterCells_(characterCells) {}

    Result<ObjectRecordInfo> read(ByteReader& in, Screen& screen);

    // The error number of a kind's record.
    static int errorNumber(std::uint8_t kind) noexcept;

private:
    Application& app_;
    ObjectTagCoder& coder_;
    bool characterCells_;
};

} // namespace quillon
