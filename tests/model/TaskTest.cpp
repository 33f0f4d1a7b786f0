#include "ModelFixture.h"

#include <gtest/gtest.h>
#include <vector>

using namespace quillon;
using namespace quillon::testing_support;

namespace {

class TaskCodec : public ::testing::Test {
protected:
    void SetUp() override {
        Node* node = must(app.addNode(plcNode(3)));
        must(app.addBlock(*node, std::make_unique<Block>("D0000", 10)));
        block = must(app.addBlock(*node, std::make_unique<Block>("D0100", 10)));
        must(app.addTag(*block, registerTag("D0100")));
        reg = must(app.addTag(*block, registerTag("D0101")));
        bit = must(app.addTag(*block, bitTag("D0102", 5)));
        coil = must(app.addTag(*block, coilTag("D0103")));
    }

    TagLookup lookup() {
        return [this](std::uint8_t n, std::uint16_t b, std::uint8_t i) { return app.findTag(n, b, i); };
    }

    Task roundTrip(const Task& t) {
        std::vector<std::uint8_t> bytes;
        encodeTask(t, bytes);
        EXPECT_EQ(bytes.size(), t.imageBytes());
        auto decoded = decodeTask(bytes, lookup());
        EXPECT_TRUE(decoded) << (decoded ? "" : decoded.message());
        EXPECT_EQ(decoded->consumed, bytes.size());
        return decoded->task;
    }

    Application app{42};
    Block* block = nullptr;
    Tag* reg = nullptr;
    Tag* bit = nullptr;
    Tag* coil = nullptr;
};

Task make(TaskKind kind, std::uint8_t sub = 0, Tag* t1 = nullptr, Tag* t2 = nullptr, std::int32_t value = 0,
          std::uint8_t format = 0, std::uint8_t parameter = 0) {
    Task t;
    t.kind = kind;
    t.subKind = sub;
    t.tag1 = t1;
    t.tag2 = t2;
    t.value = value;
    t.valueFormat = format;
    t.parameter = parameter;
    return t;
}

} // namespace

TEST_F(TaskCodec, LengthsOfEveryKind) {
    EXPECT_EQ(taskLength(TaskKind::GotoScreen, 0, nullptr, 0), 4);
    EXPECT_EQ(taskLength(TaskKind::GotoScreen, 2, nullptr, 0), 2);
    EXPECT_EQ(taskLength(TaskKind::GotoScreen, 3, nullptr, 0), 0);
    EXPECT_EQ(taskLength(TaskKind::WriteValue, 0, reg, 1), 9);
    EXPECT_EQ(taskLength(TaskKind::Add, 1, reg, 0), 10);
    EXPECT_EQ(taskLength(TaskKind::Subtract, 0, reg, 0), 9);
    EXPECT_EQ(taskLength(TaskKind::Bit, bit_task::kGeneratedOff, bit, 0), 6);
    EXPECT_EQ(taskLength(TaskKind::Bit, 5, bit, 0), 0);
    EXPECT_EQ(taskLength(TaskKind::CopyTag, 0, reg, 0), 10);
    EXPECT_EQ(taskLength(TaskKind::SwapTags, 0, reg, 0), 10);
    EXPECT_EQ(taskLength(TaskKind::PrintData, 0, nullptr, 0), 2);
    EXPECT_EQ(taskLength(TaskKind::ClockIncrement, 6, nullptr, 0), 4);
    EXPECT_EQ(taskLength(TaskKind::ClockIncrement, 7, nullptr, 0), 0);
    EXPECT_EQ(taskLength(TaskKind::CopyToDisplay, 1, reg, 0), 6);
    EXPECT_EQ(taskLength(TaskKind::OpenCollector, 1, nullptr, 0), 2);
    EXPECT_EQ(taskLength(TaskKind::Delay, 0, nullptr, 0), 5);
    // Wait: image bytes 8 on a coil or bit, 11 against a constant, 13 against a second tag.
    EXPECT_EQ(taskLength(TaskKind::Wait, 0, coil, 0) + 1, 8);
    EXPECT_EQ(taskLength(TaskKind::Wait, 0, bit, 1) + 1, 8);
    EXPECT_EQ(taskLength(TaskKind::Wait, 0, reg, 0) + 1, 11);
    EXPECT_EQ(taskLength(TaskKind::Wait, 0, reg, 1) + 1, 13);
    EXPECT_EQ(taskLength(TaskKind::KeyFunction, 37, nullptr, 0), 2);
    EXPECT_EQ(taskLength(TaskKind::KeyFunction, 38, nullptr, 0), 0);
    EXPECT_EQ(taskLength(TaskKind::DataEntryMode, 0, nullptr, 0), 2);
    EXPECT_EQ(taskLength(TaskKind::PlcToRecipe, 0, reg, 0), 12);
    EXPECT_EQ(taskLength(TaskKind::RecipeToPlc, 0, reg, 0), 12);
    EXPECT_EQ(taskLength(TaskKind::CopyRtcToTag, 0, reg, 0), 8);
}

