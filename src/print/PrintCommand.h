#pragma once

#include "report/PrintSelection.h"

#include <functional>
#include <memory>

class QDialog;
class QWidget;

namespace quillon {
class Application;
class PanelFont;
class PictureSource;
class Prompter;
} // namespace quillon

namespace quillon::gui {

class PrinterChooser;

// What the Print command needs of the shell.
struct PrintHost {
    QWidget* window = nullptr;
    Prompter* prompter = nullptr;
    std::function<const Application*()> application;
    std::function<const PictureSource*()> pictures;
    std::function<const PanelFont&()> font;
    // Whether a screen is being edited, giving that session the focus back, and closing it.
    std::function<bool()> sessionOpen;
    std::function<void()> focusSession;
    std::function<void()> closeSession;
    // The PDF file proposed for the report; where the report went, for the status bar.
    std::function<std::string()> proposedPdf;
    std::function<void(const std::string&)> showStatus;
    std::function<int(QDialog&)> runDialog;
    // Where the report goes; empty: the system's print dialog.
    PrinterChooser* printers = nullptr;
};

// The Print command: the selection dialog, the print dialog, then the chosen sections, each document as
// a job of its own on a printer, or all of them as one PDF file. The selection stays between commands
// until the application is closed. Every Print command numbers its pages from 1.
class PrintCommand final {
public:
    explicit PrintCommand(PrintHost host);
    ~PrintCommand();
    PrintCommand(const PrintCommand&) = delete;
    PrintCommand& operator=(const PrintCommand&) = delete;

    void run();
    const PrintSelection& selection() const noexcept { return selection_; }
    void clearSelection() noexcept { selection_.clear(); }

private:
    PrintHost host_;
    PrintSelection selection_;
    std::unique_ptr<PrinterChooser> ownPrinters_;
};

} // namespace quillon::gui
