#include "shell/ModelDocumentService.h"

#include "model/Application.h"
#include "model/Block.h"
#include "model/Node.h"
#include "model/Task.h"
#include "model/UnitSettings.h"
#include "model/NewApplication.h"

namespace quillon::gui {
namespace {

constexpr const char* kNoFiles = "Application files can not be read or written by this build of Quillon.";

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

ModelDocumentService::ModelDocumentService() = default;
ModelDocumentService::~ModelDocumentService() = default;

Status ModelDocumentService::create(std::uint16_t modelId, Prompter& prompter) {
    application_ = newApplication(modelId, prompter);
    if (!application_) {
        return Status::fail("Can't start new application.");
    }
    return {};
}

Status ModelDocumentService::open(const std::filesystem::path&, PasswordPrompt&, Prompter&) {
    return Status::fail(kNoFiles);
}

void ModelDocumentService::stampLastEdited(const std::tm& t) {
    if (application_) {
        application_->info().lastEdited = CalendarTime{t.tm_sec,  t.tm_min,  t.tm_hour,
                                                       t.tm_mday, t.tm_mon,  t.tm_year + 1900,
                                                       t.tm_wday, t.tm_yday, t.tm_isdst > 0 ? 1 : 0};
    }
}

Status ModelDocumentService::prepareForWrite(Prompter&) {
    return Status::fail(kNoFiles);
}

Status ModelDocumentService::write(const std::filesystem::path&) {
    return Status::fail(kNoFiles);
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
    report.screens = {0, totals.screenBytes};
    report.keys = {static_cast<std::uint32_t>(app.globalKeyCount()), totals.globalKeyBytes};
    report.alarms = {0, totals.alarmBytes};
    report.powerOnTasks = {static_cast<std::uint32_t>(app.powerOnTaskCount()), totals.powerOnBytes};
    report.globalTasks = {static_cast<std::uint32_t>(app.globalTaskCount()), totals.globalTaskBytes};
    report.loggerBytes = totals.loggerBytes;
    report.globalReadList = linesOf(app.globalReadList());
    report.loadedReadList = linesOf(application_->loadedReadList());
    report.globalTagTableSize = totals.tagBytes;
    return report;
}

} // namespace quillon::gui
