#pragma once

#include "../model/ModelFixture.h"
#include "model/RecordingPrompter.h"
#include "model/TouchAreaObject.h"

#include <memory>

namespace quillon::testing_support {

// An application of model 42 (read limit 144) with one PLC, registers in a 100-register and a 60-register
// block, a coil, a register bit, a read-only and a write-only register, two screens and a touch area.
class TaskEditorsFixture {
public:
    TaskEditorsFixture() {
        must(app.addNode(Node::createUnitNode()));
        Node* plc = must(app.addNode(plcNode(1)));
        big = must(app.addBlock(*plc, std::make_unique<Block>("D0000", 100)));
        small = must(app.addBlock(*plc, std::make_unique<Block>("D0200", 60)));
        r1 = must(app.addTag(*big, withAccess(registerTag("D0001", 2, "Speed"), '2')));
        r2 = must(app.addTag(*small, withAccess(registerTag("D0201", 2, "Level"), '2')));
        coil = must(app.addTag(*big, withAccess(coilTag("D0002"), '2')));
        coil->name = "Motor";
        bit = must(app.addTag(*big, withAccess(bitTag("D0003", 5, "Alarm"), '2')));
        readOnly = must(app.addTag(*big, withAccess(registerTag("D0004", 2, "Count"), '0')));
        writeOnly = must(app.addTag(*big, withAccess(registerTag("D0005", 2, "Setpoint"), '1')));
        screen1 = must(app.addScreen(std::make_unique<Screen>(1)));
        screen2 = must(app.addScreen(std::make_unique<Screen>(7)));
        touch =
            static_cast<TouchAreaObject*>(must(screen1->appendObject(std::make_unique<TouchAreaObject>())));
    }

    static TagValues withAccess(TagValues v, char access) {
        v.readWrite = access;
        return v;
    }

    Application app{42};
    RecordingPrompter prompter;
    Block* big = nullptr;
    Block* small = nullptr;
    Tag* r1 = nullptr;
    Tag* r2 = nullptr;
    Tag* coil = nullptr;
    Tag* bit = nullptr;
    Tag* readOnly = nullptr;
    Tag* writeOnly = nullptr;
    Screen* screen1 = nullptr;
    Screen* screen2 = nullptr;
    TouchAreaObject* touch = nullptr;
};

} // namespace quillon::testing_support
