#include "sim/FrontPanel.h"

#include "model/Application.h"
#include "model/KeyDefinition.h"

#include <algorithm>
#include <array>

namespace quillon {

namespace {

std::string trimmed(std::string text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

bool isDigitLegend(const std::string& legend) {
    return legend.size() == 1 &&
           ((legend[0] >= '0' && legend[0] <= '9') || (legend[0] >= 'A' && legend[0] <= 'F'));
}

} // namespace

FrontPanel::FrontPanel(const Application& application) : layout_(keypadLayoutOf(application.modelId())) {
    if (!layout_) {
        return;
    }
    for (int k = layout_->firstKey; k <= layout_->lastKey; ++k) {
        const auto key = static_cast<std::uint8_t>(k);
        std::string legend;
        const KeyDefinition* global = application.findGlobalKey(key);
        const int picture = keyPicture(application, key);
        if (picture == key_picture::kDefined && global != nullptr && global->legend &&
            global->legend->type == KeyLegend::kText) {
            legend = trimmed(global->legend->line1);
            const std::string second = trimmed(global->legend->line2);
            if (!second.empty()) {
                legend += legend.empty() ? second : "\n" + second;
            }
        } else {
            legend = std::string(keyPictureSymbol(picture));
        }
        if (!legend.empty()) {
            legends_[key] = legend;
        }
        if (k <= 12) {
            reach("F" + std::to_string(k), key);
        }
    }
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 13> kSymbols{{
        {"ENT", "Return"},
        {"ESC", "Escape"},
        {"CLR", "Delete"},
        {"CLR", "Backspace"},
        {"<", "Left"},
        {">", "Right"},
        {"+", "Up"},
        {"+", "+"},
        {"-", "Down"},
        {"-", "-"},
        {"PG-", "PageUp"},
        {"PG+", "PageDown"},
        {"EDIT", "Insert"},
    }};
    for (const auto& [key, legend] : legends_) {
        if (isDigitLegend(legend)) {
            reach(legend, key);
        }
        for (const auto& [symbol, keyboard] : kSymbols) {
            if (legend == symbol) {
                reach(std::string(keyboard), key);
            }
        }
    }
    // The 0 of keypads whose zero key is also the sign key.
    for (const auto& [key, legend] : legends_) {
        if (legend == "+/-0") {
            reach("0", key);
        }
    }
}

void FrontPanel::reach(const std::string& keyboardKey, std::uint8_t key) {
    keyboard_.emplace(keyboardKey, key); // the first (lowest-numbered) key keeps it
}

std::string FrontPanel::legend(std::uint8_t key) const {
    const auto it = legends_.find(key);
    return it != legends_.end() ? it->second : std::string();
}

std::vector<std::string> FrontPanel::keyboardKeys(std::uint8_t key) const {
    std::vector<std::string> keys;
    for (const auto& [keyboard, reached] : keyboard_) {
        if (reached == key) {
            keys.push_back(keyboard);
        }
    }
    // Function keys last: F10 sorts before 1 otherwise.
    std::stable_partition(keys.begin(), keys.end(),
                          [](const std::string& k) { return !(k.size() > 1 && k[0] == 'F'); });
    return keys;
}

int FrontPanel::columns() const noexcept {
    if (!layout_) {
        return 0;
    }
    const std::string_view name = layout_->name;
    if (name == "keys_162") {
        return 6;
    }
    if (name == "keys_202") {
        return 7;
    }
    if (name == "keys_204") {
        return 8;
    }
    if (name == "keys_240x128" || name == "keys_320x240") {
        return 6;
    }
    return 4; // keys_162_15, keys_164, keys_220, keys_128x64, keys_128x64_90
}

std::vector<FrontPanel::Place> FrontPanel::places() const {
    std::vector<Place> placed;
    if (!layout_) {
        return placed;
    }
    const int columns = this->columns();
    const bool numericBlock = layout_->name == "keys_162_15";
    for (int k = layout_->firstKey; k <= layout_->lastKey; ++k) {
        const int index = k - layout_->firstKey;
        Place place{static_cast<std::uint8_t>(k), index / columns, index % columns};
        if (numericBlock && index >= layout_->functionKeys) {
            // Four rows of three, numbered down the columns, under the two rows of function keys.
            const int inBlock = index - layout_->functionKeys;
            place.row = layout_->functionKeys / columns + inBlock % 4;
            place.column = inBlock / 4;
        }
        placed.push_back(place);
    }
    return placed;
}

std::uint8_t FrontPanel::keyOfKeyboard(std::string_view keyboardKey) const {
    const auto it = keyboard_.find(keyboardKey);
    return it != keyboard_.end() ? it->second : 0;
}

} // namespace quillon
