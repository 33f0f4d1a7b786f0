#pragma once

#include "ui/ShellDialog.h"

#include <functional>
#include <string>

class QListWidget;

namespace quillon::gui {

// "COM Port": the serial port the transfers use, COM1 to COM31, each shown with the device it stands
// for on this machine (the port map of the working directory). Ok takes the selected port; Cancel and
// Escape keep the old one.
class ComPortDialog final : public ShellDialog {
    Q_OBJECT
public:
    static constexpr int kPortCount = 31;
    // The device behind "COMn", or the reason there is none.
    using DeviceOf = std::function<std::string(int portNumber)>;

    // portIndex: 0-based (COM1 is 0); an index outside the list selects nothing.
    ComPortDialog(QWidget* parent, int portIndex, const DeviceOf& deviceOf);

    QListWidget* list() const noexcept { return list_; }
    // The selected index, or the one the dialog was opened with when nothing is selected.
    int portIndex() const;

private:
    QListWidget* list_ = nullptr;
    int initial_ = 0;
};

} // namespace quillon::gui
