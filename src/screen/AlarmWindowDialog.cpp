#include "screen/AlarmWindowDialog.h"

#include "edit/screen/ObjectPlacement.h"
#include "edit/screen/ObjectProperties.h"
#include "model/AlarmWindowObject.h"
#include "screen/BargraphDialog.h"
#include "ui/NumericEntry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quillon::gui {

namespace {

const char* const kTypeNames[] = {"Number",  "Tag",    "Alarm Text",   "OnTime",
                                  "OffTime", "Active", "Acknowledged", "Print"};

bool isText(std::uint8_t type) {
    return type == AlarmWindowObject::kTag || type == AlarmWindowObject::kAlarmText;
}
bool isTime(std::uint8_t type) {
    return type == AlarmWindowObject::kOnTime || type == AlarmWindowObject::kOffTime;
}
bool isYesNo(std::uint8_t type) {
    return type >= AlarmWindowObject::kActive && type <= AlarmWindowObject::kPrint;
}

} // namespace

AlarmWindowDialog::AlarmWindowDialog(QWidget* parent, const AlarmWindowOptions& options,
                                     std::uint16_t modelId, std::uint8_t displayClass, std::uint8_t font,
                                     Prompter& prompter)
    : ShellDialog(parent, 0), options_(options), given_(options), modelId_(modelId),
      displayClass_(displayClass), font_(font), prompter_(prompter) {
    setWindowTitle(tr("Quillon : Alarm Window Options"));
    setObjectName("ALARMWIN");
    auto* which = new QComboBox(this);
    which->addItem(tr("All triggered alarms ( First triggered on top )"));
    separator_ = new QComboBox(this);
    separator_->setObjectName("separator");
    separator_->addItems({"0", "1", "2"});
    separator_->setCurrentIndex(std::min<int>(options_.secondWindowOption, 2));
    from_ = new QListWidget(this);
    from_->setObjectName("selectFrom");
    for (int type = 0; type <= AlarmWindowObject::kAcknowledged; ++type) {
        from_->addItem(QString::fromLatin1(kTypeNames[type]));
    }
    from_->setCurrentRow(0);
    selected_ = new QListWidget(this);
    selected_->setObjectName("selected");
    for (QListWidget* list : {from_, selected_}) {
        list->setMaximumHeight(150);
        list->setMaximumWidth(220);
    }
    auto* add = new QPushButton(tr("&Add"), this);
    auto* remove = new QPushButton(tr("D&elete"), this);
    auto* up = new QPushButton(tr("&Up"), this);
    auto* down = new QPushButton(tr("D&own"), this);
    for (QPushButton* button : {add, remove, up, down}) {
        button->setAutoDefault(false);
    }
    print_ = new QCheckBox(tr("&Print"), this);
    print_->setObjectName("print");
    header_ = new QLineEdit(this);
    header_->setObjectName("header");
    header_->setMaxLength(static_cast<int>(ObjectProperties::kMaxHeaderLength));
    length_ = new QLineEdit(this);
    length_->setObjectName("length");
    length_->setMaxLength(2);
    new NumericEntry(length_, NumericEntry::Kind::Decimal, "5", "55");
    longTime_ = new QRadioButton(QStringLiteral("HH:MM:SS"), this);
    shortTime_ = new QRadioButton(QStringLiteral("MM:SS"), this);
    auto* timeGroup = new QWidget(this);
    auto* timeRow = new QHBoxLayout(timeGroup);
    timeRow->setContentsMargins(0, 0, 0, 0);
    timeRow->addWidget(longTime_);
    timeRow->addWidget(shortTime_);
    shortYes_ = new QRadioButton(tr("Y / &N"), this);
    longYes_ = new QRadioButton(tr("&Yes / No"), this);
    auto* yesGroup = new QWidget(this);
    auto* yesRow = new QHBoxLayout(yesGroup);
    yesRow->setContentsMargins(0, 0, 0, 0);
    yesRow->addWidget(shortYes_);
    yesRow->addWidget(longYes_);

    auto* lists = new QGridLayout;
    auto* fromLabel = new QLabel(tr("Select &From"), this);
    fromLabel->setBuddy(from_);
    auto* selectedLabel = new QLabel(tr("Selec&ted"), this);
    selectedLabel->setBuddy(selected_);
    lists->addWidget(fromLabel, 0, 0);
    lists->addWidget(selectedLabel, 0, 2);
    lists->addWidget(from_, 1, 0);
    auto* middle = new QVBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{add, remove, up, down, print_}) {
        middle->addWidget(w);
    }
    lists->addLayout(middle, 1, 1);
    lists->addWidget(selected_, 1, 2);
    auto* column = new QFormLayout;
    auto* lengthLabel = new QLabel(tr("&Length"), this);
    lengthLabel->setBuddy(length_);
    column->addRow(tr("Header"), header_);
    column->addRow(lengthLabel, length_);
    column->addRow(tr("Format"), timeGroup);
    column->addRow(tr("Acti&ve / Ac&knowledged"), yesGroup);
    // The choice under its label, so that the dialog fits the smallest main window.
    auto* top = new QGridLayout;
    auto* whichLabel = new QLabel(tr("&Which and how to display the Alarms"), this);
    whichLabel->setBuddy(which);
    top->addWidget(whichLabel, 0, 0);
    top->addWidget(new QLabel(tr("Separator"), this), 0, 1);
    top->addWidget(which, 1, 0);
    top->addWidget(separator_, 1, 1);

    connect(add, &QPushButton::clicked, this, &AlarmWindowDialog::addColumn);
    connect(from_, &QListWidget::itemDoubleClicked, this, &AlarmWindowDialog::addColumn);
    connect(remove, &QPushButton::clicked, this, &AlarmWindowDialog::removeColumn);
    connect(up, &QPushButton::clicked, this, [this] { moveColumn(-1); });
    connect(down, &QPushButton::clicked, this, [this] { moveColumn(+1); });
    connect(selected_, &QListWidget::currentRowChanged, this, &AlarmWindowDialog::columnChosen);
    for (QLineEdit* field : {header_, length_}) {
        connect(field, &QLineEdit::textEdited, this, &AlarmWindowDialog::columnEdited);
    }
    for (QRadioButton* button : {longTime_, shortTime_, shortYes_, longYes_}) {
        connect(button, &QRadioButton::toggled, this, &AlarmWindowDialog::columnEdited);
    }
    print_->setChecked(std::any_of(options_.columns.begin(), options_.columns.end(),
                                   [](const AlarmColumn& c) { return c.type == AlarmWindowObject::kPrint; }));
    connect(print_, &QCheckBox::toggled, this, [this](bool on) {
        std::erase_if(options_.columns,
                      [](const AlarmColumn& c) { return c.type == AlarmWindowObject::kPrint; });
        if (on) {
            options_.columns.push_back(
                {AlarmWindowObject::kPrint,
                 std::string(ObjectPlacement::defaultAlarmHeader(AlarmWindowObject::kPrint)),
                 AlarmWindowObject::kShortYesNo});
        }
        showColumns(selected_->currentRow());
    });

    QDialogButtonBox* buttons = makeButtons(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &AlarmWindowDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(lists);
    layout->addLayout(column);
    layout->addWidget(buttons);
    showColumns(options_.columns.empty() ? -1 : 0);
}

