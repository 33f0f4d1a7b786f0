#include "shell/ByteViewDialog.h"

#include "comm/TransferProtocol.h"
#include "comm/TransferTexts.h"

#include <algorithm>
#include <fstream>
#include <vector>

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>

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

QListWidget* makeList(QWidget* parent, const char* name, const std::filesystem::path& file) {
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    list->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    list->setUniformItemSizes(true);
    for (const std::string& line : protocol::byteViewLines(readImage(file))) {
        list->addItem(QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size())));
    }
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
    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(tr("Downloaded"), this), 0, 0);
    layout->addWidget(new QLabel(tr("Uploaded"), this), 0, 1);
    layout->addWidget(downloaded_, 1, 0);
    layout->addWidget(uploaded_, 1, 1);
    layout->addWidget(buttons, 2, 0, 1, 2);
    resize(760, 520);
}

} // namespace quillon::gui
