#pragma once

#include "edit/screen/ObjectProperties.h"
#include "ui/ShellDialog.h"

#include <functional>
#include <vector>

class QLineEdit;
class QRadioButton;

namespace quillon {
class Application;
class Prompter;
} // namespace quillon

namespace quillon::gui {

class ObjectTagCombo;

// `BARGRAPH`: the tag, Min and Max (0 to 65535) and the direction of a bar graph. The last three
// directions are offered from model 480 on. OK checks the entries and the screen's tag limit.
class BargraphDialog final : public ShellDialog {
    Q_OBJECT
public:
    BargraphDialog(QWidget* parent, const Application& application, const EditValues& values,
                   Prompter& prompter, std::function<std::string(std::vector<Tag*>)> tagsRefusal);
    // The dialog's values after OK.
    void store(EditValues& values) const;

    void accept() override;

private:
    BargraphInput input() const;

    Prompter& prompter_;
    std::function<std::string(std::vector<Tag*>)> tagsRefusal_;
    ObjectTagCombo* tag_ = nullptr;
    QLineEdit* minimum_ = nullptr;
    QLineEdit* maximum_ = nullptr;
    QRadioButton* directions_[4] = {};
};

// Shows a refusal of a property dialog and puts the focus on the field it concerns.
void showRefusal(Prompter& prompter, const PropertyVerdict& verdict, QWidget* field);

} // namespace quillon::gui
