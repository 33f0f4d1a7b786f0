#include "persist/PrepareForWrite.h"

#include "model/Application.h"
#include "model/BitmapObject.h"
#include "model/Screen.h"
#include "model/ScreenObject.h"
#include "model/Tag.h"
#include "model/TextFormat.h"
#include "persist/PictureLibrary.h"

#include <vector>

namespace quillon {

namespace {

constexpr std::string_view kTagWithoutName = "Tag's name not defined";
constexpr const char* kReadLimit = "In the Screen of number %u, Tags to be read exceed the limit.";

bool pictureUsed(const Application& app, std::uint32_t picture) {
    for (const auto& screen : app.screens()) {
        for (const auto& object : screen->objects()) {
            if (object->kind() == ObjectKind::Bitmap &&
                static_cast<const BitmapObject&>(*object).pictureId() == picture) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

std::int32_t snapLeft(std::int32_t left) noexcept {
    if (left >= 128 && left <= 132) {
        return 132;
    }
    if (left >= 170 && left <= 180) {
        return 180;
    }
    return left;
}

std::int32_t snapTop(std::int32_t top) noexcept {
    if (top >= 11 && top <= 16) {
        return 16;
    }
    if (top >= 41 && top <= 48) {
        return 48;
    }
    return top;
}

void snapToCells(ScreenObject& object) noexcept {
    object.left = snapLeft(object.left);
    object.top = snapTop(object.top);
}

Status prepareForWrite(Application& app, const PictureLibrary* pictures, Prompter& prompter) {
    for (const Tag& tag : app.tags()) {
        if (tag.name.empty()) {
            prompter.error(kTagWithoutName);
            return Status::fail(std::string(kTagWithoutName));
        }
    }

    if (const AlarmTable* alarms = app.alarmsIfAny()) {
        if (const auto group = alarms->groupReadingAsNoTag()) {
            const std::string text = formatText(std::string(AlarmTable::kGroupTagBecameUnitFirst).c_str(),
                                                static_cast<int>(*group + 1));
            prompter.error(text);
            return Status::fail(text);
        }
    }

    std::uint32_t pictureBytes = 0;
    if (storesBitmaps(app.modelId()) && pictures != nullptr && pictures->exists()) {
        if (Status s = pictures->updateUsedFlags([&](std::uint32_t p) { return pictureUsed(app, p); }); !s) {
            prompter.error(s.message());
            return s;
        }
        auto used = pictures->usedPictureBytes();
        if (!used) {
            prompter.error(used.message());
            return used.failure();
        }
        pictureBytes = *used;
    }
    app.setPictureBytes(pictureBytes);

    if (!app.expandHoldBits(prompter)) {
        return Status::fail("The hold-bit tasks could not be expanded.");
    }

    if (app.totals().applicationSize == 0) {
        return Status::fail("The application is empty.");
    }

    for (const auto& screen : app.screens()) {
        if (!app.checkReadLimit(screen->readList())) {
            const std::string text = formatText(kReadLimit, screen->number());
            prompter.error(text);
            return Status::fail(text);
        }
    }

    app.renumber();

    const bool cells = isCharacterClass(modelClass(app.modelId()));
    for (const auto& screen : app.screens()) {
        if (cells) {
            for (const auto& object : screen->objects()) {
                snapToCells(*object);
            }
        }
        // The file holds data-entry objects first, and a reopened screen lists them in that order.
        std::vector<ScreenObject*> order;
        bool inOrder = true;
        for (const ScreenObject* object : screen->writeOrder()) {
            inOrder = inOrder && screen->objects()[order.size()].get() == object;
            order.push_back(const_cast<ScreenObject*>(object));
        }
        if (!inOrder) {
            for (ScreenObject* object : order) {
                (void)screen->moveObject(*object, nullptr);
            }
        }
    }
    return Status::success();
}

} // namespace quillon