TEST_F(TaskCodec, TextsOfEveryKind) {
    EXPECT_EQ(taskText(make(TaskKind::GotoScreen, 0, nullptr, nullptr, 12)), "Goto Screen of number : 00012");
    EXPECT_EQ(taskText(make(TaskKind::GotoScreen, 1)), "Goto Next Screen");
    EXPECT_EQ(taskText(make(TaskKind::GotoScreen, 2)), "Goto Previous Screen");
    EXPECT_EQ(taskText(make(TaskKind::WriteValue, 0, reg, nullptr, -5, 1)), "Write -5 to Tag D0101");
    EXPECT_EQ(taskText(make(TaskKind::WriteValue, 0, reg, nullptr, 65531, 0)), "Write 65531 to Tag D0101");
    EXPECT_EQ(taskText(make(TaskKind::Add, 0, reg, nullptr, 0xAB, 2)), "Add ABH to Tag D0101");
    EXPECT_EQ(taskText(make(TaskKind::Subtract, 0, reg, nullptr, 0x1234, 3)),
              "Subtract 1234D from Tag D0101");
    EXPECT_EQ(taskText(make(TaskKind::Add, 0, reg, nullptr, 5, 4)), "Add 101B to Tag D0101");
    EXPECT_EQ(taskText(make(TaskKind::Add, 1, reg, bit)), "Add Tag D0102_05 to Tag D0101");
    EXPECT_EQ(taskText(make(TaskKind::Subtract, 1, reg, bit)), "Subtract Tag D0102_05 from Tag D0101");
    EXPECT_EQ(taskText(make(TaskKind::Bit, 0, bit)), "Turn Bit D0102_05 ON");
    EXPECT_EQ(taskText(make(TaskKind::Bit, 1, coil)), "Turn Bit D0103 OFF");
    EXPECT_EQ(taskText(make(TaskKind::Bit, 2, coil)), "Hold Bit D0103 ON");
    EXPECT_EQ(taskText(make(TaskKind::Bit, 3, coil)), "Hold Bit D0103 OFF");
    EXPECT_EQ(taskText(make(TaskKind::Bit, 4, coil)), "Toggle Bit D0103");
    EXPECT_EQ(taskText(make(TaskKind::Bit, bit_task::kGeneratedOn, coil)), "");
    EXPECT_EQ(taskText(make(TaskKind::CopyTag, 0, reg, coil)), "Copy Tag D0103 to Tag D0101");
    EXPECT_EQ(taskText(make(TaskKind::SwapTags, 0, reg, coil)), "Swap Tag D0101 and Tag D0103");
    EXPECT_EQ(taskText(make(TaskKind::PrintData)), "Print Data");
    EXPECT_EQ(taskText(make(TaskKind::ClockIncrement, 0, nullptr, nullptr, 7)), "Increment Year by  1");
    EXPECT_EQ(taskText(make(TaskKind::ClockIncrement, 6)), "Increment Day of week by 1");
    EXPECT_EQ(taskText(make(TaskKind::CopyToDisplay, 0, reg)), "Copy Tag D0101 to STR");
    EXPECT_EQ(taskText(make(TaskKind::CopyToDisplay, 1, reg)), "Copy Tag D0101 to LED");
    EXPECT_EQ(taskText(make(TaskKind::OpenCollector, 0)), "Set Open Collector ON");
    EXPECT_EQ(taskText(make(TaskKind::OpenCollector, 1)), "Set Open Collector OFF");
    EXPECT_EQ(taskText(make(TaskKind::Delay, 0, nullptr, nullptr, 250, 0, 0)), "Delay of 250 Millisecond(s)");
    EXPECT_EQ(taskText(make(TaskKind::Delay, 0, nullptr, nullptr, 3, 0, 2)), "Delay of 3 Minute(s)");
    EXPECT_EQ(taskText(make(TaskKind::Wait, 0, coil, nullptr, 0, 0, 1)), "Wait till coil D0103 is On");
    EXPECT_EQ(taskText(make(TaskKind::Wait, 0, bit, nullptr, 0, 0, 0)), "Wait till coil D0102_05 is Off");
    EXPECT_EQ(taskText(make(TaskKind::Wait, 0, reg, nullptr, 40, 0, 3)), "Wait till D0101 <= 40");
    EXPECT_EQ(taskText(make(TaskKind::Wait, 0, reg, reg, 0, 1, 1)), "Wait till D0101 != D0101");
    EXPECT_EQ(taskText(make(TaskKind::KeyFunction, 12)), "Sign Key ( +/- ) and 0");
    EXPECT_EQ(taskText(make(TaskKind::KeyFunction, 22)), "Numeric Key 9");
    EXPECT_EQ(taskText(make(TaskKind::KeyFunction, 28)), "Numeric Key F");
    EXPECT_EQ(taskText(make(TaskKind::KeyFunction, 37)), "Clear Log Memory");
    EXPECT_EQ(taskText(make(TaskKind::DataEntryMode)), "Activate / Deactivate Data Entry Mode");
    EXPECT_EQ(taskText(make(TaskKind::PlcToRecipe, 0, reg, coil, 20)),
              "Copy Plc block D0103 of 20 to Recipe D0101");
    EXPECT_EQ(taskText(make(TaskKind::RecipeToPlc, 0, reg, coil, 20)),
              "Copy Recipe block D0103 of 20 to Plc D0101");
    EXPECT_EQ(taskText(make(TaskKind::CopyRtcToTag, 0, reg, nullptr, 9)), "Copy RTC to Tag D0101 ");
    EXPECT_EQ(valueText(0, value_format::kBinary), "0B");
}

