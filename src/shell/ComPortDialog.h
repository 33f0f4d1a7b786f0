#pragma once

#include "ui/ShellDialog.h"

#include <functional>
#include <string>

class QCheckBox;
class QListWidget;

namespace quillon::gui {

// "COM Port": the serial port the transfers use, COM1 to COM31, each shown with the device it stands
// for on this machine (the port map of the working directory), and whether the transfers poll the unit
// at once. Ok takes the selected port and the polling choice; Cancel and Escape keep the old ones.
class ComPortDialog final : public ShellDialog {
    Q_OBJECT
public:
    static constexpr int kPortCount = 31;
    // The device behind "COMn", or the reason there is none.
    using DeviceOf = std::function<std::string(int portNumber)>;

    // portIndex: 0-based (COM1 is 0); an index outside the list selects nothing. fastPolling: the
    // current choice of the check box (off: the standard timing).
    ComPortDialog(QWidget* parent, int portIndex, const DeviceOf& deviceOf, bool fastPolling = false);

    QListWidget* list() const noexcept { return list_; }
    QCheckBox* fastPollingBox() const noexcept { return fastPolling_; }
    bool fastPolling() const;
    // The selected index, or the one the dialog was opened with when nothing is selected.
    int portIndex() const;

private:
    QListWidget* list_ = nullptr;
    QCheckBox* fastPolling_ = nullptr;
    int initial_ = 0;
};

} // namespace quillon::gui
