#include "print/PrintCommand.h"

#include "model/Application.h"
#include "model/Prompter.h"
#include "persist/AtomicFileWriter.h"
#include "print/AbortWindow.h"
#include "print/PrintSelectionDialog.h"
#include "print/QtPrinterChooser.h"
#include "print/ReportPainter.h"
#include "report/ReportLayout.h"
#include "ui/ScreenImage.h"

#include <algorithm>
#include <limits>
#include <span>

#include <QCoreApplication>
#include <QFileInfo>
#include <QPrinter>

namespace quillon::gui {

PrintCommand::PrintCommand(PrintHost host) : host_(std::move(host)) {
    if (host_.printers == nullptr) {
        ownPrinters_ = std::make_unique<QtPrinterChooser>();
        host_.printers = ownPrinters_.get();
    }
}

PrintCommand::~PrintCommand() = default;

void PrintCommand::run() {
    const Application* app = host_.application ? host_.application() : nullptr;
    if (app == nullptr) {
        return;
    }
    if (host_.sessionOpen && host_.sessionOpen()) {
        // The report is drawn from the stored screens: the session closes first, when the user agrees.
        const bool close =
            host_.closeSession &&
            host_.prompter->confirm(std::string(PrintSelection::kCloseSessionAndPrint), PromptButtons::YesNo,
                                    PromptAnswer::Yes) == PromptAnswer::Yes;
        if (close) {
            host_.closeSession();
        }
        if (host_.sessionOpen()) {
            if (host_.focusSession) {
                host_.focusSession();
            }
            return;
        }
    }

    PrintSelectionDialog dialog(host_.window, selection_, app->modelId());
    if (host_.runDialog(dialog) != QDialog::Accepted) {
        return;
    }
    selection_ = dialog.selection();
    if (!selection_.printsAnything(app->modelId())) {
        return;
    }

    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(ReportPainter::defaultPageLayout());
    printer.setDocName(QString::fromLatin1(ReportLayout::kFirstDocument.data()));
    const QString proposed = host_.proposedPdf ? QString::fromStdString(host_.proposedPdf()) : QString();
    if (!host_.printers->choose(printer, host_.window, proposed)) {
        return;
    }

    // A queue that has gone leaves the printer without a device (Qt turns it into a PDF file of no name).
    if (printer.outputFormat() == QPrinter::PdfFormat && printer.outputFileName().isEmpty()) {
        host_.prompter->error(PrintSelection::kPrinterGone);
        return;
    }

    // A range chosen in the print dialog prints those pages only (the pages count from 1 in every command).
    int firstPage = 1;
    int lastPage = std::numeric_limits<int>::max();
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        firstPage = printer.fromPage();
        lastPage = std::max(printer.toPage(), firstPage);
    }

    const std::string noPages = lastPage == std::numeric_limits<int>::max()
                                    ? std::string(PrintSelection::kNothingToPrint)
                                    : PrintSelection::noPagesBetween(firstPage, lastPage);

    AbortWindow abort(host_.window);
    abort.show();
    const auto betweenPages = [] {
        QCoreApplication::processEvents();
        return true;
    };
    ReportPainter painter(*app, host_.font(), host_.pictures ? host_.pictures() : nullptr,
                          ScreenImage::currentClock());
    Status printed;
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        // A PDF file is the whole report in one file, written beside its name and renamed over it.
        const QString file = printer.outputFileName();
        auto pdf = painter.pdf(selection_, printer.pageLayout(), QFileInfo(file).fileName(), betweenPages,
                               firstPage, lastPage);
        if (!pdf) {
            printed = Status::fail(pdf.message());
        } else if (pdf->pages == 0) {
            printed = Status::fail(noPages);
        } else {
            const QByteArray& bytes = pdf->bytes;
            const Status saved = AtomicFileWriter::writeFile(
                file.toStdString(),
                std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                              static_cast<std::size_t>(bytes.size())));
            if (!saved) {
                printed = Status::fail("Can not write " + file.toStdString() + ": " + saved.message());
            }
        }
    } else {
        printer.setResolution(ReportPainter::kResolution);
        const std::vector<ReportDocument> documents = ReportLayout::pagesBetween(
            ReportLayout(ReportPainter::metrics(printer)).build(*app, selection_), firstPage, lastPage);
        if (documents.empty()) {
            printed = Status::fail(noPages);
        }
        for (const ReportDocument& document : documents) {
            printer.setDocName(QString::fromStdString(document.name));
            printed = painter.paintAll(printer, {document}, betweenPages);
            if (!printed) {
                break;
            }
        }
    }
    abort.close();
    if (printed && host_.showStatus) {
        host_.showStatus(printer.outputFormat() == QPrinter::PdfFormat
                             ? PrintSelection::writtenTo(printer.outputFileName().toStdString())
                             : PrintSelection::sentTo(printer.printerName().toStdString()));
    }
    if (!printed) {
        host_.prompter->error(printed.message());
    } else if (!painter.drawingFailure()) {
        host_.prompter->error(std::string(PrintSelection::kPrintedWithoutDrawings) +
                              painter.drawingFailure().message());
    }
}

} // namespace quillon::gui
