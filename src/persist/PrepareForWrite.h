#pragma once

#include "model/Prompter.h"
#include "model/Result.h"

#include <cstdint>

namespace quillon {

class Application;
class PictureLibrary;
class ScreenObject;

// Brings the application into the form the writer emits, before every save and download: every tag named,
// the picture data recounted from the library (whose used flags are set from the bitmaps), hold-bit tasks
// expanded into the Press and Released lists, the read limit checked on every screen, indices renumbered.
// On character models object coordinates are snapped to the cells the unit uses, and every screen's
// data-entry objects are moved ahead of the others: the document then holds exactly what reopening the
// file gives. Every refusal is shown through the prompter; nothing is written after a failure.
Status prepareForWrite(Application& application, const PictureLibrary* pictures, Prompter& prompter);

// The character-cell snapping of one coordinate pair (left/right by 12-pixel columns, top/bottom by
// 16-pixel rows): only the ranges the unit's cell grid cannot show are moved.
std::int32_t snapLeft(std::int32_t left) noexcept;
std::int32_t snapTop(std::int32_t top) noexcept;
void snapToCells(ScreenObject& object) noexcept;

} // namespace quillon
