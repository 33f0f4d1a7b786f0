#pragma once

#include "edit/screen/ReplicationRule.h"
#include "ui/ShellDialog.h"

#include <cstdint>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;

namespace quillon {
class Prompter;
class Screen;
class ScreenReplication;
} // namespace quillon

namespace quillon::gui {

// "Replicate..." of the screens manager: the new screen numbers (a list or ranges, "21-40"), the text
// replaced in tag names with its counter ("Pump1" -> "Pump{n}" from a start value), the address offset
// per copy, whether missing tags are created and whether the replacement also reaches the static texts and
// the screen's name. Ok plans the replication: a refusal is shown with its reason and the dialog stays
// open; otherwise the question naming the screens and tags to be created is asked, and Yes closes the
// dialog with the numbers and the rule to replicate with.
class ReplicateScreenDialog final : public ShellDialog {
    Q_OBJECT
public:
    ReplicateScreenDialog(QWidget* parent, const Screen& source, ScreenReplication& replication,
                          Prompter& prompter);

    // What Ok accepted.
    const std::vector<std::uint32_t>& numbers() const noexcept { return numbers_; }
    const ReplicationRule& rule() const noexcept { return rule_; }

    void accept() override;

private:
    // Reads the fields into a rule; the message of the first field that is wrong, or nothing.
    std::string readRule(ReplicationRule& rule);

    const Screen& source_;
    ScreenReplication& replication_;
    Prompter& prompter_;
    QLineEdit* numbersEdit_ = nullptr;
    QLineEdit* fromEdit_ = nullptr;
    QLineEdit* toEdit_ = nullptr;
    QLineEdit* startEdit_ = nullptr;
    QLineEdit* offsetEdit_ = nullptr;
    QCheckBox* createTags_ = nullptr;
    QCheckBox* texts_ = nullptr;
    std::vector<std::uint32_t> numbers_;
    ReplicationRule rule_;
};

} // namespace quillon::gui