void AlarmWindowDialog::showColumns(int current) {
    loading_ = true;
    selected_->clear();
    for (const AlarmColumn& column : options_.columns) {
        selected_->addItem(QString::fromLatin1(kTypeNames[std::min<int>(column.type, 7)]));
    }
    loading_ = false;
    selected_->setCurrentRow(std::min(current, selected_->count() - 1));
    columnChosen();
}

void AlarmWindowDialog::addColumn() {
    const int row = from_->currentRow();
    if (row < 0) {
        return;
    }
    const auto type = static_cast<std::uint8_t>(row);
    const PropertyVerdict verdict = ObjectProperties::checkAlarmColumn(type, modelId_);
    if (!verdict.ok) {
        showRefusal(prompter_, verdict, from_);
        return;
    }
    AlarmColumn column{type, std::string(ObjectPlacement::defaultAlarmHeader(type)), 0};
    if (isText(type)) {
        column.option = ObjectProperties::kMinTextColumnLength;
    }
    // The print column stays last.
    auto end = std::find_if(options_.columns.begin(), options_.columns.end(),
                            [](const AlarmColumn& c) { return c.type == AlarmWindowObject::kPrint; });
    const auto at = static_cast<int>(end - options_.columns.begin());
    options_.columns.insert(end, column);
    showColumns(at);
}

