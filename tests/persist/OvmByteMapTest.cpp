// The writer's bytes against a map written out by hand from the record layouts, field by field: a fault
// that the writer and the reader share, or a field the reader skips, cannot hide behind a round trip.
#include "OvmFixture.h"

#include <gtest/gtest.h>

namespace quillon::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts) {
        all.insert(all.end(), p.begin(), p.end());
    }
    return all;
}

TEST(OvmByteMap, HeaderSettingsNodesBlockTagAndScreenByteForByte) {
    OvmFixture f;
    auto app = Application::create(20, f.prompter);
    ASSERT_TRUE(app->setPassword("Fz9"));
    app->unitSettings().fromBytes({1, 0, 0, 4, 4, 0, 0, 4, 1, 2, 80, 3, 2, 1, 0});
    app->info().title = "T";
    app->info().lastEdited = CalendarTime{15, 30, 9, 11, 5, 2024};
    Node& unit = *must(app->addNode(Node::createUnitNode()));
    unit.name = "Unit";
    auto made = f.plcNode(2, 1, NodeKind::PlcWithSpecial);
    made->setSpecialData({7, 8, 9});
    made->name = "Pump";
    Node& pump = *must(app->addNode(std::move(made)));
    Block& block = OvmFixture::block(*app, pump, "40001", 10, "Hold"); // attribute 3
    block.prefix = "4x";
    Tag* level = must(app->addTag(block, OvmFixture::reg("40003", 2))); // attribute 0x21, read-write '2'
    level->name = "Level";
    level->prefix = "4x";
    Screen& screen = *must(app->addScreen(std::make_unique<Screen>(1)));
    screen.password = 1234;
    screen.type = ScreenType::Both;
    screen.name = "Main";

    const Bytes header{
        214, 0, 0, 0, // applicationSize: 50 + 64 + 51 + 36 + 13
        20,  0,       // model id
        2,   0,       // nodes
        1,   0,       // tags
        1,   0,       // screens
        0,   0,       // global keys
        0,   0,       // alarm texts
        0,   0,       // power-on tasks
        0,   0,       // global tasks
        51,  0, 0, 0, // networkBytes: unit node 14 + node 14 + block 11 + tag 12
        12,  0, 0, 0, // tagBytes
        36,  0, 0, 0, // screenBytes
        0,   0, 0, 0, // globalKeyBytes
        0,   0,       // alarmBytes
        0,   0,       // powerOnBytes
        0,   0,       // globalTaskBytes
        13,  0,       // loggerBytes
        0,   0,       // globalReadListBytes
        0,   0, 0, 0, // pictureBytes
    };
    const Bytes settings = join({
        {'F', 'z', '9', 0, 0, 0, 0, 0},                 // password, zero-padded to 8
        {1, 0, 0, 4, 4, 0, 0, 4, 1, 2, 80, 3, 2, 1, 0}, // the fifteen unit setting bytes
        {7},                                            // first special byte of the first kind-2 node
        Bytes(30, 0),                                   // zero
        {214, 0, 0, 0},                                 // extension section offset
        Bytes(6, 0),                                    // zero
    });
    const Bytes unitNode{
        10,  0, 0, 0, // entry length - 4: no blocks
        0,            // kind: the unit
        0,            // node number
        0,            // PLC id
        1,            // model index
        '5',          // model code
        0,   0, 0,    // special bytes: kind 2 only
        0,   0,       // blocks
    };
    const Bytes plcNode{
        33,  0, 0, 0, // entry length - 4: 14 + 11 + 12 - 4
        2,            // kind: PLC with special data
        2,            // node number
        1,            // PLC id
        1,            // model index
        '5',          // model code
        7,   8, 9,    // special bytes
        1,   0,       // blocks
    };
    const Bytes blockEntry{
        21, 0,                       // entry length - 2: 11 + 12 - 2
        5,  '4', '0', '0', '0', '1', // address
        10,                          // size in registers
        1,                           // tags
        3,                           // attribute
    };
    const Bytes tagRecord{
        11,                       // length of the rest: 6 + 5
        0x21,                     // attribute
        '2',                      // register
        '2',                      // read-write
        0,                        // bit: bits only
        2,                        // size code
        0,                        // byte selector
        '4',  '0', '0', '0', '3', // address
    };
    const Bytes screenEntry{
        32,   0,    0, 0, // entry length - 4
        1,    0,          // number
        0xD2, 0x04,       // password 1234
        0,                // objects
        2,                // type: both
        0,    0,          // keys
        0,    0,          // Before Showing tasks
        0,    0,          // While Showing tasks
        0,    0,          // After Hiding tasks
        0,    0,    0, 0, // object bytes
        0,    0,    0, 0, // key bytes
        0,    0,          // Before Showing bytes
        0,    0,          // While Showing bytes
        0,    0,          // After Hiding bytes
        0,                // reserved
        0,    0,          // read list bytes
        0,                // associated screens
    };
    const Bytes logger(13, 0);
    const Bytes extension = join({
        {0x0D, 0x0A, 0xFF, 0xFE, 0xFD, 0xFC, 0xFB, 0x0D, 0x0A}, // marker
        {0xE8, 0x07, 5, 11, 9, 30, 15},                         // 2024, June (5), 11th, 09:30:15
        {1, 'T'},                                               // title
        {0},                                                    // author
        {0, 0},                                                 // description (u16 length)
        {4, 'U', 'n', 'i', 't'},                                // node 0 name, no blocks
        {4, 'P', 'u', 'm', 'p'},                                // node 2 name
        {2, '4', 'x', 4, 'H', 'o', 'l', 'd'},                   // its block: prefix, name
        {2, '4', 'x', 5, 'L', 'e', 'v', 'e', 'l'},              // the tag: prefix, name
        {4, 'M', 'a', 'i', 'n', 0},                             // screen 1: name, description
    });
    const Bytes expected =
        join({header, settings, unitNode, plcNode, blockEntry, tagRecord, screenEntry, logger, extension});
    ASSERT_EQ(expected.size(), 214U + extension.size());

    const Bytes written = f.prepareAndWrite(*app);
    ASSERT_EQ(written.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(int{written[i]}, int{expected[i]}) << "byte " << i;
    }
}

} // namespace
} // namespace quillon::test
