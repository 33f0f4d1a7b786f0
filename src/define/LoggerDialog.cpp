#include "define/LoggerDialog.h"

#include "define/EmbedRegisterDialog.h"
#include "define/OptimizedLoggerTagsDialog.h"
#include "define/TextOf.h"
#include "edit/TagFilter.h"
#include "model/Application.h"
#include "ui/NumericEntry.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quillon::gui {

LoggerDialog::LoggerDialog(QWidget* parent, const TaskEditorContext& context)
    : ShellDialog(parent, 0), context_(context), editor_(*context.application) {
    setObjectName("LoggerDialog");
    setWindowTitle(QStringLiteral("Quillon : Logger"));
    const LoggerSettings& f = editor_.fields();

    memory_ = new QComboBox(this);
    memory_->setObjectName("memorySize");
    for (std::string_view size : LoggerEditor::kMemorySizes) {
        memory_->addItem(textOf(size));
    }
    memory_->setCurrentIndex(std::min<int>(f.memorySize, 3));
    auto* memoryLabel = new QLabel(QStringLiteral("Log &Memory Size"), this);
    memoryLabel->setBuddy(memory_);

    frequency_ = new QLineEdit(QString::number(f.frequency), this);
    frequency_->setObjectName("frequency");
    frequency_->setMaxLength(3);
    new NumericEntry(frequency_, NumericEntry::Kind::Decimal, QStringLiteral("1"), QStringLiteral("255"));
    frequency_->installEventFilter(this);
    auto* frequencyLabel = new QLabel(QStringLiteral("&Frequency"), this);
    frequencyLabel->setBuddy(frequency_);
    auto* frequencyRange = new QLabel(QStringLiteral("[ 1 - 255 ] "), this);

    auto* unitBox = new QGroupBox(this);
    auto* unitLayout = new QHBoxLayout(unitBox);
    units_ = new QButtonGroup(this);
    int id = 0;
    for (const char* text : {"Se&conds", "Mi&nutes", "&Hours"}) {
        auto* radio = new QRadioButton(QString::fromLatin1(text), unitBox);
        units_->addButton(radio, id++);
        unitLayout->addWidget(radio);
    }
    if (QAbstractButton* b = units_->button(std::min<int>(f.frequencyUnit, 2))) {
        b->setChecked(true);
    }

    auto* fullBox = new QGroupBox(QStringLiteral("When the log memory is full"), this);
    auto* fullLayout = new QVBoxLayout(fullBox);
    whenFull_ = new QButtonGroup(this);
    id = 0;
    for (const char* text : {"Sto&p Logging", "F&IFO ( To add recent data remove data at the start )"}) {
        auto* radio = new QRadioButton(QString::fromLatin1(text), fullBox);
        whenFull_->addButton(radio, id++);
        fullLayout->addWidget(radio);
    }
    whenFull_->button(f.whenFull != 0 ? 1 : 0)->setChecked(true);

    powerUp_ = new QCheckBox(QStringLiteral("&Start Logging at Power-up"), this);
    powerUp_->setChecked(f.startAtPowerUp != 0);
    startTime_ = new QCheckBox(QStringLiteral("Logger S&tart Time"), this);
    startTime_->setChecked(f.useStartTime != 0);
    stopTime_ = new QCheckBox(QStringLiteral("Logger St&op Time"), this);
    stopTime_->setChecked(f.useStopTime != 0);

    defined_ = new QListWidget(this);
    defined_->setObjectName("definedTags");
    auto* definedLabel = new QLabel(QStringLiteral("&Defined Tags"), this);
    definedLabel->setBuddy(defined_);
    logged_ = new QListWidget(this);
    logged_->setObjectName("loggedTags");
    logged_->installEventFilter(this);
    auto* loggedLabel = new QLabel(QStringLiteral("Tags to be &logged"), this);
    loggedLabel->setBuddy(logged_);
    add_ = new QPushButton(QStringLiteral("<- &Add"), this);
    delete_ = new QPushButton(QStringLiteral("D&elete"), this);
    delete_->setObjectName("deleteLogged");
    auto* up = new QPushButton(QStringLiteral("Move &Up"), this);
    auto* down = new QPushButton(QStringLiteral("Move Do&wn"), this);

    header_ = new QLineEdit(this);
    header_->setObjectName("pageHeader");
    header_->setMaxLength(static_cast<int>(PageHeader::kMaxLength));
    header_->installEventFilter(this);
    auto* headerLabel = new QLabel(QStringLiteral("Page Heade&r"), this);
    headerLabel->setBuddy(header_);
    auto* time = new QPushButton(QStringLiteral("Embed Time"), this);
    auto* date = new QPushButton(QStringLiteral("Embed Date"), this);
    auto* reg = new QPushButton(QStringLiteral("Embed / Edit Register"), this);

    separator_ = new QComboBox(this);
    separator_->setObjectName("separator");
    separator_->setEditable(true);
    for (const std::string& choice : LoggerEditor::separatorChoices()) {
        separator_->addItem(QString::fromStdString(choice));
    }
    separator_->setCurrentText(QString::fromStdString(LoggerEditor::separatorChoice(f.separator)));
    auto* separatorLabel = new QLabel(QStringLiteral("Ta&gs Separator"), this);
    separatorLabel->setBuddy(separator_);

    auto* database = new QPushButton(QStringLiteral("Tag data&base..."), this);
    database->setObjectName("tagDatabase");
    database->setEnabled(context_.tagDatabaseAvailable && context_.tagDatabaseAvailable());
    auto* optimized = new QPushButton(QStringLiteral("Optimi&zed Tags..."), this);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* close = buttons->addButton(QStringLiteral("Close"), QDialogButtonBox::AcceptRole);
    close->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &LoggerDialog::accept);

    auto* grid = new QGridLayout;
    grid->addWidget(memoryLabel, 0, 0);
    grid->addWidget(memory_, 0, 1);
    grid->addWidget(frequencyLabel, 1, 0);
    auto* frequencyRow = new QHBoxLayout;
    frequencyRow->addWidget(frequency_);
    frequencyRow->addWidget(frequencyRange);
    frequencyRow->addWidget(unitBox);
    grid->addLayout(frequencyRow, 1, 1, 1, 3);
    grid->addWidget(fullBox, 2, 0, 1, 2);
    auto* flags = new QVBoxLayout;
    flags->addWidget(powerUp_);
    flags->addWidget(startTime_);
    flags->addWidget(stopTime_);
    grid->addLayout(flags, 2, 2, 1, 2);

    auto* lists = new QGridLayout;
    lists->addWidget(loggedLabel, 0, 0);
    lists->addWidget(definedLabel, 0, 2);
    lists->addWidget(logged_, 1, 0);
    auto* middle = new QVBoxLayout;
    middle->addWidget(add_);
    middle->addWidget(delete_);
    middle->addWidget(up);
    middle->addWidget(down);
    middle->addStretch();
    lists->addLayout(middle, 1, 1);
    lists->addWidget(defined_, 1, 2);

    auto* headerRow = new QHBoxLayout;
    headerRow->addWidget(headerLabel);
    headerRow->addWidget(header_, 1);
    auto* embedRow = new QHBoxLayout;
    embedRow->addWidget(time);
    embedRow->addWidget(date);
    embedRow->addWidget(reg);
    embedRow->addStretch();
    embedRow->addWidget(separatorLabel);
    embedRow->addWidget(separator_);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(database);
    bottom->addWidget(optimized);
    bottom->addStretch();
    bottom->addWidget(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(lists, 1);
    layout->addLayout(headerRow);
    layout->addLayout(embedRow);
    layout->addLayout(bottom);

    setTabOrder(memory_, frequency_);
    setTabOrder(frequency_, units_->button(0));
    setTabOrder(units_->button(0), units_->button(1));
    setTabOrder(units_->button(1), units_->button(2));
    setTabOrder(units_->button(2), whenFull_->button(0));
    setTabOrder(whenFull_->button(0), whenFull_->button(1));
    setTabOrder(whenFull_->button(1), powerUp_);
    setTabOrder(powerUp_, startTime_);
    setTabOrder(startTime_, stopTime_);
    setTabOrder(stopTime_, logged_);
    setTabOrder(logged_, add_);
    setTabOrder(add_, delete_);
    setTabOrder(delete_, up);
    setTabOrder(up, down);
    setTabOrder(down, defined_);
    setTabOrder(defined_, header_);
    setTabOrder(header_, time);
    setTabOrder(time, date);
    setTabOrder(date, reg);
    setTabOrder(reg, separator_);
    setTabOrder(separator_, database);
    setTabOrder(database, optimized);
    setTabOrder(optimized, close);

    connect(defined_, &QListWidget::currentRowChanged, this, [this](int row) { add_->setEnabled(row >= 0); });
    connect(defined_, &QListWidget::itemActivated, this, [this] { addTag(); });
    connect(add_, &QPushButton::clicked, this, &LoggerDialog::addTag);
    connect(delete_, &QPushButton::clicked, this, &LoggerDialog::deleteTag);
    connect(logged_, &QListWidget::currentRowChanged, this,
            [this](int row) { delete_->setEnabled(row >= 0); });
    connect(up, &QPushButton::clicked, this, [this] { moveTag(true); });
    connect(down, &QPushButton::clicked, this, [this] { moveTag(false); });
    connect(header_, &QLineEdit::textEdited, this, [this](const QString& text) {
        const int cursor = header_->cursorPosition();
        editor_.setHeader(text.toLatin1().toStdString());
        showHeader(cursor);
    });
    connect(time, &QPushButton::clicked, this, [this] {
        if (editor_.embedTime()) {
            showHeader(-1);
        } else if (context_.prompter != nullptr) {
            context_.prompter->error(PageHeader::kTooLong);
        }
    });
    connect(date, &QPushButton::clicked, this, [this] {
        if (editor_.embedDate()) {
            showHeader(-1);
        } else if (context_.prompter != nullptr) {
            context_.prompter->error(PageHeader::kTooLong);
        }
    });
    connect(reg, &QPushButton::clicked, this, &LoggerDialog::embedRegister);
    connect(database, &QPushButton::clicked, this, &LoggerDialog::openTagDatabase);
    connect(optimized, &QPushButton::clicked, this, &LoggerDialog::showOptimized);

    fillDefined();
    fillLogged();
    showHeader(-1);
    memory_->setFocus();
}

