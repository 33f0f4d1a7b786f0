#pragma once

#include "model/Prompter.h"
#include "model/Result.h"

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {
class Application;
class PictureLibrary;
class PictureSource;
} // namespace quillon

namespace quillon::gui {

// The four texts of the application information dialog and the time of the last save.
struct ApplicationFields {
    std::string title;       // up to 50 characters
    std::string author;      // up to 50 characters
    std::string description; // up to 500 characters
    std::string password;    // up to 8 characters; the reader asks for it before it loads the file
    std::tm lastEdited{};    // month 0..11, full year minus 1900, as the system's broken-down time gives it
};

// One line of a read list: a block the unit reads and how many users need it.
struct ReadLine {
    std::uint8_t nodeNumber = 0;
    std::string blockAddress;
    std::uint32_t users = 0;
};

// A count and the bytes those records take in the application image.
struct MemoryRow {
    std::uint32_t count = 0;
    std::uint32_t bytes = 0;
};

// Everything the memory configuration dialog reports.
struct MemoryReport {
    std::uint32_t capacity = 0;
    std::uint32_t used = 0;
    MemoryRow nodes;
    MemoryRow blocks; // blocks to be read
    MemoryRow screens;
    MemoryRow keys;
    MemoryRow alarms;
    MemoryRow powerOnTasks;
    MemoryRow globalTasks;
    std::uint32_t loggerBytes = 0;
    std::vector<ReadLine> globalReadList;
    std::vector<ReadLine> loadedReadList; // the global read list as the last file held it
    std::uint32_t globalTagTableSize = 0;
};

// Asked by the reader when a file carries a password: the text the user typed, or nothing when the user
// gave up. The reader compares it with the stored password, says "Incorrect Password." and asks again.
class PasswordPrompt {
public:
    PasswordPrompt() = default;
    PasswordPrompt(const PasswordPrompt&) = delete;
    PasswordPrompt& operator=(const PasswordPrompt&) = delete;
    virtual ~PasswordPrompt() = default;
    virtual std::optional<std::string> askPassword() = 0;
};

// The one open application as the shell sees it. The model, the writer and the reader plug in behind
// this; each capability the build lacks is reported so that its commands stay disabled.
class DocumentService {
public:
    DocumentService() = default;
    DocumentService(const DocumentService&) = delete;
    DocumentService& operator=(const DocumentService&) = delete;
    virtual ~DocumentService() = default;

    virtual bool canCreate() const noexcept = 0;
    virtual bool canOpen() const noexcept = 0;
    virtual bool canSave() const noexcept = 0;

    virtual bool isOpen() const noexcept = 0;
    // A new application for the model, with the unit's own node, the model's default global keys and
    // the power-on task that shows screen 1. Messages about single records that could not be made go
    // through the prompter and creation goes on; a failure means no application is open.
    virtual Status create(std::uint16_t modelId, Prompter& prompter) = 0;
    // Reads an application file or transfer image. On failure nothing stays open.
    virtual Status open(const std::filesystem::path& file, PasswordPrompt& password, Prompter& prompter) = 0;
    // Stamps the time of the save into the application.
    virtual void stampLastEdited(const std::tm& localTime) = 0;
    // Checks and completes the application for writing (names, read lists, pictures); shows its own
    // messages through the prompter.
    virtual Status prepareForWrite(Prompter& prompter) = 0;
    // Writes the application image; the old file stays intact unless the whole new one was written.
    virtual Status write(const std::filesystem::path& file, Prompter& prompter) = 0;
    // Download: writes the prepared application as the transfer image "dnld_ovm.ovz" into the folder,
    // exactly as a save writes a file; returns the bytes to send. The cause of a failure is shown; the
    // download command follows it with its own message.
    virtual Result<std::vector<std::uint8_t>> writeDownloadImage(const std::filesystem::path& folder,
                                                                 Prompter& prompter) = 0;
    // An application read from the unit carries no names: default ones are given to nodes, blocks, tags
    // and screens.
    virtual void assignDefaultNames(Prompter& prompter) = 0;
    // Destroys the application with everything it holds.
    virtual void close() noexcept = 0;

    virtual std::uint16_t modelId() const noexcept = 0;
    virtual std::uint8_t memoryOption() const noexcept = 0;
    virtual std::uint32_t usedBytes() const noexcept = 0;
    virtual bool hasTouchScreen() const noexcept = 0;
    // The PLC id of the first PLC node of the network (nodes in address order, the unit's own skipped).
    virtual std::optional<std::uint16_t> firstPlcId() const = 0;
    virtual ApplicationFields info() const = 0;
    virtual void setInfo(const ApplicationFields& info) = 0;
    virtual MemoryReport memoryReport() const = 0;

    // The open application's model for the editors that work on it directly (the screen editor); nothing
    // when no application is open or the service keeps no model.
    virtual Application* application() noexcept { return nullptr; }
    // Where Bitmap objects find their pictures; nothing when the service has no picture library.
    virtual const PictureSource* pictures() const noexcept { return nullptr; }
    // The picture library itself, where pictures are added and deleted; nothing when the service has none.
    virtual const PictureLibrary* pictureLibrary() const noexcept { return nullptr; }
};

} // namespace quillon::gui
