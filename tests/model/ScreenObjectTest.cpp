#include "ModelFixture.h"
#include "model/AlarmWindowObject.h"
#include "model/BargraphObject.h"
#include "model/BitmapObject.h"
#include "model/DataEntryCoilObject.h"
#include "model/DataEntryRegisterObject.h"
#include "model/DisplayRegisterTextObject.h"
#include "model/PolygonObject.h"
#include "model/PolylineObject.h"
#include "model/RectangleObject.h"
#include "model/Screen.h"
#include "model/TextObject.h"
#include "model/TouchAreaObject.h"
#include "model/VectorByteSink.h"

#include <gtest/gtest.h>
#include <map>
#include <vector>

using namespace quillon;
using namespace quillon::testing_support;

namespace {

// Hands out a recognisable code per tag, as the writer would from the read lists.
class FakeCoder final : public TagCoder {
public:
    Result<ObjectTagCode> objectTagCode(const Tag& tag, const Screen& /*screen*/) override {
        return ObjectTagCode{'w', static_cast<std::uint8_t>(tag.address().size()), 0, 7};
    }
};

std::vector<std::uint8_t> write(const ScreenObject& object, bool cells = false) {
    FakeCoder coder;
    ObjectWriteContext context{coder, cells,
                               [](std::uint32_t id) -> Result<std::uint32_t> { return 1000 + id; }};
    VectorByteSink sink;
    EXPECT_TRUE(object.Write(sink, context).ok());
    return sink.take();
}

std::uint32_t u32At(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

} // namespace

TEST(ScreenObject, RecordLengthFollowsTheKindRule) {
    TextObject text;
    ASSERT_TRUE(text.setText("abc").ok());
    EXPECT_EQ(text.recordLength(), 30u); // 22 + main tag 4 + 1 + 3

    RectangleObject rect;
    rect.setShowHide(RangeAnimation{});
    rect.setFlashAnimation(RangeAnimation{});
    EXPECT_EQ(rect.recordLength(), 46u);
    rect.setFilling(PercentFilling{});
    EXPECT_EQ(rect.recordLength(), 49u);

    PolygonObject polygon;
    ASSERT_TRUE(polygon.setPoints(std::vector<ObjectPoint>{{0, 0}, {5, 0}, {5, 5}}).ok());
    EXPECT_EQ(polygon.recordLength(), 40u);
    polygon.setFilling(PercentFilling{});
    EXPECT_EQ(polygon.recordLength(), 43u);

    PolylineObject line;
    ASSERT_TRUE(line.setPoints(std::vector<ObjectPoint>{{0, 0}, {5, 5}}).ok());
    EXPECT_EQ(line.recordLength(), 26u + 1 + 8);
    EXPECT_FALSE(line.setPoints(std::vector<ObjectPoint>(256)).ok());
    EXPECT_EQ(line.points().size(), 2u);

    const std::map<std::uint8_t, std::uint32_t> fixedParts{{0, 4},  {3, 21}, {5, 14},  {7, 1},
                                                           {8, 1},  {9, 0},  {10, 1},  {11, 1},
                                                           {12, 1}, {16, 4}, {17, 12}, {21, 5}};
    for (auto [kind, part] : fixedParts) {
        auto object = ScreenObject::create(kind);
        ASSERT_NE(object, nullptr) << int(kind);
        EXPECT_EQ(object->recordLength(), 26u + part) << int(kind);
        EXPECT_EQ(static_cast<std::uint8_t>(object->kind()), kind);
    }

    DataEntryCoilObject coil;
    ASSERT_TRUE(coil.setTexts("OFF", "ON").ok());
    EXPECT_EQ(coil.recordLength(), 26u + 2 + 5);

    DisplayRegisterTextObject table;
    ASSERT_TRUE(table.setRanges(std::vector<RegisterTextRange>{{0, 10, "low"}, {11, 20, "high"}}).ok());
    EXPECT_EQ(table.recordLength(), 26u + 1 + (3 + 9) + (4 + 9));
    EXPECT_FALSE(table.setRanges(std::vector<RegisterTextRange>{{0, 1, std::string(248, 'x')}}).ok());

    AlarmWindowObject window;
    AlarmWindowOptions options;
    options.columns = {{0, "Num", 0}, {2, "Alarm", 15}};
    ASSERT_TRUE(window.setOptions(options).ok());
    EXPECT_EQ(window.recordLength(), 26u + 4 + 4);
    options.showHeaders = true;
    ASSERT_TRUE(window.setOptions(options).ok());
    EXPECT_EQ(window.recordLength(), 26u + 4 + 4 + 4 + 6);
}

TEST(ScreenObject, FactoryKnowsEveryKindAndReadsKind15AsBargraph) {
    for (int code = 0; code < 256; ++code) {
        auto object = ScreenObject::create(static_cast<std::uint8_t>(code));
        EXPECT_EQ(object != nullptr, code <= 17 || code == 21) << code;
    }
    auto old = ScreenObject::create(15);
    ASSERT_NE(old, nullptr);
    EXPECT_EQ(old->kind(), ObjectKind::Bargraph); // always written in the current form
    EXPECT_TRUE(dynamic_cast<BargraphObject&>(*old).fromOldFormat());
    EXPECT_FALSE(dynamic_cast<BargraphObject&>(*ScreenObject::create(21)).fromOldFormat());
}

TEST(ScreenObject, WriteProducesTheRecordBytes) {
    Application app(500);
    must(app.addNode(Node::createUnitNode()));
    Node* plc = must(app.addNode(plcNode(1)));
    Block* block = must(app.addBlock(*plc, std::make_unique<Block>("D0000", 10)));
    Tag* word = must(app.addTag(*block, registerTag("D0003")));
    Tag* other = must(app.addTag(*block, registerTag("D0004")));

    // Tag codes come from the read lists of the object's screen.
    Screen screen(1);
    auto& text = static_cast<TextObject&>(*must(screen.appendObject(std::make_unique<TextObject>())));
    text.left = 24;
    text.top = 32;
    text.right = 59;
    text.bottom = 47;
    ASSERT_TRUE(text.setText("Hi").ok());
    RangeAnimation show{word, 1, 10, 20, 99};
    text.setShowHide(show);
    auto bytes = write(text, true);
    ASSERT_EQ(bytes.size(), text.recordLength());
    EXPECT_EQ(u32At(bytes, 0), text.recordLength());
    EXPECT_EQ(bytes[4], 1); // kind
    EXPECT_EQ(bytes[5], 2); // left 24 / 12
    EXPECT_EQ(bytes[7], 2); // top 32 / 16
    EXPECT_EQ(bytes[9], 4); // right 59 / 12
    EXPECT_EQ(bytes[11], 2);
    EXPECT_EQ(bytes[13], 1);    // sequence
    EXPECT_EQ(bytes[14], 0);    // no group
    EXPECT_EQ(bytes[19], 3);    // z-level
    EXPECT_EQ(bytes[21], 0x01); // show/hide only
    EXPECT_EQ(bytes[22], 'w');
    EXPECT_EQ(bytes[26], 1);                   // when
    EXPECT_EQ(bytes[27] | bytes[28] << 8, 10); // low
    EXPECT_EQ(bytes[29] | bytes[30] << 8, 20); // high
    EXPECT_EQ(u32At(bytes, 31), 0u);           // no main tag
    EXPECT_EQ(bytes[35], 2);
    EXPECT_EQ(bytes[36], 'H');
    EXPECT_EQ(text.showHide()->option, 0); // show/hide carries no option byte

    // Data entry names its tag by TagRef: node, block index, index in block.
    auto& entry = static_cast<DataEntryRegisterObject&>(
        *must(screen.appendObject(std::make_unique<DataEntryRegisterObject>())));
    entry.format.first = {3, -2};
    entry.setTag(other);
    entry.setFlashAnimation(RangeAnimation{word, 0, 1, 2, 129});
    bytes = write(entry);
    ASSERT_EQ(bytes.size(), entry.recordLength());
    EXPECT_EQ(bytes[21], 0x02);
    EXPECT_EQ(bytes[22], 'w');
    EXPECT_EQ(bytes[31], 129); // flash option
    EXPECT_EQ(bytes[32], 1);   // node number
    EXPECT_EQ(bytes[33] | bytes[34] << 8, 0);
    EXPECT_EQ(bytes[35], 1); // second tag of the block
    EXPECT_EQ(bytes[36], 'U');
    EXPECT_EQ(bytes[37], '5');
    EXPECT_EQ(u32At(bytes, 39), 0u);     // low limit
    EXPECT_EQ(u32At(bytes, 43), 65535u); // high limit
    EXPECT_EQ(bytes[47], 3);
    EXPECT_EQ(static_cast<std::int32_t>(u32At(bytes, 48)), -2);
    std::vector<ScreenObject*> ring{&text, &entry};
    ASSERT_TRUE(screen.group(ring).ok());
    EXPECT_EQ(write(entry)[14], 1); // its ring goes on to the object of sequence 1

    // An object on no screen has no read list to code its tags from.
    TextObject loose;
    loose.setShowHide(show);
    FakeCoder coder;
    VectorByteSink sink;
    EXPECT_FALSE(loose.Write(sink, ObjectWriteContext{coder, false, {}}).ok());

    BitmapObject bitmap;
    bitmap.setPictureId(5);
    bytes = write(bitmap);
    EXPECT_EQ(u32At(bytes, 26), 1005u); // where the picture's data lies in the image

    PolygonObject polygon;
    polygon.setFilling(PercentFilling{10, 90, 2});
    ASSERT_TRUE(polygon.setPoints(std::vector<ObjectPoint>{{1, 2}, {300, 4}}).ok());
    bytes = write(polygon);
    ASSERT_EQ(bytes.size(), polygon.recordLength());
    EXPECT_EQ((std::vector<std::uint8_t>(bytes.begin() + 26, bytes.end())),
              (std::vector<std::uint8_t>{2, 1, 10, 90, 2, 1, 0, 2, 0, 0x2C, 1, 4, 0}));

    AlarmWindowObject window;
    AlarmWindowOptions options{1, true, 2, {{0, "Num", 3}, {5, "", 1}}};
    ASSERT_TRUE(window.setOptions(options).ok());
    bytes = write(window);
    EXPECT_EQ((std::vector<std::uint8_t>(bytes.begin() + 26, bytes.end())),
              (std::vector<std::uint8_t>{1, 1, 2, 2, 0, 3, 'N', 'u', 'm', 3, 5, 0, 1}));

    BargraphObject bar;
    bar.direction = 2;
    bar.minimum = 0x0102;
    bar.maximum = 0x0304;
    bytes = write(bar);
    EXPECT_EQ((std::vector<std::uint8_t>(bytes.begin() + 26, bytes.end())),
              (std::vector<std::uint8_t>{2, 2, 1, 4, 3}));
}

TEST(ScreenObject, CopiesAndEditValues) {
    Application app(500);
    Node* plc = must(app.addNode(plcNode(1)));
    Block* block = must(app.addBlock(*plc, std::make_unique<Block>("D0000", 10)));
    Tag* word = must(app.addTag(*block, registerTag("D0003")));

    DataEntryCoilObject coil;
    ASSERT_TRUE(coil.setTexts("Stop", "Run").ok());
    coil.setTag(word);
    coil.zLevel = 5;
    EditValues values;
    values.text = "kept";
    coil.LoadEditValues(values);
    EXPECT_EQ(values.onText, "Run");
    EXPECT_EQ(values.offText, "Stop");
    EXPECT_EQ(values.tag, word);
    EXPECT_EQ(values.text, "kept"); // fields of other kinds stay as they were

    auto copy = coil.clone();
    EXPECT_EQ(copy->kind(), ObjectKind::DataEntryCoil);
    EXPECT_EQ(copy->recordLength(), coil.recordLength());
    EXPECT_EQ(copy->tag(), word);
    EXPECT_EQ(copy->zLevel, 5);
    EXPECT_EQ(copy->screen(), nullptr);
    EXPECT_EQ(write(*copy), write(coil));
}