void LoggerDialog::fillDefined() {
    definedTags_ = editor_.definedTags();
    defined_->clear();
    for (const Tag* tag : definedTags_) {
        defined_->addItem(QString::fromStdString(tagChoiceLine(*tag)));
    }
    defined_->setCurrentRow(-1);
    add_->setEnabled(false);
}

void LoggerDialog::fillLogged(int select) {
    logged_->clear();
    for (const std::string& line : editor_.loggedLines()) {
        logged_->addItem(QString::fromStdString(line));
    }
    if (select >= 0 && select < logged_->count()) {
        logged_->setCurrentRow(select);
    }
    delete_->setEnabled(logged_->currentRow() >= 0);
}

void LoggerDialog::showHeader(int cursor) {
    header_->setText(
        QString::fromLatin1(editor_.header().data(), static_cast<qsizetype>(editor_.header().size())));
    header_->setCursorPosition(cursor < 0 ? header_->text().size()
                                          : std::min<int>(cursor, header_->text().size()));
}

void LoggerDialog::addTag() {
    const int row = defined_->currentRow();
    if (row < 0 || row >= static_cast<int>(definedTags_.size())) {
        return;
    }
    const Status added = editor_.addTag(*definedTags_[static_cast<std::size_t>(row)]);
    if (!added && context_.prompter != nullptr) {
        context_.prompter->error(added.message());
    }
    fillLogged(static_cast<int>(editor_.loggedTags().size()) - 1);
    // A tag is added once per choice.
    add_->setEnabled(false);
}

