#pragma once

#include "edit/screen/BitmapChoice.h"
#include "model/CanvasGeometry.h"
#include "persist/PictureLibrary.h"
#include "ui/ShellDialog.h"

#include <cstdint>
#include <filesystem>

class QLabel;
class QPushButton;
class QScrollBar;

namespace quillon {
class Prompter;
}

namespace quillon::gui {

class BitmapPictureView;
class FileChooser;

// What the Bitmap tool asks of the library dialog.
struct BitmapLibraryRequest {
    BitmapChoice::Mode mode = BitmapChoice::Mode::Add;
    std::uint8_t displayClass = 0;
    // Where the object is to start (the click, or the changed object's top-left corner).
    UnitPoint clicked;
    // The picture shown first (the changed object's picture).
    std::uint32_t current = 0;
};

// `BITMAP_LIB`: the pictures of the picture library one at a time, chosen with the scroll bar beside them;
// pictures added from bitmap files (and PNG or JPEG pictures, converted by the same rules), deleted when no
// object shows them, and one chosen for a new or an existing Bitmap object.
class BitmapLibraryDialog final : public ShellDialog {
    Q_OBJECT
public:
    BitmapLibraryDialog(QWidget* parent, const PictureLibrary& library, FileChooser& files,
                        Prompter& prompter, PictureUsedPredicate isUsed, PictureRemovedCallback removed,
                        BitmapLibraryRequest request);

    std::uint32_t count() const noexcept { return count_; }
    std::uint32_t selected() const;
    void select(std::uint32_t picture);

    // After OK: the picture chosen and where the object goes.
    std::uint32_t chosenPicture() const noexcept { return chosen_; }
    UnitRect chosenRect() const noexcept { return rect_; }
    // Whether a picture was deleted (the application's Bitmap objects may have been renumbered).
    bool deletedAny() const noexcept { return deleted_; }

    BitmapPictureView* view() const noexcept { return view_; }

    void addNew();
    void deleteSelected();
    void choose();

    // Adds a picture file: Windows bitmaps by the import rules, PNG and JPEG through the image readers.
    bool addFile(const std::filesystem::path& file);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool moveSelection(int key);
    void reload();
    void showSelected();

    const PictureLibrary& library_;
    FileChooser& files_;
    Prompter& prompter_;
    PictureUsedPredicate isUsed_;
    PictureRemovedCallback removed_;
    BitmapLibraryRequest request_;
    std::uint32_t count_ = 0;
    std::uint32_t chosen_ = 0;
    UnitRect rect_;
    bool deleted_ = false;

    BitmapPictureView* view_ = nullptr;
    QScrollBar* scroll_ = nullptr;
    QWidget* area_ = nullptr;
    QLabel* size_ = nullptr;
    QLabel* dimension_ = nullptr;
    QPushButton* delete_ = nullptr;
    QPushButton* choose_ = nullptr;
};

} // namespace quillon::gui
