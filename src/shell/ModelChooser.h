#pragma once

#include <cstdint>
#include <functional>

namespace quillon::gui {

// Runs the New Application dialog. Each Ok hands the chosen picker position (the row of the model in
// `pickerModelIds`) to `accept`; the dialog
// closes when `accept` returns true and stays open (for another choice) when it returns false.
// Returns whether the dialog ended through an accepted Ok.
class ModelChooser {
public:
    using Accept = std::function<bool(std::uint8_t position)>;

    ModelChooser() = default;
    ModelChooser(const ModelChooser&) = delete;
    ModelChooser& operator=(const ModelChooser&) = delete;
    virtual ~ModelChooser() = default;

    virtual bool chooseModel(const Accept& accept) = 0;
};

} // namespace quillon::gui