void LoggerDialog::deleteTag() {
    const int row = logged_->currentRow();
    if (row < 0 || context_.prompter == nullptr) {
        return;
    }
    if (editor_.removeTag(static_cast<std::size_t>(row), *context_.prompter)) {
        fillLogged(std::min(row, static_cast<int>(editor_.loggedTags().size()) - 1));
    }
    logged_->setFocus();
}

void LoggerDialog::moveTag(bool up) {
    const int row = logged_->currentRow();
    if (row >= 0 && editor_.moveTag(static_cast<std::size_t>(row), up)) {
        fillLogged(up ? row - 1 : row + 1);
    }
}

void LoggerDialog::embedRegister() {
    EmbedRegisterDialog dialog(this, context_, editor_.headerRegisters(), editor_.headerRegister());
    if (context_.run(dialog) != QDialog::Accepted) {
        return;
    }
    const Status embedded = editor_.embedRegister(dialog.chosen());
    if (!embedded && context_.prompter != nullptr) {
        context_.prompter->error(embedded.message());
    }
    showHeader(-1);
}

void LoggerDialog::showOptimized() {
    OptimizedLoggerTagsDialog dialog(this, editor_.optimizedLines());
    context_.run(dialog);
}

void LoggerDialog::openTagDatabase() {
    if (!context_.openTagDatabase) {
        return;
    }
    context_.openTagDatabase();
    fillDefined();
    fillLogged();
}