void AlarmWindowDialog::removeColumn() {
    const int row = selected_->currentRow();
    if (row < 0) {
        return;
    }
    if (options_.columns[static_cast<std::size_t>(row)].type == AlarmWindowObject::kPrint) {
        print_->setChecked(false);
        return;
    }
    options_.columns.erase(options_.columns.begin() + row);
    showColumns(row);
}

void AlarmWindowDialog::moveColumn(int by) {
    const int row = selected_->currentRow();
    const int to = row + by;
    if (row < 0 || to < 0 || to >= static_cast<int>(options_.columns.size())) {
        return;
    }
    std::swap(options_.columns[static_cast<std::size_t>(row)],
              options_.columns[static_cast<std::size_t>(to)]);
    showColumns(to);
}

void AlarmWindowDialog::columnChosen() {
    if (loading_) {
        return;
    }
    const int row = selected_->currentRow();
    const bool any = row >= 0 && row < static_cast<int>(options_.columns.size());
    const AlarmColumn column = any ? options_.columns[static_cast<std::size_t>(row)] : AlarmColumn{};
    loading_ = true;
    header_->setEnabled(any);
    header_->setText(any ? QString::fromStdString(column.header) : QString());
    length_->setEnabled(any && isText(column.type));
    length_->setText(any && isText(column.type) ? QString("%1").arg(column.option, 2, 10, QChar('0'))
                                                : QString());
    longTime_->setEnabled(any && isTime(column.type));
    shortTime_->setEnabled(any && isTime(column.type));
    (column.option == AlarmWindowObject::kMinutesFormat && isTime(column.type) ? shortTime_ : longTime_)
        ->setChecked(true);
    shortYes_->setEnabled(any && isYesNo(column.type));
    longYes_->setEnabled(any && isYesNo(column.type));
    (column.option == AlarmWindowObject::kLongYesNo && isYesNo(column.type) ? longYes_ : shortYes_)
        ->setChecked(true);
    loading_ = false;
}

void AlarmWindowDialog::columnEdited() {
    const int row = selected_->currentRow();
    if (loading_ || row < 0 || row >= static_cast<int>(options_.columns.size())) {
        return;
    }
    AlarmColumn& column = options_.columns[static_cast<std::size_t>(row)];
    column.header = header_->text().toStdString();
    if (isText(column.type)) {
        column.option = static_cast<std::uint8_t>(std::clamp<int>(length_->text().toInt(),
                                                                  ObjectProperties::kMinTextColumnLength,
                                                                  ObjectProperties::kMaxTextColumnLength));
    } else if (isTime(column.type)) {
        column.option =
            shortTime_->isChecked() ? AlarmWindowObject::kMinutesFormat : AlarmWindowObject::kHoursFormat;
    } else if (isYesNo(column.type)) {
        column.option =
            longYes_->isChecked() ? AlarmWindowObject::kLongYesNo : AlarmWindowObject::kShortYesNo;
    }
}

void AlarmWindowDialog::accept() {
    options_.secondWindowOption = static_cast<std::uint8_t>(separator_->currentIndex());
    // Options left as the window holds them are kept as they are; only a change must fit the screen.
    const PropertyVerdict verdict = options_ == given_
                                        ? PropertyVerdict::accept()
                                        : ObjectProperties::checkAlarmWidth(options_, displayClass_, font_);
    if (!verdict.ok) {
        showRefusal(prompter_, verdict, selected_);
        return;
    }
    QDialog::accept();
}

} // namespace quillon::gui
