#pragma once

#include <map>
#include <optional>
#include <string>

#include <QRect>
#include <QString>

namespace quillon::gui {

// The window's own choices that outlive a run, kept in the "[Window]" section of the settings file:
// where each dialog stood and how large the user made it, and the editors' options. The main window owns
// one and makes it current; dialogs find it through `current()` (nothing in tests that make none).
class WindowSettings final {
public:
    explicit WindowSettings(std::map<std::string, std::string> values = {});
    ~WindowSettings();
    WindowSettings(const WindowSettings&) = delete;
    WindowSettings& operator=(const WindowSettings&) = delete;

    static WindowSettings* current() noexcept;
    void makeCurrent() noexcept;

    // Where a dialog stood when it closed last: its frame's top-left corner and its inner size.
    std::optional<QRect> dialogPlace(const QString& dialog) const;
    void setDialogPlace(const QString& dialog, const QRect& frame);
    void dropDialogPlace(const QString& dialog);

    bool flag(const std::string& key) const;
    void setFlag(const std::string& key, bool on);

    const std::map<std::string, std::string>& values() const noexcept { return values_; }
    void setValues(std::map<std::string, std::string> values) { values_ = std::move(values); }

private:
    static std::string dialogKey(const QString& dialog);

    std::map<std::string, std::string> values_;
};

} // namespace quillon::gui
