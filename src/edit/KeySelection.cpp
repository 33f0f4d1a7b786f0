#include "edit/KeySelection.h"

#include "model/Application.h"

#include <memory>

namespace quillon {

KeySelection::KeySelection(Application& application, Screen* screen, Prompter& prompter)
    : app_(application), screen_(screen), prompter_(prompter) {}

KeyDefinition* KeySelection::find(std::uint16_t code) const noexcept {
    if (screen_ == nullptr) {
        return app_.findGlobalKey(code);
    }
    for (const auto& key : screen_->keys()) {
        if (key->code == code) {
            return key.get();
        }
    }
    return nullptr;
}

void KeySelection::leaveCurrent() {
    if (key_ != nullptr && key_->taskBytes() == 0) {
        if (screen_ == nullptr) {
            (void)app_.removeGlobalKey(*key_);
        } else {
            (void)app_.removeKey(*screen_, *key_);
        }
    }
    key_ = nullptr;
}

bool KeySelection::click(std::uint8_t key) {
    if (key == 0) {
        return false;
    }
    if (mode_ == Mode::SingleKey) {
        return choose(key);
    }
    // The second key chosen before becomes the first one; a first key alone stays first.
    const std::uint8_t first = secondKey() != 0 ? secondKey() : firstKey();
    if (first == 0 || first == key) {
        return choose(key);
    }
    return choose(static_cast<std::uint16_t>(first + 256U * key));
}

bool KeySelection::choose(std::uint16_t code) {
    if (code == code_ && key_ != nullptr) {
        return false;
    }
    leaveCurrent();
    code_ = code;
    key_ = find(code);
    if (key_ != nullptr) {
        passwordShown_ = true;
        return true;
    }
    passwordShown_ = false;
    Result<KeyDefinition*> added = screen_ == nullptr
                                       ? app_.addGlobalKey(std::make_unique<KeyDefinition>(code))
                                       : app_.addKey(*screen_, std::make_unique<KeyDefinition>(code));
    if (!added) {
        prompter_.error(kCannotCreateKey);
        return true;
    }
    key_ = added.value();
    return true;
}

bool KeySelection::isSelected(std::uint8_t key) const noexcept {
    return key != 0 && (key == firstKey() || key == secondKey());
}

const KeyDefinition* KeySelection::actingGlobalKey() const noexcept {
    if (screen_ == nullptr || (key_ != nullptr && key_->taskBytes() != 0)) {
        return nullptr;
    }
    return app_.findGlobalKey(code_);
}

void KeySelection::setInterrupt(bool on) noexcept {
    if (key_ != nullptr) {
        key_->interrupt = on ? 1 : 0;
    }
}

} // namespace quillon
