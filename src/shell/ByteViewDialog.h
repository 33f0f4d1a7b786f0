#pragma once

#include "ui/ShellDialog.h"

#include <filesystem>

class QListWidget;

namespace quillon::gui {

// "Bytes' values in Dec, Hex and ASCII": the bytes of the last download image and of the last upload
// image side by side, one line a byte with its position, decimal, hexadecimal and character, so that
// a transfer can be checked byte for byte.
class ByteViewDialog final : public ShellDialog {
    Q_OBJECT
public:
    // Images larger than this are no transfer images; only their first bytes are listed.
    static constexpr std::uintmax_t kMaxBytes = 4U * 1024U * 1024U;

    ByteViewDialog(QWidget* parent, const std::filesystem::path& downloadImage,
                   const std::filesystem::path& uploadImage);

    QListWidget* downloaded() const noexcept { return downloaded_; }
    QListWidget* uploaded() const noexcept { return uploaded_; }

private:
    QListWidget* downloaded_ = nullptr;
    QListWidget* uploaded_ = nullptr;
};

} // namespace quillon::gui
