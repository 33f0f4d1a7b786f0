#pragma once

#include "model/ByteSink.h"
#include "model/DrawingSurface.h"
#include "model/EditValues.h"
#include "model/Result.h"
#include "model/TagCoder.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>

namespace quillon {

class Screen;
class Tag;
class TaskList;
class TaskListOwner;

// Object kinds as the image stores them. Kind 15 comes only from old files and is read as a bargraph.
enum class ObjectKind : std::uint8_t {
    Bitmap = 0,
    Text = 1,
    DataEntryCoil = 2,
    DataEntryRegister = 3,
    DisplayCoil = 4,
    DisplayRegister = 5,
    DisplayRegisterText = 6,
    Time = 7,
    Date = 8,
    Error = 9,
    Rectangle = 10,
    Ellipse = 11,
    RoundRectangle = 12,
    Polyline = 13,
    Polygon = 14,
    OldBargraph = 15,
    AlarmWindow = 16,
    TouchArea = 17,
    Bargraph = 21,
};

// Whether the byte names a kind an object can be made of (0-17 and 21).
bool isObjectKind(std::uint8_t code) noexcept;
// The kind's name as the editor shows it ("Data Entry", "Display PLC Data", "Touch-screen" ...).
std::string_view objectKindName(ObjectKind kind) noexcept;
// Data-entry objects name their main tag by TagRef, are written first and are not read-list users.
constexpr bool isDataEntry(ObjectKind kind) noexcept {
    return kind == ObjectKind::DataEntryCoil || kind == ObjectKind::DataEntryRegister;
}

// What an object's Write needs besides the object: the tag coder, whether the model stores coordinates in
// character cells (12 x 16 pixels), and where each picture's data lies in the image.
struct ObjectWriteContext {
    TagCoder& coder;
    bool characterCells = false;
    std::function<Result<std::uint32_t>(std::uint32_t pictureId)> pictureOffset;
};

// One object placed on a screen. The record length is kept by the kind rule whenever a property that
// changes it is set; while the object sits on a screen the difference goes to the screen and the
// application totals, and its tag uses are held in the screen's read list.
class ScreenObject {
public:
    static constexpr std::uint32_t kCommonBytes = 22;
    static constexpr std::uint32_t kShowHideBytes = 9;
    static constexpr std::uint32_t kFlashBytes = 10;
    static constexpr std::uint32_t kMainTagBytes = 4;
    static constexpr std::uint8_t kAnimateShowHide = 0x01;
    static constexpr std::uint8_t kAnimateFlash = 0x02;
    static constexpr std::uint8_t kDefaultZLevel = 3;

    virtual ~ScreenObject();
    ScreenObject& operator=(const ScreenObject&) = delete;

    // An empty object of the kind (kind 15 gives an old-format bargraph); nullptr for a byte that names
    // no kind.
    static std::unique_ptr<ScreenObject> create(std::uint8_t kindCode);

    ObjectKind kind() const noexcept { return kind_; }
    std::uint32_t recordLength() const noexcept { return recordLength_; }
    Screen* screen() const noexcept { return screen_; }
    // 1-based position in the screen's list; 0 while on no screen.
    std::uint8_t sequence() const noexcept { return sequence_; }
    // The next member of the object's group ring; nullptr when not grouped.
    ScreenObject* groupNext() const noexcept { return groupNext_; }

    // A full copy on no screen: every property, tag and task list; no group and no sequence.
    virtual std::unique_ptr<ScreenObject> clone() const = 0;

    // Animations. Setting one enters its tag into the screen's read list and sets its flag bit;
    // clearing it releases the tag.
    std::uint8_t animation() const noexcept;
    const std::optional<RangeAnimation>& showHide() const noexcept { return showHide_; }
    const std::optional<RangeAnimation>& flashAnimation() const noexcept { return flashAnimation_; }
    void setShowHide(std::optional<RangeAnimation> animation);
    void setFlashAnimation(std::optional<RangeAnimation> animation);

