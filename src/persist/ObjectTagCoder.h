#pragma once

#include "model/ReadList.h"
#include "model/Result.h"
#include "model/TagCoder.h"

#include <cstdint>
#include <map>
#include <memory>
#include <unordered_map>

namespace quillon {

class Application;
class RegisterPositions;
class Screen;
class Tag;
class TraceFile;

// The object tag codes of one application: the writer asks for the code of each tag an object shows, the
// reader turns a code back into the tag. The unit finds a PLC tag's value by its register position in the
// data it reads for the screen (the screen's blocks in node and block order, one after another), and a
// tag of its own memory by the register number; PLC 29 drivers pack the read tags instead, so their
// positions are counted over tags.
//
// Decoding does not guess from the letter: it codes every tag the screen can show the way the writer
// does and looks the code up, so every code the writer makes reads back to its tag.
class ObjectTagCoder final : public TagCoder {
public:
    static constexpr std::uint8_t kPackedTagsPlcId = 29;

    // `trace` (may be null) receives one line per code handed out or resolved.
    ObjectTagCoder(const Application& application, RegisterPositions& positions, TraceFile* trace = nullptr);
    ~ObjectTagCoder() override;

    Result<ObjectTagCode> objectTagCode(const Tag& tag, const Screen& screen) override;
    // The code of a tag on a screen whose blocks are `screenList` (the global list is the application's).
    Result<ObjectTagCode> code(const Tag& tag, const ReadList& screenList, std::uint32_t screenNumber);

    // The tag a code names on a screen whose read list as read from the file is `loadedList`; nullptr when
    // no tag has that code (the object then has no tag).
    Tag* decode(const ObjectTagCode& code, const ReadList& loadedList, std::uint32_t screenNumber);

    // Register number in a unit address: the digits after its letters ("UW012" and "D0012_03" give 12).
    static std::optional<std::uint32_t> unitRegisterNumber(std::string_view address) noexcept;

private:
    using CodeKey = std::uint32_t;
    using CodeMap = std::unordered_map<CodeKey, Tag*>;
    static CodeKey keyOf(const ObjectTagCode& code) noexcept;

    Result<ObjectTagCode> computeCode(const Tag& tag, const ReadList& screenList);
    std::optional<std::uint32_t> packedOffset(const Tag& tag, const ReadList& screenList);
    const CodeMap& unitCodes();
    const CodeMap& screenCodes(const ReadList& loadedList);
    Tag* literalUnitTag(const ObjectTagCode& code) const;
    void traceLine(bool writing, std::uint32_t screenNumber, const Tag& tag, const ObjectTagCode& code);

    const Application& app_;
    RegisterPositions& positions_;
    TraceFile* trace_;
    std::unique_ptr<CodeMap> unitCodes_;
    std::map<const ReadList*, CodeMap> screenCodes_;
    // Packed offsets of every PLC 29 tag, per screen list.
    std::map<const ReadList*, std::unordered_map<const Tag*, std::uint32_t>> packed_;
};

} // namespace quillon
