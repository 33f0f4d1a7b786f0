#pragma once

#include "persist/LibraryPictureSource.h"
#include "persist/PictureLibrary.h"
#include "shell/DocumentService.h"

#include <filesystem>
#include <memory>

namespace quillon {
class Application;
}

namespace quillon::gui {

// The documents on the application model, the application-file reader and writer: a new application
// gets the unit's own node, the model's default global keys and the power-on task that shows screen 1;
// files are read whole and written through a work file that replaces the old one only when complete.
// The PLC catalog files rebuild and place the network's tags; the picture library in the working
// directory supplies and takes back the pictures of graphic models, and every write and read leaves its
// trace of tag codes ("DtoI.txt", "ItoD.txt") there.
class ModelDocumentService final : public DocumentService {
public:
    // catalogDirectory: the PLC catalog files ("../plc" beside the working directory at run time);
    // workingDirectory: the picture library and the traces of tag codes.
    ModelDocumentService(std::filesystem::path catalogDirectory,
                         const std::filesystem::path& workingDirectory);
    ~ModelDocumentService() override;

    bool canCreate() const noexcept override { return true; }
    bool canOpen() const noexcept override { return true; }
    bool canSave() const noexcept override { return true; }

    bool isOpen() const noexcept override { return application_ != nullptr; }
    Status create(std::uint16_t modelId, Prompter& prompter) override;
    Status open(const std::filesystem::path& file, PasswordPrompt& password, Prompter& prompter) override;
    void stampLastEdited(const std::tm& localTime) override;
    Status prepareForWrite(Prompter& prompter) override;
    Status write(const std::filesystem::path& file, Prompter& prompter) override;
    Result<std::vector<std::uint8_t>> writeDownloadImage(const std::filesystem::path& folder,
                                                         Prompter& prompter) override;
    void assignDefaultNames(Prompter& prompter) override;
    void close() noexcept override;

    std::uint16_t modelId() const noexcept override;
    std::uint8_t memoryOption() const noexcept override;
    std::uint32_t usedBytes() const noexcept override;
    bool hasTouchScreen() const noexcept override;
    std::optional<std::uint16_t> firstPlcId() const override;
    ApplicationFields info() const override;
    void setInfo(const ApplicationFields& info) override;
    MemoryReport memoryReport() const override;

    Application* application() noexcept override { return application_.get(); }
    const PictureSource* pictures() const noexcept override { return &pictureSource_; }
    const PictureLibrary* pictureLibrary() const noexcept override { return &pictures_; }

    const std::filesystem::path& catalogDirectory() const noexcept { return catalogDirectory_; }

private:
    std::filesystem::path catalogDirectory_;
    std::filesystem::path workingDirectory_;
    PictureLibrary pictures_;
    LibraryPictureSource pictureSource_;
    std::unique_ptr<Application> application_;
};

} // namespace quillon::gui
