#include "ui/WindowSettings.h"

#include <QStringList>

namespace quillon::gui {
namespace {

WindowSettings* currentSettings = nullptr;

} // namespace

WindowSettings::WindowSettings(std::map<std::string, std::string> values) : values_(std::move(values)) {}

WindowSettings::~WindowSettings() {
    if (currentSettings == this) {
        currentSettings = nullptr;
    }
}

WindowSettings* WindowSettings::current() noexcept {
    return currentSettings;
}

void WindowSettings::makeCurrent() noexcept {
    currentSettings = this;
}

std::string WindowSettings::dialogKey(const QString& dialog) {
    return "Dialog." + dialog.toStdString();
}

std::optional<QRect> WindowSettings::dialogPlace(const QString& dialog) const {
    const auto it = values_.find(dialogKey(dialog));
    if (it == values_.end()) {
        return std::nullopt;
    }
    const QStringList parts = QString::fromStdString(it->second).split(',');
    if (parts.size() != 4) {
        return std::nullopt;
    }
    int numbers[4] = {};
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        numbers[i] = parts[i].trimmed().toInt(&ok);
        if (!ok) {
            return std::nullopt;
        }
    }
    if (numbers[2] <= 0 || numbers[3] <= 0) {
        return std::nullopt;
    }
    return QRect(numbers[0], numbers[1], numbers[2], numbers[3]);
}

void WindowSettings::setDialogPlace(const QString& dialog, const QRect& frame) {
    values_[dialogKey(dialog)] = QStringLiteral("%1,%2,%3,%4")
                                     .arg(frame.x())
                                     .arg(frame.y())
                                     .arg(frame.width())
                                     .arg(frame.height())
                                     .toStdString();
}

void WindowSettings::dropDialogPlace(const QString& dialog) {
    values_.erase(dialogKey(dialog));
}

bool WindowSettings::flag(const std::string& key) const {
    const auto it = values_.find(key);
    return it != values_.end() && it->second == "1";
}

void WindowSettings::setFlag(const std::string& key, bool on) {
    values_[key] = on ? "1" : "0";
}

} // namespace quillon::gui