bool LoggerDialog::headerKey(int key, const QString& text) {
    if (text == QStringLiteral("#")) {
        return true; // the register field is embedded with its button
    }
    if (key == Qt::Key_Backspace) {
        // Left, then Delete.
        if (header_->hasSelectedText() || header_->cursorPosition() == 0) {
            return header_->cursorPosition() == 0;
        }
        header_->cursorBackward(false);
        key = Qt::Key_Delete;
    }
    if (key == Qt::Key_Delete && !header_->hasSelectedText() && context_.prompter != nullptr) {
        const int position = header_->cursorPosition();
        const auto span = PageHeader::fieldAt(editor_.header(), static_cast<std::size_t>(position));
        if (editor_.deleteAt(static_cast<std::size_t>(position), *context_.prompter)) {
            showHeader(span ? static_cast<int>(span->start) : position);
        }
        return true;
    }
    return false;
}

bool LoggerDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == header_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (headerKey(key->key(), key->text())) {
            return true;
        }
    }
    if (watched == logged_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        deleteTag();
        return true;
    }
    if (watched == frequency_ && event->type() == QEvent::FocusOut) {
        frequency_->setText(
            QString::fromStdString(LoggerEditor::frequencyOnLeave(frequency_->text().toStdString())));
    }
    return ShellDialog::eventFilter(watched, event);
}

void LoggerDialog::store() {
    if (stored_) {
        return;
    }
    stored_ = true;
    LoggerSettings& f = editor_.fields();
    f.memorySize = static_cast<std::uint8_t>(std::max(0, memory_->currentIndex()));
    f.frequency = static_cast<std::uint8_t>(
        std::stoi(LoggerEditor::frequencyOnLeave(frequency_->text().toStdString())));
    f.frequencyUnit = static_cast<std::uint8_t>(std::max(0, units_->checkedId()));
    f.whenFull = static_cast<std::uint8_t>(std::max(0, whenFull_->checkedId()));
    f.startAtPowerUp = powerUp_->isChecked() ? 1 : 0;
    f.useStartTime = startTime_->isChecked() ? 1 : 0;
    f.useStopTime = stopTime_->isChecked() ? 1 : 0;
    f.separator = LoggerEditor::separatorOf(separator_->currentText().toLatin1().toStdString(), f.separator);
    editor_.store();
    if (context_.modified) {
        context_.modified();
    }
}

void LoggerDialog::accept() {
    store();
    ShellDialog::accept();
}

void LoggerDialog::reject() {
    // No Cancel: closing the dialog in any way keeps what was set.
    store();
    ShellDialog::reject();
}

} // namespace quillon::gui
