#include "shell/ModelDocumentService.h"

#include "model/Application.h"
#include "model/Block.h"
#include "model/NewApplication.h"
#include "model/Node.h"
#include "model/Task.h"
#include "model/TextFormat.h"
#include "model/UnitSettings.h"
#include "persist/ApplicationReader.h"
#include "persist/ApplicationWriter.h"
#include "persist/AtomicFileWriter.h"
#include "persist/OvmLayout.h"
#include "persist/PrepareForWrite.h"
#include "plc/AreaFinder.h"
#include "plc/PlcCatalogFiles.h"

#include <fstream>
#include <system_error>

namespace quillon::gui {
namespace {

// The whole file, refused when it is larger than any application image can be.
Result<std::vector<std::uint8_t>> readWholeFile(const std::filesystem::path& file) {
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(file, ec);
    if (ec) {
        return Failure{formatText("Can not load %s", file.string().c_str()), 0};
    }
    if (size > ApplicationReader::kMaxFileBytes) {
        return Failure{formatText("Can not load %s", file.string().c_str()), 0};
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    std::ifstream in(file, std::ios::binary);
    if (!in || !in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()))) {
        return Failure{formatText("Can not load %s", file.string().c_str()), 0};
    }
    return bytes;
}

std::vector<ReadLine> linesOf(const ReadList& list) {
    std::vector<ReadLine> lines;
    for (const ReadList::Entry& entry : list.entries()) {
        if (entry.block == nullptr) {
            continue;
        }
        const Node* node = entry.block->node();
        lines.push_back(ReadLine{node != nullptr ? node->number() : std::uint8_t{0}, entry.block->address(),
                                 entry.users});
    }
    return lines;
}

} // namespace

ModelDocumentService::ModelDocumentService(std::filesystem::path catalogDirectory,
                                           const std::filesystem::path& workingDirectory)
    : catalogDirectory_(std::move(catalogDirectory)), workingDirectory_(workingDirectory),
      pictures_(workingDirectory), pictureSource_(workingDirectory) {}

ModelDocumentService::~ModelDocumentService() = default;

Status ModelDocumentService::create(std::uint16_t modelId, Prompter& prompter) {
    application_ = newApplication(modelId, prompter);
    if (!application_) {
        return Status::fail("Can't start new application.");
    }
    return {};
}

Status ModelDocumentService::open(const std::filesystem::path& file, PasswordPrompt& password,
                                  Prompter& prompter) {
    application_.reset();
    auto bytes = readWholeFile(file);
    if (!bytes) {
        return bytes.failure();
    }
    PlcCatalogFiles catalogs(catalogDirectory_, prompter);
    ReadContext context{catalogs, prompter, &pictures_, [&password] { return password.askPassword(); },
                        workingDirectory_};
    auto read = ApplicationReader::read(*bytes, context);
    if (!read) {
        return read.failure();
    }
    application_ = std::move(*read);
    return {};
}

void ModelDocumentService::stampLastEdited(const std::tm& t) {
    if (application_) {
        application_->info().lastEdited = CalendarTime{t.tm_sec,  t.tm_min,  t.tm_hour,
                                                       t.tm_mday, t.tm_mon,  t.tm_year + 1900,
                                                       t.tm_wday, t.tm_yday, t.tm_isdst > 0 ? 1 : 0};
    }
}

Status ModelDocumentService::prepareForWrite(Prompter& prompter) {
    if (!application_) {
        return Status::fail("No application is open.");
    }
    return quillon::prepareForWrite(*application_, &pictures_, prompter);
}

Status ModelDocumentService::write(const std::filesystem::path& file, Prompter& prompter) {
    if (!application_) {
        return Status::fail("No application is open.");
    }
    PlcCatalogFiles catalogs(catalogDirectory_, prompter);
    const WriteContext context{catalogs, prompter, &pictures_, workingDirectory_};
    auto bytes = ApplicationWriter::write(*application_, context);
    if (!bytes) {
        return bytes.failure();
    }
    if (Status written = AtomicFileWriter::writeFile(file, *bytes, context.fileSystem); !written) {
        return written;
    }
    // The document now holds where the extension section of its file begins, as a reopen would.
    std::uint32_t extension = 0;
    for (std::size_t i = 0; i < 4 && OvmLayout::kExtensionPatchOffset + i < bytes->size(); ++i) {
        extension |= static_cast<std::uint32_t>((*bytes)[OvmLayout::kExtensionPatchOffset + i]) << (8 * i);
    }
    application_->unitSettings().extensionOffset = extension;
    return {};
}

