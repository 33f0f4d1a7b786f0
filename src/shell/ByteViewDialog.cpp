#include "shell/ByteViewDialog.h"

#include "comm/TransferProtocol.h"
#include "comm/TransferTexts.h"

#include <algorithm>
#include <fstream>
#include <vector>

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QLabel>
#include <QListWidget>
#include <QStyle>
#include <QVBoxLayout>

namespace quillon::gui {
namespace {

// At most kMaxBytes of the file; nothing when it cannot be read (a missing image lists no bytes).
std::vector<std::uint8_t> readImage(const std::filesystem::path& file) {
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(file, ec);
    if (ec) {
        return {};
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(std::min(size, ByteViewDialog::kMaxBytes)));
    std::ifstream in(file, std::ios::binary);
    if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()))) {
        return {};
    }
    return bytes;
}

// The character column as the screen shows it: a control byte (and a NUL, and DEL) is a dot, never a
// box of a glyph the font does not have.
QString shown(const std::string& line) {
    QString text = QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size()));
    if (!text.isEmpty()) {
        const QChar c = text.back();
        if (c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() < 0xA0)) {
            text.back() = QChar('.');
        }
    }
    return text;
}

QListWidget* makeList(QWidget* parent, const char* name, const std::filesystem::path& file) {
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    list->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    list->setUniformItemSizes(true);
    for (const std::string& line : protocol::byteViewLines(readImage(file))) {
        list->addItem(shown(line));
    }
    // Wide enough for every column of a line (position, decimal, hex and character) beside the scroll bar.
    const QString widest = QString("00000            000            00            W");
    list->setMinimumWidth(list->fontMetrics().horizontalAdvance(widest) + 2 * list->frameWidth() +
                          list->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 12);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return list;
}

} // namespace

ByteViewDialog::ByteViewDialog(QWidget* parent, const std::filesystem::path& downloadImage,
                               const std::filesystem::path& uploadImage)
    : ShellDialog(parent, 0) {
    setWindowTitle(QString::fromLatin1(transfer_text::kByteViewTitle.data(),
                                       static_cast<qsizetype>(transfer_text::kByteViewTitle.size())));
    setObjectName("ByteView");
    downloaded_ = makeList(this, "downloaded", downloadImage);
    uploaded_ = makeList(this, "uploaded", uploadImage);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // One above the other: side by side, the two would not fit the smallest main window with all their
    // columns.
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Downloaded"), this));
    layout->addWidget(downloaded_, 1);
    layout->addWidget(new QLabel(tr("Uploaded"), this));
    layout->addWidget(uploaded_, 1);
    layout->addWidget(buttons);
}

} // namespace quillon::gui
