#pragma once

// Scripted stand-ins for the services the shell works with: a document service that records what it
// was asked and fails on request, file dialogs and a model picker that answer from a script.

#include "model/UnitSettings.h"
#include "print/PrinterChooser.h"
#include "shell/DocumentService.h"
#include "shell/ModelChooser.h"
#include "ui/FileChooser.h"

#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <QPrinter>
#include <QString>

namespace quillon::gui::testing {

class FakeDocuments final : public DocumentService {
public:
    bool creatable = true;
    bool openable = true;
    bool savable = true;
    bool failCreate = false;
    bool failPrepare = false;
    std::optional<std::string> failWrite; // the writer's message
    std::optional<std::string> storedPassword;
    std::uint8_t option = 1;
    std::uint32_t used = 141;
    bool touch = false;
    std::optional<std::uint16_t> plcId;

    std::vector<std::uint16_t> created;
    std::vector<std::filesystem::path> opened;
    std::vector<std::filesystem::path> written;
    int prepared = 0;
    int defaultNames = 0;
    std::vector<std::filesystem::path> downloadImages;
    int stamps = 0;
    std::tm lastStamp{};
    bool open_ = false;
    ApplicationFields fields;
    MemoryReport report;

    bool canCreate() const noexcept override { return creatable; }
    bool canOpen() const noexcept override { return openable; }
    bool canSave() const noexcept override { return savable; }
    bool isOpen() const noexcept override { return open_; }
    Status create(std::uint16_t modelId, Prompter&) override {
        created.push_back(modelId);
        if (failCreate) {
            return Status::fail("no memory");
        }
        open_ = true;
        return {};
    }
    Status open(const std::filesystem::path& file, PasswordPrompt& password, Prompter&) override {
        opened.push_back(file);
        if (!std::filesystem::exists(file)) {
            return Status::fail("missing");
        }
        if (storedPassword) {
            // As the reader does: ask until the entry matches or the user gives up.
            for (;;) {
                const auto typed = password.askPassword();
                if (!typed) {
                    return Status::fail("password");
                }
                if (*typed == *storedPassword) {
                    break;
                }
            }
        }
        open_ = true;
        return {};
    }
    void stampLastEdited(const std::tm& t) override {
        ++stamps;
        lastStamp = t;
    }
    Status prepareForWrite(Prompter&) override {
        ++prepared;
        return failPrepare ? Status::fail("prepare") : Status{};
    }
    Status write(const std::filesystem::path& file, Prompter&) override {
        if (failWrite) {
            return Status::fail(*failWrite);
        }
        written.push_back(file);
        return {};
    }
    Result<std::vector<std::uint8_t>> writeDownloadImage(const std::filesystem::path& folder,
                                                         Prompter&) override {
        downloadImages.push_back(folder);
        return std::vector<std::uint8_t>{1, 2, 3};
    }
    void assignDefaultNames(Prompter&) override { ++defaultNames; }
    void close() noexcept override { open_ = false; }
    std::uint16_t modelId() const noexcept override { return created.empty() ? 0 : created.back(); }
    std::uint8_t memoryOption() const noexcept override { return option; }
    std::uint32_t usedBytes() const noexcept override { return used; }
    bool hasTouchScreen() const noexcept override { return touch; }
    std::optional<std::uint16_t> firstPlcId() const override { return plcId; }
    ApplicationFields info() const override { return fields; }
    void setInfo(const ApplicationFields& f) override { fields = f; }
    MemoryReport memoryReport() const override { return report; }
};

class ScriptedFiles final : public FileChooser {
public:
    std::deque<std::optional<std::filesystem::path>> answers; // nothing left: cancelled
    std::vector<FileDialogRequest> requests;
    std::vector<bool> saves;

    std::optional<std::filesystem::path> chooseOpenFile(const FileDialogRequest& r) override {
        return next(r, false);
    }
    std::optional<std::filesystem::path> chooseSaveFile(const FileDialogRequest& r) override {
        return next(r, true);
    }

private:
    std::optional<std::filesystem::path> next(const FileDialogRequest& r, bool save) {
        requests.push_back(r);
        saves.push_back(save);
        if (answers.empty()) {
            return std::nullopt;
        }
        auto a = answers.front();
        answers.pop_front();
        return a;
    }
};

// Presses Ok on each scripted picker position in turn until one is accepted; Cancel when the script
// runs out.
class ScriptedModels final : public ModelChooser {
public:
    std::deque<std::uint8_t> positions;
    int runs = 0;

    bool chooseModel(const Accept& accept) override {
        ++runs;
        while (!positions.empty()) {
            const std::uint8_t p = positions.front();
            positions.pop_front();
            if (accept(p)) {
                return true;
            }
        }
        return false;
    }
};

// Answers with each scripted entry in turn; Cancel when the script runs out.
class ScriptedPassword final : public PasswordPrompt {
public:
    std::deque<std::string> typed;
    int asked = 0;
    std::optional<std::string> askPassword() override {
        ++asked;
        if (typed.empty()) {
            return std::nullopt;
        }
        std::string entry = typed.front();
        typed.pop_front();
        return entry;
    }
};

// The print dialog answered from a script: a printer queue by name, a PDF file, or Cancel when neither
// is given.
class ScriptedPrinter final : public PrinterChooser {
public:
    QString pdfFile;
    QString queue;
    int fromPage = 0; // a page range chosen in the dialog when not 0
    int toPage = 0;
    int asked = 0;
    QString proposed; // the PDF file the dialog was asked to offer
    bool choose(QPrinter& printer, QWidget* /*parent*/, const QString& proposedFile) override {
        ++asked;
        proposed = proposedFile;
        if (!queue.isEmpty()) {
            printer.setOutputFormat(QPrinter::NativeFormat);
            printer.setPrinterName(queue);
            return true;
        }
        if (pdfFile.isEmpty()) {
            return false;
        }
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfFile);
        if (fromPage != 0) {
            printer.setPrintRange(QPrinter::PageRange);
            printer.setFromTo(fromPage, toPage);
        }
        return true;
    }
};

} // namespace quillon::gui::testing