Result<std::vector<std::uint8_t>>
ModelDocumentService::writeDownloadImage(const std::filesystem::path& folder, Prompter& prompter) {
    if (!application_) {
        return Failure{"No application is open.", 0};
    }
    PlcCatalogFiles catalogs(catalogDirectory_, prompter);
    const WriteContext context{catalogs, prompter, &pictures_, workingDirectory_};
    auto bytes = ApplicationWriter::write(*application_, context);
    if (!bytes) {
        if (!bytes.message().empty()) {
            prompter.error(bytes.message());
        }
        return bytes;
    }
    const std::filesystem::path image = folder / std::string(ApplicationWriter::kDownloadImage);
    if (Status written = AtomicFileWriter::writeFile(image, *bytes, context.fileSystem); !written) {
        prompter.error(written.message());
        return written.failure();
    }
    return bytes;
}

void ModelDocumentService::assignDefaultNames(Prompter& prompter) {
    if (!application_) {
        return;
    }
    PlcCatalogFiles catalogs(catalogDirectory_, prompter);
    application_->assignDefaultNames([&](const Node& node, std::string_view address) {
        const auto match = AreaFinder::find(catalogs.areasOfModel(node.plcFile, node.modelIndex), address,
                                            LookupFor::Block, prompter);
        return match ? match->prefix : std::string();
    });
}

void ModelDocumentService::close() noexcept {
    application_.reset();
}

std::uint16_t ModelDocumentService::modelId() const noexcept {
    return application_ ? application_->modelId() : 0;
}

std::uint8_t ModelDocumentService::memoryOption() const noexcept {
    return application_ ? application_->unitSettings().memoryOption : 0;
}

std::uint32_t ModelDocumentService::usedBytes() const noexcept {
    return application_ ? application_->totals().applicationSize : 0;
}

bool ModelDocumentService::hasTouchScreen() const noexcept {
    return application_ && application_->unitSettings().touchScreen != 0;
}

std::optional<std::uint16_t> ModelDocumentService::firstPlcId() const {
    if (!application_) {
        return std::nullopt;
    }
    for (const auto& node : application_->nodes()) {
        if (node->kind() != NodeKind::Unit) {
            return node->plcId;
        }
    }
    return std::nullopt;
}

ApplicationFields ModelDocumentService::info() const {
    ApplicationFields fields;
    if (!application_) {
        return fields;
    }
    const ApplicationInfo& info = application_->info();
    fields.title = info.title;
    fields.author = info.author;
    fields.description = info.description;
    fields.password = application_->password();
    const CalendarTime& t = info.lastEdited;
    fields.lastEdited.tm_sec = t.second;
    fields.lastEdited.tm_min = t.minute;
    fields.lastEdited.tm_hour = t.hour;
    fields.lastEdited.tm_mday = t.day;
    fields.lastEdited.tm_mon = t.month;
    fields.lastEdited.tm_year = t.year - 1900;
    fields.lastEdited.tm_wday = t.weekday;
    fields.lastEdited.tm_yday = t.dayOfYear;
    fields.lastEdited.tm_isdst = t.daylight;
    return fields;
}

void ModelDocumentService::setInfo(const ApplicationFields& fields) {
    if (!application_) {
        return;
    }
    ApplicationInfo& info = application_->info();
    info.title = fields.title.substr(0, ApplicationInfo::kMaxTitleLength);
    info.author = fields.author.substr(0, ApplicationInfo::kMaxAuthorLength);
    info.description = fields.description.substr(0, ApplicationInfo::kMaxDescriptionLength);
    (void)application_->setPassword(fields.password.substr(0, Application::kPasswordLength));
}

MemoryReport ModelDocumentService::memoryReport() const {
    MemoryReport report;
    if (!application_) {
        return report;
    }
    const Application& app = *application_;
    const MemoryTotals& totals = app.totals();
    report.capacity = memoryCapacity(app.unitSettings().memoryOption);
    report.used = totals.applicationSize;
    report.nodes = {static_cast<std::uint32_t>(app.nodeCount()), totals.networkBytes};
    report.blocks = {app.globalReadBlocks(), totals.globalReadListBytes};
    report.screens = {static_cast<std::uint32_t>(app.screenCount()), totals.screenBytes};
    report.keys = {static_cast<std::uint32_t>(app.globalKeyCount()), totals.globalKeyBytes};
    report.alarms = {static_cast<std::uint32_t>(app.alarmTextCount()), totals.alarmBytes};
    report.powerOnTasks = {static_cast<std::uint32_t>(app.powerOnTaskCount()), totals.powerOnBytes};
    report.globalTasks = {static_cast<std::uint32_t>(app.globalTaskCount()), totals.globalTaskBytes};
    report.loggerBytes = totals.loggerBytes;
    report.globalReadList = linesOf(app.globalReadList());
    report.loadedReadList = linesOf(application_->loadedReadList());
    report.globalTagTableSize = totals.tagBytes;
    return report;
}

} // namespace quillon::gui
