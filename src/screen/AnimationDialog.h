#pragma once

#include "edit/screen/ObjectProperties.h"
#include "ui/ShellDialog.h"

#include <functional>
#include <vector>

class QComboBox;
class QGroupBox;
class QLineEdit;
class QRadioButton;

namespace quillon {
class Application;
class Prompter;
class ScreenObject;
} // namespace quillon

namespace quillon::gui {

class ObjectTagCombo;

// `ANIMATION`, "Quillon : Animation Properties": show/hide and flash of any object by a tag's value, and the
// percent filling of rectangles, ellipses, round rectangles and polygons. Flash is not offered for data
// entries, alarm windows and objects that flash by their own attribute. OK checks each section that is
// on and the screen's tag limit, then the object takes the sections.
class AnimationDialog final : public ShellDialog {
    Q_OBJECT
public:
    AnimationDialog(QWidget* parent, const Application& application, const ScreenObject& object,
                    Prompter& prompter, std::function<std::string(std::vector<Tag*>)> tagsRefusal);
    AnimationInput input() const;
    // Writes the sections into the object.
    void apply(ScreenObject& object) const;

    void accept() override;

private:
    struct RangeFields {
        QGroupBox* group = nullptr;
        ObjectTagCombo* tag = nullptr;
        QRadioButton* within = nullptr;
        QRadioButton* outside = nullptr;
        QLineEdit* low = nullptr;
        QLineEdit* high = nullptr;
    };
    RangeFields rangeSection(const QString& title, const QString& whenText, const QString& tagText,
                             const std::optional<RangeAnimation>& given, const Application& application);
    std::optional<RangeAnimation> range(const RangeFields& fields) const;

    Prompter& prompter_;
    std::function<std::string(std::vector<Tag*>)> tagsRefusal_;
    RangeFields showHide_;
    RangeFields flash_;
    QComboBox* speed_ = nullptr;
    // The flash option as the object holds it and the speed shown for it: kept while the speed is not
    // changed (a file may hold an option no speed of the list gives).
    std::optional<std::uint8_t> givenFlashOption_;
    int givenSpeed_ = 0;
    std::uint8_t givenShowHideOption_ = 0;
    // Whether the object held a percent filling (only then does switching it off release its tag).
    bool givenFilling_ = false;
    QGroupBox* filling_ = nullptr;
    ObjectTagCombo* fillTag_ = nullptr;
    QLineEdit* minimum_ = nullptr;
    QLineEdit* maximum_ = nullptr;
    QRadioButton* directions_[4] = {};
    bool fillOffered_ = false;
};

} // namespace quillon::gui