TEST_F(TaskCodec, SignExtensionOnlyForSignedConstants) {
    const Task write = make(TaskKind::WriteValue, 0, reg, nullptr, -5, value_format::kSigned);
    std::vector<std::uint8_t> bytes;
    encodeTask(write, bytes);
    // length, kind, sub-kind, TagRef (node 3, block 1, index 1), 0xFFFB, format
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{9, 2, 0, 3, 1, 0, 1, 0xFB, 0xFF, 1}));
    EXPECT_EQ(roundTrip(write).value, -5);
    bytes[9] = value_format::kUnsigned;
    auto unsignedRead = decodeTask(bytes, lookup());
    ASSERT_TRUE(unsignedRead);
    EXPECT_EQ(unsignedRead->task.value, 65531);
    // Other constants are plain 16-bit numbers.
    EXPECT_EQ(roundTrip(make(TaskKind::GotoScreen, 0, nullptr, nullptr, 65000)).value, 65000);
    EXPECT_EQ(roundTrip(make(TaskKind::Delay, 0, nullptr, nullptr, 65535, 0, 0)).value, 65535);
}

TEST_F(TaskCodec, EveryKindRoundTrips) {
    const std::vector<Task> tasks{
        make(TaskKind::GotoScreen, 0, nullptr, nullptr, 1),
        make(TaskKind::GotoScreen, 1),
        make(TaskKind::WriteValue, 0, reg, nullptr, 0x1234, value_format::kBcd),
        make(TaskKind::Add, 1, reg, bit),
        make(TaskKind::Subtract, 0, reg, nullptr, 32767, value_format::kSigned),
        make(TaskKind::Bit, bit_task::kGeneratedOn, coil),
        make(TaskKind::CopyTag, 0, reg, bit),
        make(TaskKind::SwapTags, 0, coil, bit),
        make(TaskKind::PrintData),
        make(TaskKind::ClockIncrement, 4, nullptr, nullptr, 1),
        make(TaskKind::CopyToDisplay, 1, reg),
        make(TaskKind::OpenCollector, 1),
        make(TaskKind::Delay, 0, nullptr, nullptr, 3600, 0, 1),
        make(TaskKind::Wait, 0, coil, nullptr, 0, 0, 1),
        make(TaskKind::Wait, 0, reg, nullptr, 77, 0, 5),
        make(TaskKind::Wait, 0, reg, bit, 0, 1, 2),
        make(TaskKind::KeyFunction, 31),
        make(TaskKind::DataEntryMode),
        make(TaskKind::PlcToRecipe, 0, reg, bit, 2047),
        make(TaskKind::RecipeToPlc, 0, bit, reg, 1),
        make(TaskKind::CopyRtcToTag, 0, reg, nullptr, 600),
    };
    for (const Task& t : tasks) {
        ASSERT_TRUE(validateTask(t)) << taskText(t);
        EXPECT_EQ(roundTrip(t), t) << taskText(t);
    }
}

