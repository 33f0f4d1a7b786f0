#include "edit/define/KeySelection.h"

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

bool KeySelection::holdsNothing(const KeyDefinition& key) noexcept {
    return key.taskBytes() == 0 && key.password == 0 && !key.legend.has_value() && key.interrupt == 0;
}

bool KeySelection::leaveCurrent() {
    KeyDefinition* key = this->key();
    const bool remove = key != nullptr && !foundEmpty_ && holdsNothing(*key);
    if (remove) {
        if (screen_ == nullptr) {
            (void)app_.removeGlobalKey(*key);
        } else {
            (void)app_.removeKey(*screen_, *key);
        }
    }
    foundEmpty_ = false;
    return remove;
}

bool KeySelection::close() {
    const bool removed = leaveCurrent();
    code_ = 0;
    passwordShown_ = false;
    return removed;
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
    if (code == code_ && key() != nullptr) {
        return false;
    }
    if (code != code_) {
        (void)leaveCurrent();
    }
    code_ = code;
    if (const KeyDefinition* found = find(code)) {
        foundEmpty_ = holdsNothing(*found);
        passwordShown_ = true;
        return true;
    }
    foundEmpty_ = false;
    passwordShown_ = false;
    Result<KeyDefinition*> added = screen_ == nullptr
                                       ? app_.addGlobalKey(std::make_unique<KeyDefinition>(code))
                                       : app_.addKey(*screen_, std::make_unique<KeyDefinition>(code));
    if (!added) {
        prompter_.error(kCannotCreateKey);
    }
    return true;
}

bool KeySelection::isSelected(std::uint8_t key) const noexcept {
    return key != 0 && (key == firstKey() || key == secondKey());
}

const KeyDefinition* KeySelection::actingGlobalKey() const noexcept {
    const KeyDefinition* key = this->key();
    if (screen_ == nullptr || (key != nullptr && key->taskBytes() != 0)) {
        return nullptr;
    }
    return app_.findGlobalKey(code_);
}

void KeySelection::setInterrupt(bool on) noexcept {
    if (KeyDefinition* key = this->key()) {
        key->interrupt = on ? 1 : 0;
    }
}

} // namespace quillon
