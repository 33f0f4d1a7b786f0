#pragma once

#include "shell/DocumentService.h"

#include <memory>

namespace quillon {
class Application;
}

namespace quillon::gui {

// The documents on the application model: a new application gets the unit's own node, the model's
// default global keys and the power-on task that shows screen 1. Reading and writing application files
// join when the reader and the writer do; until then Open, Save and Save As stay disabled.
class ModelDocumentService final : public DocumentService {
public:
    ModelDocumentService();
    ~ModelDocumentService() override;

    bool canCreate() const noexcept override { return true; }
    bool canOpen() const noexcept override { return false; }
    bool canSave() const noexcept override { return false; }

    bool isOpen() const noexcept override { return application_ != nullptr; }
    Status create(std::uint16_t modelId, Prompter& prompter) override;
    Status open(const std::filesystem::path& file, PasswordPrompt& password, Prompter& prompter) override;
    void stampLastEdited(const std::tm& localTime) override;
    Status prepareForWrite(Prompter& prompter) override;
    Status write(const std::filesystem::path& file) override;
    void close() noexcept override;

    std::uint16_t modelId() const noexcept override;
    std::uint8_t memoryOption() const noexcept override;
    std::uint32_t usedBytes() const noexcept override;
    bool hasTouchScreen() const noexcept override;
    ApplicationFields info() const override;
    void setInfo(const ApplicationFields& info) override;
    MemoryReport memoryReport() const override;

    // The open application, for the editors that work on it in place.
    Application* application() noexcept { return application_.get(); }

private:
    std::unique_ptr<Application> application_;
};

} // namespace quillon::gui
