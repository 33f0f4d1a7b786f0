#pragma once

#include "report/PrintSelection.h"
#include "ui/ShellDialog.h"

#include <array>
#include <cstdint>

class QCheckBox;

namespace quillon::gui {

// "Quillon  : Print Selection": "All" and one box per section of the report. Ok hands the boxes back;
// Cancel and Escape leave the selection as it was.
class PrintSelectionDialog final : public ShellDialog {
    Q_OBJECT
public:
    PrintSelectionDialog(QWidget* parent, const PrintSelection& selection, std::uint32_t modelId);

    const PrintSelection& selection() const noexcept { return selection_; }
    QCheckBox* allBox() const noexcept { return all_; }
    QCheckBox* sectionBox(ReportSection section) const noexcept {
        return boxes_[PrintSelection::index(section)];
    }

private:
    void showSelection();

    PrintSelection selection_;
    std::uint32_t modelId_;
    QCheckBox* all_ = nullptr;
    std::array<QCheckBox*, PrintSelection::kSections> boxes_{};
};

} // namespace quillon::gui
