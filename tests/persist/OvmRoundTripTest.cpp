#include "OvmRichApplication.h"
#include "persist/OvmLayout.h"

#include <gtest/gtest.h>

namespace quillon::test {
namespace {

std::uint32_t u32At(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
std::uint16_t u16At(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

class RoundTrip : public ::testing::TestWithParam<std::uint16_t> {};

TEST_P(RoundTrip, WriteReadWriteGivesTheSameBytesAndTheSameDocument) {
    OvmFixture f;
    auto app = Application::create(GetParam(), f.prompter);
    ASSERT_TRUE(app);
    const auto n = f.network(*app);
    addRichContent(f, *app, n);
    ASSERT_TRUE(app->checkConsistency()) << app->checkConsistency().message();
    const auto first = f.prepareAndWrite(*app);
    ASSERT_TRUE(app->checkConsistency()) << app->checkConsistency().message();

    // The image up to the picture data is exactly what the totals count, and the extension offset points
    // at the marker right after it.
    EXPECT_EQ(u32At(first, 0), app->totals().applicationSize);
    EXPECT_EQ(u32At(first, OvmLayout::kExtensionPatchOffset), app->totals().applicationSize);
    EXPECT_EQ(first[app->totals().applicationSize + 2], 0xFF);
    EXPECT_EQ(u16At(first, 4), GetParam());

    auto read = f.read(first);
    ASSERT_TRUE(read) << read.message();
    EXPECT_TRUE(f.prompter.empty()) << f.prompter.texts().front();
    Application& back = **read;
    ASSERT_TRUE(back.checkConsistency()) << back.checkConsistency().message();
    EXPECT_EQ(back.totals(), app->totals());
    const auto second = f.write(back);
    ASSERT_EQ(second.size(), first.size());
    EXPECT_EQ(second, first);

    // What the unit does not keep comes back from the extension section.
    EXPECT_EQ(back.info().title, "Line 4");
    EXPECT_EQ(back.info().description, "Every record of the image.");
    EXPECT_EQ(back.password(), OvmFixture::kPassword);
    EXPECT_EQ(back.nodes()[1]->name, "Node1");
    EXPECT_EQ(back.nodes()[1]->blocks()[1]->name, "Hold1"); // after "00001"
    EXPECT_EQ(back.findScreen(2)->name, "Screen2");
    EXPECT_EQ(back.findScreen(2)->associated(), std::optional<std::uint16_t>(1));
    ASSERT_TRUE(back.findGlobalKey(1)->legend);
    EXPECT_EQ(back.findGlobalKey(1)->legend->line2, "Pump");
    EXPECT_EQ(back.findGlobalKey(2 + 256 * 3)->legend->bitmapName, "arrow.bmp");
    EXPECT_FALSE(back.findGlobalKey(9)->legend);
    EXPECT_EQ(back.logger().frequency, 30);
    EXPECT_EQ(back.logger().pageHeader, "Tank log");
    ASSERT_EQ(back.logger().tags.size(), 2U);
    EXPECT_EQ(back.logger().tags[1]->address(), "UW004");
    ASSERT_NE(back.alarmsIfAny(), nullptr);
    EXPECT_EQ(back.alarmsIfAny()->text(200), "Overtemp");
    EXPECT_EQ(back.alarmsIfAny()->groupTag(3)->address(), "UW001");

    // Every object came back with its tags, the unit's 8-byte tag included.
    const Screen& s1 = *back.findScreen(1);
    std::size_t tagged = 0;
    for (const auto& o : s1.objects()) {
        tagged += o->tag() != nullptr ? 1 : 0;
        if (o->showHide()) {
            EXPECT_NE(o->showHide()->tag, nullptr);
        }
        if (o->flashAnimation()) {
            EXPECT_NE(o->flashAnimation()->tag, nullptr);
        }
    }
    std::size_t expected = 0;
    for (const auto& o : app->findScreen(1)->objects()) {
        expected += o->tag() != nullptr ? 1 : 0;
    }
    EXPECT_EQ(tagged, expected);
}

INSTANTIATE_TEST_SUITE_P(AllModels, RoundTrip,
                         ::testing::Values(10, 12, 15, 20, 30, 40, 41, 42, 480, 500, 510, 520));

TEST(OvmWriter, NewApplicationWithOneNodeIs141BytesWithTheExtensionRightAfter) {
    OvmFixture f;
    auto app = Application::create(20, f.prompter);
    must(app->addNode(Node::createUnitNode()));
    const auto bytes = f.prepareAndWrite(*app);
    EXPECT_EQ(app->totals().applicationSize, 141U);
    EXPECT_EQ(u32At(bytes, 0), 141U);
    EXPECT_EQ(u32At(bytes, 104), 141U);
    EXPECT_EQ(u16At(bytes, 14), 0U); // no alarm texts
    EXPECT_TRUE(std::equal(OvmLayout::kExtensionMarker.begin(), OvmLayout::kExtensionMarker.end(),
                           bytes.begin() + 141));
    // The logger placeholder is 13 zero bytes just before it.
    EXPECT_TRUE(std::all_of(bytes.begin() + 128, bytes.begin() + 141, [](std::uint8_t b) { return b == 0; }));
}

TEST(OvmWriter, ATagWithoutNameStopsTheSaveBeforeAnyByteIsWritten) {
    OvmFixture f;
    auto app = Application::create(20, f.prompter);
    Node& unit = *must(app->addNode(Node::createUnitNode()));
    Block& b = OvmFixture::block(*app, unit, "UW000", 4);
    must(app->addTag(b, OvmFixture::reg("UW001", 2)));
    const auto file = f.folder() / "line.ovm";
    TempFolder::writeText(file, "old contents");
    EXPECT_FALSE(ApplicationWriter::save(*app, file, f.writeContext()));
    EXPECT_EQ(f.prompter.texts(), (std::vector<std::string>{"Tag's name not defined",
                                                            "Can not save the applicaion.\nTry again."}));
    EXPECT_EQ(TempFolder::readText(file), "old contents");
}

TEST(OvmWriter, DataEntryObjectsComeFirstAndCharacterModelsSnapToCells) {
    OvmFixture f;
    auto app = Application::create(20, f.prompter);
    const auto n = f.network(*app);
    Screen& screen = *must(app->addScreen(std::make_unique<Screen>(1)));
    auto text = std::make_unique<TextObject>();
    must(text->setText("A"));
    text->left = 128;
    text->top = 12;
    text->right = 139;
    text->bottom = 27;
    ScreenObject& t = *must(screen.appendObject(std::move(text)));
    auto entry = std::make_unique<DataEntryRegisterObject>();
    ScreenObject& e = *must(screen.appendObject(std::move(entry)));
    e.setTag(n.word);
    const auto bytes = f.prepareAndWrite(*app);
    // The snapped coordinates replace the object's own.
    EXPECT_EQ(t.left, 132);
    EXPECT_EQ(t.top, 16);
    EXPECT_EQ(screen.objects()[0].get(), &e);
    const std::size_t objects = 50 + 64 + app->totals().networkBytes + app->totals().globalReadListBytes +
                                36 + screen.readListBytes();
    EXPECT_EQ(bytes[objects + 4], static_cast<std::uint8_t>(ObjectKind::DataEntryRegister));
    EXPECT_EQ(bytes[objects + 13], 1); // its sequence number
    const std::size_t second = objects + e.recordLength();
    EXPECT_EQ(bytes[second + 4], static_cast<std::uint8_t>(ObjectKind::Text));
    EXPECT_EQ(u16At(bytes, second + 5), 11); // column of x 132
    EXPECT_EQ(u16At(bytes, second + 7), 1);  // row of y 16
}

TEST(OvmWriter, AWordTagIsCodedByItsPositionInTheScreensReadBuffer) {
    OvmFixture f;
    auto app = Application::create(480, f.prompter);
    const auto n = f.network(*app);
    Screen& screen = *must(app->addScreen(std::make_unique<Screen>(3)));
    // Blocks 40001 (size 10) and 40101 are read for the screen; 40104 lies 3 registers into the second.
    auto first = std::make_unique<DisplayRegisterObject>();
    must(screen.appendObject(std::move(first)))->setTag(n.word);
    auto second = std::make_unique<DisplayRegisterObject>();
    must(screen.appendObject(std::move(second)))->setTag(n.word2);
    const auto bytes = f.prepareAndWrite(*app);
    const std::size_t objects = 50 + 64 + app->totals().networkBytes + app->totals().globalReadListBytes +
                                36 + screen.readListBytes();
    const std::size_t code = objects + screen.objects()[0]->recordLength() + 22;
    EXPECT_EQ(bytes[code], 'w');
    EXPECT_EQ(u16At(bytes, code + 1), 13);
    EXPECT_EQ(bytes[objects + 22], 'w');
    EXPECT_EQ(u16At(bytes, objects + 23), 2);
}

TEST(OvmReader, BlocksOfAnyAddressWidthAndTheUnitsEightByteTagsReadBack) {
    OvmFixture f;
    auto app = Application::create(40, f.prompter);
    const auto n = f.network(*app);
    // The unit's model code says five characters; this block has seven.
    Block& wide = OvmFixture::block(*app, *app->unitNode(), "UW00100", 2);
    Tag* t = must(app->addTag(wide, OvmFixture::reg("UW00101", 2)));
    t->name = "Wide";
    Screen& screen = *must(app->addScreen(std::make_unique<Screen>(1)));
    must(screen.appendObject(std::make_unique<DisplayRegisterObject>()))->setTag(n.unitEight);
    const auto bytes = f.prepareAndWrite(*app);
    auto read = f.read(bytes);
    ASSERT_TRUE(read) << read.message();
    EXPECT_EQ((*read)->unitNode()->blocks().back()->address(), "UW00100");
    ASSERT_NE((*read)->findScreen(1)->objects()[0]->tag(), nullptr);
    EXPECT_EQ((*read)->findScreen(1)->objects()[0]->tag()->address(), "UW008");
    EXPECT_EQ(f.write(**read), bytes);
}

TEST(OvmReader, AnExtensionOffsetBeyondTheHeaderSizeMovesTheBitmapOffsets) {
    OvmFixture f;
    auto app = Application::create(520, f.prompter);
    addRichContent(f, *app, f.network(*app));
    auto bytes = f.prepareAndWrite(*app);
    const std::uint32_t a = app->totals().applicationSize;
    const std::uint32_t pictureStart = a - app->totals().pictureBytes;
    ASSERT_GT(app->totals().pictureBytes, 0U);
    // Ten bytes that no bitmap names, before the picture data; the extension follows 10 bytes later.
    bytes.insert(bytes.begin() + pictureStart, 10, 0x55);
    const std::uint32_t e = a + 10;
    for (std::size_t i = 0; i < 4; ++i) {
        bytes[104 + i] = static_cast<std::uint8_t>(e >> (8 * i));
    }
    auto read = f.read(bytes);
    ASSERT_TRUE(read) << read.message();
    EXPECT_EQ((*read)->totals().pictureBytes, app->totals().pictureBytes + 10);
    const auto pictureOf = [](const Application& x) {
        for (const auto& o : x.findScreen(1)->objects()) {
            if (o->kind() == ObjectKind::Bitmap) {
                return static_cast<const BitmapObject&>(*o).pictureId();
            }
        }
        return 9999U;
    };
    EXPECT_EQ(pictureOf(**read), pictureOf(*app));
}

TEST(OvmTrace, WriterAndReaderTraceEveryTagCodeInTheWorkingFolder) {
    OvmFixture f;
    auto app = Application::create(480, f.prompter);
    const auto n = f.network(*app);
    Screen& screen = *must(app->addScreen(std::make_unique<Screen>(3)));
    must(screen.appendObject(std::make_unique<DisplayRegisterObject>()))->setTag(n.word);
    must(prepareForWrite(*app, &f.library(), f.prompter));
    WriteContext w = f.writeContext();
    w.traceFolder = f.folder().path();
    auto bytes = ApplicationWriter::write(*app, w);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(TempFolder::readText(f.folder() / "DtoI.txt"), "00003 001     40003 w 002 000 000\n");
    ReadContext r = f.readContext();
    r.traceFolder = f.folder().path();
    ASSERT_TRUE(ApplicationReader::read(*bytes, r));
    EXPECT_EQ(TempFolder::readText(f.folder() / "ItoD.txt"), "    3   1     40003 w   2   0   0\n");
    EXPECT_TRUE(f.prompter.empty()) << f.prompter.texts().front();
}

} // namespace
} // namespace quillon::test