    // The main tag: the value of data objects and bargraphs, the filling of shapes. Every record has room
    // for one, so a file may give it to any kind; hasMainTag says whether the kind's editor assigns one.
    virtual bool hasMainTag() const noexcept { return false; }
    Tag* tag() const noexcept { return tag_; }
    void setTag(Tag* tag);

    // Points every tag reference at the tag `map` gives for it: the main tag, the show/hide and flash tags
    // and the tags of a touch area's tasks. For an object on no screen (a copy on its way to one); the tags
    // given in exchange keep each tag's type, so a task's layout does not change.
    void mapTags(const std::function<Tag*(Tag*)>& map);

    // The touch area's task lists; nullptr for every other kind.
    virtual TaskListOwner* taskOwner() noexcept { return nullptr; }
    virtual const TaskListOwner* taskOwner() const noexcept { return nullptr; }

    // Renders the object in the unit's look. A failure (a picture that cannot be read, ...) carries the
    // message the user sees; whatever could be drawn has been drawn.
    virtual Status Draw(DrawingSurface& surface, const DrawParameters& parameters) const = 0;
    // Copies the kind's own properties into the editor's current-property set.
    virtual void LoadEditValues(EditValues& values) const = 0;
    // Appends the object's record: common part, animations, main tag, kind part.
    virtual Status Write(ByteSink& sink, const ObjectWriteContext& context) const;

    // Rectangle in unit pixels, right and bottom inclusive.
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    std::uint8_t font = 0;      // font number, or line thickness of graphical kinds
    std::uint8_t colourA = 100; // text background or fill
    std::uint8_t colourB = 0;   // text foreground or pen
    std::uint8_t flash = 0;     // 0 none, 128..130 flash, 192..194 scroll
    std::uint8_t zLevel = kDefaultZLevel;
    std::uint8_t border = 0;

protected:
    explicit ScreenObject(ObjectKind kind) noexcept;
    // Copies properties and tags; the copy is on no screen and in no group.
    ScreenObject(const ScreenObject& other);

    virtual std::uint32_t kindPartLength() const noexcept = 0;
    virtual Status writeKindPart(ByteSink& sink, const ObjectWriteContext& context) const = 0;
    // Whether the main tag is read by the unit for the screen (not so for data entry, which writes it).
    virtual bool mainTagIsRead() const noexcept { return true; }
    // Called by the touch area when its tasks enter or leave the screen: an object joining or leaving a
    // screen brings or takes all its uses.
    virtual void enterOwnReads() {}
    virtual void leaveOwnReads() {}

    // Recomputes the record length by the kind rule and passes the difference on.
    void lengthChanged();
    // Adds a change of the record length that the application already counted elsewhere (task bytes).
    void adjustLength(std::int64_t delta) noexcept;
    // The screen's read list, for a tag use; nothing while the object is on no screen.
    void enterRead(Tag* tag) const;
    void leaveRead(Tag* tag) const;

private:
    friend class Screen;

    std::uint32_t computeLength() const noexcept { return commonLength() + kindPartLength(); }
    std::uint32_t commonLength() const noexcept;
    // Every tag use of the object itself, for joining and leaving a screen.
    void enterAllReads();
    void leaveAllReads();

    ObjectKind kind_;
    std::uint32_t recordLength_ = 0;
    Screen* screen_ = nullptr;
    std::uint8_t sequence_ = 0;
    ScreenObject* groupNext_ = nullptr;
    std::optional<RangeAnimation> showHide_;
    std::optional<RangeAnimation> flashAnimation_;
    Tag* tag_ = nullptr;
};

// The Press (0), Pressed (1) and Released (2) lists of a touch-screen area; nullptr for other kinds.
const TaskList* objectTasks(const ScreenObject& object, std::size_t index);

} // namespace quillon