TEST_F(TaskCodec, DamagedRecordsFailWithTheReadersErrors) {
    const Task copy = make(TaskKind::CopyTag, 0, reg, bit);
    std::vector<std::uint8_t> bytes;
    encodeTask(copy, bytes);
    // Every cut of the record fails cleanly, without reading past the end.
    for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
        auto r = decodeTask(std::span(bytes.data(), cut), lookup());
        ASSERT_FALSE(r);
        EXPECT_EQ(r.code(), kErrorTaskList);
    }
    auto missing = bytes;
    missing[10] = 9; // tag2 index 9 does not exist in block 1
    auto r = decodeTask(missing, lookup());
    ASSERT_FALSE(r);
    EXPECT_EQ(r.code(), kErrorTaskTag);

    auto longer = bytes;
    longer[0] = 11;
    longer.push_back(0);
    EXPECT_EQ(decodeTask(longer, lookup()).code(), kErrorTaskList);

    // A wait on a coil with the layout of a register wait: the length byte disagrees with the tag.
    const Task wait = make(TaskKind::Wait, 0, reg, nullptr, 5, 0, 0);
    std::vector<std::uint8_t> w;
    encodeTask(wait, w);
    w[6] = coil->indexInBlock();
    EXPECT_EQ(decodeTask(w, lookup()).code(), kErrorTaskList);

    const std::vector<std::uint8_t> unknownKind{2, 19, 0};
    EXPECT_EQ(decodeTask(unknownKind, lookup()).code(), kErrorTaskList);
    const std::vector<std::uint8_t> badCondition{7, 13, 0, 3, 1, 0, 3, 2}; // coil waits know only Off/On
    EXPECT_EQ(decodeTask(badCondition, lookup()).code(), kErrorTaskList);
    EXPECT_FALSE(decodeTask({}, lookup()));
}

TEST_F(TaskCodec, ValidationAndNormalisation) {
    EXPECT_FALSE(validateTask(make(TaskKind::CopyTag, 0, reg)));
    EXPECT_FALSE(validateTask(make(TaskKind::WriteValue, 0, reg, nullptr, 70000, 0)));
    EXPECT_FALSE(validateTask(make(TaskKind::WriteValue, 0, reg, nullptr, -40000, 1)));
    EXPECT_FALSE(validateTask(make(TaskKind::WriteValue, 0, reg, nullptr, -1, 0)));
    EXPECT_FALSE(validateTask(make(TaskKind::WriteValue, 0, reg, nullptr, 1, 5)));
    EXPECT_FALSE(validateTask(make(TaskKind::Delay, 0, nullptr, nullptr, 1, 0, 3)));
    EXPECT_FALSE(validateTask(make(TaskKind::Wait, 0, reg, nullptr, 1, 0, 6)));
    EXPECT_FALSE(validateTask(make(static_cast<TaskKind>(0))));
    EXPECT_EQ(validateTask(make(TaskKind::Bit, 0)).message(), "Tag(s) not selected.");

    // Operands a kind does not carry are dropped, so they cannot hold a tag or a read use.
    const Task n = normalizeTask(make(TaskKind::Wait, 0, coil, reg, 99, 1, 1));
    EXPECT_EQ(n.tag2, nullptr);
    EXPECT_EQ(n.value, 0);
    EXPECT_EQ(n.valueFormat, 0);
    EXPECT_EQ(n.parameter, 1);
    const Task g = normalizeTask(make(TaskKind::GotoScreen, 1, reg, reg, 5, 2, 2));
    EXPECT_EQ(g, make(TaskKind::GotoScreen, 1));
}
