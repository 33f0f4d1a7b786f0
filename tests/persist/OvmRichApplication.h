#pragma once

#include "OvmFixture.h"

namespace quillon::test {

// Adds screens with every object kind (with and without animations and filling), touch areas with tasks,
// screen tasks and keys, global keys with legends and hold-bit tasks, alarms and logger settings.
inline void addRichContent(OvmFixture& f, Application& app, const OvmFixture::Network& n) {
    const bool graphic = !isCharacterClass(modelClass(app.modelId()));
    const bool pictures = storesBitmaps(app.modelId());
    (void)app.setPassword(OvmFixture::kPassword);
    app.info().title = "Line 4";
    app.info().author = "Quillon tests";
    app.info().description = "Every record of the image.";
    app.unitSettings().touchScreen = 1;

    OvmFixture::appendTasks(app, app.applicationLists(), Application::kPowerOn, n);
    must(app.appendTask(app.applicationLists(), Application::kPowerOn,
                        OvmFixture::task(TaskKind::GotoScreen, 0, nullptr, nullptr, 1)));
    OvmFixture::appendTasks(app, app.applicationLists(), Application::kGlobal, n);
    // One task of every kind, and the Wait task that compares with a second tag.
    for (std::uint8_t kind = kFirstTaskKind; kind <= kLastTaskKind; ++kind) {
        must(app.appendTask(app.applicationLists(), Application::kGlobal,
                            OvmFixture::task(static_cast<TaskKind>(kind), 0, n.word, n.word2, 5)));
    }
    Task waitForTag;
    waitForTag.kind = TaskKind::Wait;
    waitForTag.tag1 = n.word;
    waitForTag.tag2 = n.dword;
    waitForTag.valueFormat = value_format::kWaitTag;
    must(app.appendTask(app.applicationLists(), Application::kGlobal, normalizeTask(waitForTag)));
    must(app.appendTask(app.applicationLists(), Application::kGlobal,
                        OvmFixture::task(TaskKind::Wait, 0, n.coil, nullptr, 1)));

    auto key1 = std::make_unique<KeyDefinition>(1);
    key1->interrupt = 1;
    key1->password = 1234;
    key1->legend = KeyLegend{KeyLegend::kText, "Start", "Pump", ""};
    KeyDefinition& k1 = *must(app.addGlobalKey(std::move(key1)));
    OvmFixture::appendTasks(app, k1, KeyDefinition::kPress, n);
    must(app.appendTask(k1, KeyDefinition::kPressed,
                        OvmFixture::task(TaskKind::Bit, bit_task::kHoldOn, n.coil)));
    auto key2 = std::make_unique<KeyDefinition>(static_cast<std::uint16_t>(2 + 256 * 3));
    key2->legend = KeyLegend{KeyLegend::kBitmap, "", "", "arrow.bmp"};
    KeyDefinition& k2 = *must(app.addGlobalKey(std::move(key2)));
    must(app.appendTask(k2, KeyDefinition::kReleased, OvmFixture::task(TaskKind::GotoScreen, 1)));
    must(app.addGlobalKey(std::make_unique<KeyDefinition>(9)));

    std::uint32_t picture = 0;
    if (pictures) {
        std::vector<std::uint8_t> rows(2 * 8, 0xA5);
        picture = *f.library().storePicture(PictureRecord(16, 8, rows));
        std::vector<std::uint8_t> other(1 * 4, 0x3C);
        (void)*f.library().storePicture(PictureRecord(5, 4, other));
    }

    for (std::uint32_t number : {1U, 2U, 7U}) {
        auto s = std::make_unique<Screen>(number);
        s->name = "Screen" + std::to_string(number);
        s->description = "Screen number " + std::to_string(number);
        s->password = static_cast<std::uint16_t>(number * 11);
        s->type = number == 7 ? ScreenType::Both : ScreenType::Display;
        if (number == 2) {
            s->setAssociated(1);
        }
        Screen& screen = *must(app.addScreen(std::move(s)));
        if (number == 7) {
            continue; // an empty screen
        }
        auto place = [&](std::unique_ptr<ScreenObject> o, int x, int y, int w, int h) -> ScreenObject& {
            o->left = x;
            o->top = y;
            o->right = x + w - 1;
            o->bottom = y + h - 1;
            o->font = 2;
            o->colourA = 100;
            o->colourB = 0;
            return *must(screen.appendObject(std::move(o)));
        };
        auto text = std::make_unique<TextObject>();
        must(text->setText("Tank level"));
        ScreenObject& t = place(std::move(text), 0, 0, 120, 16);
        auto display = std::make_unique<DisplayRegisterObject>();
        display->format.dataType = 'S';
        display->format.first = {3, 10};
        display->leadingZerosBlank = true;
        ScreenObject& d = place(std::move(display), 128, 12, 60, 16);
        d.setTag(n.word);
        d.setShowHide(RangeAnimation{n.unitWord, 1, 10, 20, 0});
        d.setFlashAnimation(RangeAnimation{n.word2, 0, 0, 5, 2});
        auto entry = std::make_unique<DataEntryRegisterObject>();
        entry->lowLimit = 5;
        entry->highLimit = 500;
        entry->format.second = {4, -2};
        place(std::move(entry), 0, 16, 60, 16).setTag(number == 1 ? n.word2 : n.unitWord);
        auto coilEntry = std::make_unique<DataEntryCoilObject>();
        must(coilEntry->setTexts("OFF", "ON"));
        place(std::move(coilEntry), 60, 16, 36, 16).setTag(n.coil);
        auto coilShow = std::make_unique<DisplayCoilObject>();
        must(coilShow->setTexts("Closed", "Open"));
        place(std::move(coilShow), 0, 32, 72, 16).setTag(n.regBit);
        auto texts = std::make_unique<DisplayRegisterTextObject>();
        const std::vector<RegisterTextRange> ranges{{0, 9, "Low"}, {10, 99, "High"}};
        must(texts->setRanges(ranges));
        place(std::move(texts), 72, 32, 48, 16).setTag(n.unitEight);
        auto time = std::make_unique<TimeObject>();
        time->format = 1;
        place(std::move(time), 0, 48, 96, 16).setFlashAnimation(RangeAnimation{n.unitRBit, 0, 1, 1, 1});
        auto date = std::make_unique<DateObject>();
        date->format = 1;
        place(std::move(date), 96, 48, 96, 16).setShowHide(RangeAnimation{n.unitCoil, 0, 1, 1, 0});
        place(std::make_unique<ErrorObject>(), 120, 0, 60, 16);
        if (number == 1) {
            // Display objects showing the unit's own tags and the packed PLC's.
            auto r1 = std::make_unique<DisplayRegisterObject>();
            place(std::move(r1), 0, 0, 24, 16).setTag(n.unitR);
            auto r2 = std::make_unique<DisplayRegisterObject>();
            place(std::move(r2), 24, 0, 24, 16).setTag(n.packed2);
            auto r3 = std::make_unique<DisplayRegisterObject>();
            place(std::move(r3), 48, 0, 24, 16).setTag(n.unitDouble);
            auto r4 = std::make_unique<DisplayRegisterObject>();
            place(std::move(r4), 72, 0, 24, 16).setTag(n.packed3);
            auto r5 = std::make_unique<DisplayRegisterObject>();
            place(std::move(r5), 96, 0, 24, 16).setTag(n.unitByte);
            auto r6 = std::make_unique<DisplayRegisterObject>();
            place(std::move(r6), 96, 16, 24, 16).setTag(n.byte);
            auto r7 = std::make_unique<DisplayRegisterObject>();
            place(std::move(r7), 96, 32, 24, 16).setTag(n.eight);
        }
        if (graphic) {
            auto rect = std::make_unique<RectangleObject>();
            rect->setFilling(PercentFilling{10, 90, 2});
            ScreenObject& r = place(std::move(rect), 10, 10, 30, 20);
            r.setTag(n.dword);
            r.setShowHide(RangeAnimation{n.special, 0, 3, 4, 0});
            ScreenObject& e = place(std::make_unique<EllipseObject>(), 40, 10, 20, 20);
            auto round = std::make_unique<RoundRectangleObject>();
            round->setFilling(PercentFilling{0, 100, 0});
            place(std::move(round), 60, 10, 20, 20).setTag(n.unitWord);
            auto line = std::make_unique<PolylineObject>();
            const std::vector<ObjectPoint> pts{{1, 2}, {30, 40}, {50, 2}};
            must(line->setPoints(pts));
            ScreenObject& l = place(std::move(line), 1, 2, 50, 39);
            auto polygon = std::make_unique<PolygonObject>();
            must(polygon->setPoints(pts));
            polygon->setFilling(PercentFilling{5, 50, 3});
            place(std::move(polygon), 1, 2, 50, 39).setTag(n.packed1);
            place(std::make_unique<PolygonObject>(), 2, 2, 3, 3);
            auto bar = std::make_unique<BargraphObject>();
            bar->direction = 2;
            bar->minimum = 10;
            bar->maximum = 1000;
            place(std::move(bar), 100, 20, 10, 40).setTag(n.word);
            auto alarm = std::make_unique<AlarmWindowObject>();
            AlarmWindowOptions options;
            options.windowOption = 1;
            options.showHeaders = number == 1;
            options.secondWindowOption = 2;
            options.columns = {{0, "No", 3}, {2, "Text", 20}};
            must(alarm->setOptions(options));
            place(std::move(alarm), 0, 40, 120, 24);
            if (pictures) {
                auto bitmap = std::make_unique<BitmapObject>();
                bitmap->setPictureId(picture);
                place(std::move(bitmap), 4, 4, 16, 8);
            }
            std::vector<ScreenObject*> ring{&e, &l, &t};
            must(screen.group(ring));
        }
        auto touch = std::make_unique<TouchAreaObject>();
        ScreenObject& area = place(std::move(touch), 0, 0, 24, 16);
        OvmFixture::appendTasks(app, *area.taskOwner(), TouchAreaObject::kPress, n);
        must(app.appendTask(*area.taskOwner(), TouchAreaObject::kPressed,
                            OvmFixture::task(TaskKind::Bit, bit_task::kHoldOff, n.coil)));
        OvmFixture::appendTasks(app, screen, Screen::kBeforeShowing, n);
        must(app.appendTask(screen, Screen::kAfterHiding, OvmFixture::task(TaskKind::GotoScreen, 2)));
        auto skey = std::make_unique<KeyDefinition>(4);
        skey->password = 9999;
        KeyDefinition& sk = *must(app.addKey(screen, std::move(skey)));
        OvmFixture::appendTasks(app, sk, KeyDefinition::kReleased, n);
        must(app.appendTask(sk, KeyDefinition::kPressed,
                            OvmFixture::task(TaskKind::Bit, bit_task::kHoldOn, n.regBit)));
    }

    must(app.setTagMode(AlarmTable::kDiscrete));
    must(app.setGroupTag(0, n.word));
    must(app.setGroupTag(3, n.unitWord));
    must(app.setAlarmText(0, "Pump failure"));
    must(app.setAlarmText(5, "Level high"));
    must(app.setAlarmOptions(5, AlarmTable::kPrintOption));
    must(app.setAlarmText(50, "Door open"));
    must(app.setAlarmText(200, "Overtemp"));

    app.logger().frequency = 30;
    app.logger().pageHeader = "Tank log";
    app.logger().separator = ';';
    must(app.addLoggerTag(*n.word));
    must(app.addLoggerTag(*n.unitDouble));
}

} // namespace quillon::test
