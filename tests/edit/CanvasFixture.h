#pragma once

#include "edit/screen/ObjectGeometry.h"
#include "model/Application.h"
#include "model/CanvasGeometry.h"
#include "model/ModelFixture.h"
#include "model/Screen.h"
#include "model/TextObject.h"

#include <memory>
#include <string_view>

namespace quillon::testing_support {

// An application of one panel model with one screen to edit.
struct CanvasDocument {
    explicit CanvasDocument(std::uint16_t modelId) : app(modelId) {
        screen = must(app.addScreen(std::make_unique<Screen>(1)));
    }

    // Puts an object of type T on the screen at a unit rectangle.
    template <typename T>
    T& put(const UnitRect& rect, std::uint8_t zLevel = 3) {
        auto object = std::make_unique<T>();
        setObjectRect(*object, rect);
        object->zLevel = zLevel;
        return static_cast<T&>(*must(screen->appendObject(std::move(object))));
    }

    TextObject& text(const UnitRect& rect, std::string_view content = "abc") {
        TextObject& t = put<TextObject>(rect);
        (void)t.setText(content);
        return t;
    }

    Application app;
    Screen* screen = nullptr;
};

// Models by display class: 4 is a character display of 240 x 64, 50 is 128 x 64, 52 is 320 x 240.
inline constexpr std::uint16_t kCharacterModel = 40;
inline constexpr std::uint16_t kClass50Model = 500;
inline constexpr std::uint16_t kClass52Model = 520;

} // namespace quillon::testing_support
