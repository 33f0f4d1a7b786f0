#pragma once

#include "edit/define/NodeAreas.h"
#include "model/Application.h"
#include "model/ModelFixture.h"
#include "model/RecordingPrompter.h"
#include "model/Screen.h"
#include "model/Task.h"
#include "plc/PlcCatalogFiles.h"
#include "sim/Simulator.h"

#include <gtest/gtest.h>
#include <memory>

namespace quillon::testing_support {

// An application on the VQ5K-822 whose tags lie in the unit's own areas (UW: 2-byte words, UB: bits):
// Level UW000, Count UW001, Big UW002 (4 bytes), Low and High (the bytes of UW004), Word5 UW005 with its
// bit 3 as Bit3, and the coils Motor UB000 and Lamp UB001.
class SimFixture : public ::testing::Test {
protected:
    SimFixture() : catalogs_(QUILLON_SOURCE_DIR "/data/plc", prompter_) {
        Node* unit = must(app.addNode(Node::createUnitNode()));
        Block* words = must(app.addBlock(*unit, std::make_unique<Block>("UW000", 20)));
        level = must(app.addTag(*words, registerTag("UW000", 2, "Level")));
        count = must(app.addTag(*words, registerTag("UW001", 2, "Count")));
        big = must(app.addTag(*words, registerTag("UW002", 4, "Big")));
        word3 = must(app.addTag(*words, registerTag("UW003", 2, "Word3")));
        low = must(app.addTag(*words, registerTag("UW004", 1, "Low")));
        TagValues highValues = registerTag("UW004", 1, "High");
        highValues.byteSelect = 1;
        high = must(app.addTag(*words, highValues));
        word5 = must(app.addTag(*words, registerTag("UW005", 2, "Word5")));
        bit3 = must(app.addTag(*words, bitTag("UW005", 3, "Bit3")));
        Block* bits = must(app.addBlock(*unit, std::make_unique<Block>("UB000", 8)));
        TagValues m = coilTag("UB000");
        m.name = "Motor";
        motor = must(app.addTag(*bits, m));
        TagValues l = coilTag("UB001");
        l.name = "Lamp";
        lamp = must(app.addTag(*bits, l));
    }

    Screen* addScreen(std::uint32_t number, ScreenType type = ScreenType::Display) {
        auto s = std::make_unique<Screen>(number);
        s->type = type;
        return must(app.addScreen(std::move(s)));
    }
    void append(TaskListOwner& owner, std::size_t list, const Task& task) {
        const auto added = app.appendTask(owner, list, task);
        ASSERT_TRUE(added) << added.message();
    }
    std::unique_ptr<Simulator> start(std::uint32_t scanMs = 10) {
        Simulator::Options options;
        options.scanMs = scanMs;
        auto sim = std::make_unique<Simulator>(
            app, [this](const Node& node) { return NodeAreas::load(catalogs_, node); }, options);
        sim->powerOn();
        return sim;
    }

    static Task write(Tag* tag, std::int32_t value, std::uint8_t format = value_format::kUnsigned) {
        Task t;
        t.kind = TaskKind::WriteValue;
        t.tag1 = tag;
        t.value = value;
        t.valueFormat = format;
        return t;
    }
    static Task add(Tag* tag, std::int32_t value) {
        Task t;
        t.kind = TaskKind::Add;
        t.tag1 = tag;
        t.value = value;
        return t;
    }
    static Task gotoScreen(std::int32_t number, std::uint8_t sub = 0) {
        Task t;
        t.kind = TaskKind::GotoScreen;
        t.subKind = sub;
        t.value = sub == 0 ? number : 0;
        return t;
    }
    static Task bit(Tag* tag, std::uint8_t sub) {
        Task t;
        t.kind = TaskKind::Bit;
        t.subKind = sub;
        t.tag1 = tag;
        return t;
    }
    static Task simple(TaskKind kind, std::uint8_t sub = 0) {
        Task t;
        t.kind = kind;
        t.subKind = sub;
        return t;
    }

    Application app{500};
    Tag* level = nullptr;
    Tag* count = nullptr;
    Tag* big = nullptr;
    Tag* word3 = nullptr;
    Tag* low = nullptr;
    Tag* high = nullptr;
    Tag* word5 = nullptr;
    Tag* bit3 = nullptr;
    Tag* motor = nullptr;
    Tag* lamp = nullptr;

private:
    RecordingPrompter prompter_;
    PlcCatalogFiles catalogs_;
};

} // namespace quillon::testing_support
