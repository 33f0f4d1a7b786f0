#include "OvmRichApplication.h"
#include "persist/OvmLayout.h"
#include "persist/TextFormReader.h"
#include "persist/TextFormWriter.h"

#include <gtest/gtest.h>

namespace quillon::test {
namespace {

// Little-endian bytes for hand-built images.
struct Bytes {
    std::vector<std::uint8_t> b;
    Bytes& u8(unsigned v) {
        b.push_back(static_cast<std::uint8_t>(v));
        return *this;
    }
    Bytes& u16(unsigned v) { return u8(v & 0xFF).u8(v >> 8); }
    Bytes& u32(std::uint32_t v) { return u16(v & 0xFFFF).u16(v >> 16); }
    Bytes& text(std::string_view t) {
        b.insert(b.end(), t.begin(), t.end());
        return *this;
    }
    Bytes& add(const Bytes& other) {
        b.insert(b.end(), other.b.begin(), other.b.end());
        return *this;
    }
    Bytes& zeros(std::size_t n) {
        b.insert(b.end(), n, 0);
        return *this;
    }
};

// The counts of the header. The byte totals stay zero here: the reader reads records by their counts and
// compares the totals with what it read only once every record has been read, so a damaged record is
// reported by its own number; the images that read whole give their totals through sealed().
struct Counts {
    unsigned model = 20, nodes = 1, tags = 0, screens = 0, keys = 0, alarms = 0, powerOn = 0, global = 0;
    unsigned globalReadList = 0;
};

Bytes header(const Counts& c) {
    Bytes h;
    h.u32(0).u16(c.model).u16(c.nodes).u16(c.tags).u16(c.screens).u16(c.keys).u16(c.alarms).u16(c.powerOn);
    h.u16(c.global).u32(0).u32(0).u32(0).u32(0).u16(0).u16(0).u16(0).u16(13).u16(c.globalReadList).u32(0);
    return h;
}

Bytes settings(std::string_view password = {}) {
    Bytes s;
    s.text(password).zeros(8 - password.size());
    s.u8(1).u8(0).u8(0).u8(4).u8(4).u8(0).u8(0).u8(4).u8(1).u8(2).u8(80).u8(3).u8(2).u8(1).u8(0);
    s.zeros(64 - 23);
    return s;
}

// The unit's node with one block "UW000" of size 10 holding the word tag UW001.
Bytes unitNode(unsigned blocks = 1) {
    Bytes n;
    n.u32(10).u8(0).u8(0).u8(0).u8(1).u8('5').zeros(3).u16(blocks);
    if (blocks > 0) {
        n.u16(0).u8(5).text("UW000").u8(10).u8(1).u8(0);
        n.u8(11).u8(0).u8('2').u8('2').u8(0).u8(2).u8(0).text("UW001");
    }
    return n;
}

// The header's byte totals of an image that reads, written by hand from what each section holds; the
// image has no pictures, so the application size is its whole length.
struct Totals {
    std::uint32_t network = 0, screens = 0, keys = 0, alarms = 0;
};

Bytes sealed(Bytes image, const Totals& t) {
    const auto put = [&image](std::size_t at, std::uint32_t value, std::size_t bytes) {
        for (std::size_t i = 0; i < bytes; ++i) {
            image.b[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
        }
    };
    put(0, static_cast<std::uint32_t>(image.b.size()), 4);
    put(20, t.network, 4);
    put(28, t.screens, 4);
    put(32, t.keys, 4);
    put(36, t.alarms, 2);
    return image;
}

// Node record 14 bytes; block "UW000" 5 + 6; tag "UW001" 5 + 7.
constexpr std::uint32_t kUnitNodeBytes = 14;
constexpr std::uint32_t kUnitNodeWithTagBytes = 14 + 11 + 12;

Bytes prefix(const Counts& c, std::string_view password = {}) {
    Bytes b = header(c);
    b.add(settings(password));
    return b;
}

// A key entry with the three lists given.
Bytes key(const Bytes& press, unsigned pressCount, const Bytes& pressed = {}, unsigned pressedCount = 0) {
    Bytes k;
    const auto lists = press.b.size() + pressed.b.size();
    k.u32(static_cast<std::uint32_t>(17 + lists)).u16(5).u8(0).u16(0);
    k.u16(pressCount).u16(pressedCount).u16(0).u16(static_cast<unsigned>(press.b.size()));
    k.u16(static_cast<unsigned>(pressed.b.size())).u16(0);
    return k.add(press).add(pressed);
}

Bytes screenRecord(unsigned objects, unsigned keys = 0, unsigned beforeShowing = 0) {
    Bytes s;
    s.u32(32).u16(1).u16(0).u8(objects).u8(0).u16(keys).u16(beforeShowing).u16(0).u16(0);
    s.u32(0).u32(0).u16(0).u16(0).u16(0).u8(0).u16(0).u8(0);
    return s;
}

Bytes objectCommon(unsigned kind) {
    Bytes o;
    o.u32(0).u8(kind).u16(0).u16(0).u16(1).u16(1).u8(1).u8(0).u8(0).u8(100).u8(0).u8(0).u8(3).u8(0).u8(0);
    return o.zeros(4); // no main tag
}

const Bytes kGoodTask = Bytes{}.u8(4).u8(1).u8(0).u16(1); // goto screen 1
const Bytes kBadKind = Bytes{}.u8(2).u8(99).u8(0);        // no such kind
const Bytes kMissingTag =
    Bytes{}.u8(8).u8(2).u8(0).u8(0).u16(5).u8(0).u16(1); // write value to a tag of block 5

class ReaderErrors : public ::testing::Test {
protected:
    // The error number the reader reports, 0 when it reports nothing; -1 when it reads the image.
    int errorOf(const Bytes& image) {
        f.prompter.clear();
        auto read = f.read(image.b);
        if (read) {
            return -1;
        }
        EXPECT_EQ(read.code() == 0, f.prompter.empty());
        if (read.code() != 0) {
            EXPECT_EQ(f.prompter.last().text, "FileOpen_Error:" + std::to_string(read.code()));
            EXPECT_EQ(f.prompter.last().title, "Quillon : Error");
        }
        return read.code();
    }
    OvmFixture f;
};

TEST_F(ReaderErrors, HeaderSettingsAndNetwork) {
    EXPECT_EQ(errorOf(Bytes{}.zeros(49)), 0);
    EXPECT_EQ(errorOf(header(Counts{}).zeros(63)), 1025);
    EXPECT_EQ(errorOf(sealed(prefix(Counts{}).add(unitNode(0)).zeros(13), {kUnitNodeBytes})), -1);
    EXPECT_EQ(errorOf(prefix(Counts{}).add(Bytes{}.u32(10).u8(0).u8(0))), 1018);
    // A PLC whose catalog file does not exist.
    EXPECT_EQ(
        errorOf(prefix(Counts{}).add(Bytes{}.u32(10).u8(1).u8(3).u8(200).u8(1).u8('5').zeros(3).u16(0))),
        1018);
    // Node kind 3 does not exist.
    EXPECT_EQ(errorOf(prefix(Counts{}).add(Bytes{}.u32(10).u8(3).u8(3).u8(1).u8(1).u8('5').zeros(3).u16(0))),
              1018);
    EXPECT_EQ(errorOf(prefix(Counts{}).add(
                  Bytes{}.u32(10).u8(0).u8(0).u8(0).u8(1).u8('5').zeros(3).u16(1).u16(0).u8(5).text("UW0"))),
              1033);
    Bytes shortTag = prefix(Counts{});
    shortTag.add(Bytes{}
                     .u32(10)
                     .u8(0)
                     .u8(0)
                     .u8(0)
                     .u8(1)
                     .u8('5')
                     .zeros(3)
                     .u16(1)
                     .u16(0)
                     .u8(5)
                     .text("UW000")
                     .u8(10)
                     .u8(1)
                     .u8(0)
                     .u8(11)
                     .u8(0));
    EXPECT_EQ(errorOf(shortTag), 1032);
    Bytes tinyTag = prefix(Counts{});
    tinyTag.add(Bytes{}
                    .u32(10)
                    .u8(0)
                    .u8(0)
                    .u8(0)
                    .u8(1)
                    .u8('5')
                    .zeros(3)
                    .u16(1)
                    .u16(0)
                    .u8(5)
                    .text("UW000")
                    .u8(10)
                    .u8(1)
                    .u8(0)
                    .u8(3)
                    .zeros(3));
    EXPECT_EQ(errorOf(tinyTag), 1032);
}

TEST_F(ReaderErrors, ReadListsAndTaskLists) {
    Counts c;
    c.globalReadList = 3;
    EXPECT_EQ(errorOf(prefix(c).add(unitNode()).u8(0).u16(0)), 1005);
    c.globalReadList = 5;
    EXPECT_EQ(errorOf(prefix(c).add(unitNode()).u8(0).u16(1).u16(4)), 1005); // no block 4
    EXPECT_EQ(errorOf(prefix(c).add(unitNode()).u8(0).u16(0).u16(0)), 1005); // a zero count

    Counts t;
    t.powerOn = 1;
    EXPECT_EQ(errorOf(prefix(t).add(unitNode()).add(kBadKind)), 1034);
    EXPECT_EQ(errorOf(prefix(t).add(unitNode()).add(kMissingTag)), 1035);
    t.powerOn = 0;
    t.global = 2;
    EXPECT_EQ(errorOf(prefix(t).add(unitNode()).add(kGoodTask)), 1034);
}

TEST_F(ReaderErrors, GlobalAndScreenKeys) {
    Counts c;
    c.keys = 1;
    EXPECT_EQ(errorOf(prefix(c).add(unitNode()).u32(17).u16(5)), 0); // a cut key record has no report
    EXPECT_EQ(errorOf(prefix(c).add(unitNode()).add(key(kBadKind, 1))), 1010);
    EXPECT_EQ(errorOf(prefix(c).add(unitNode()).add(key(kGoodTask, 1, kBadKind, 1))), 1011);
    Bytes released = prefix(c).add(unitNode());
    released.u32(17 + 5).u16(5).u8(0).u16(0).u16(0).u16(0).u16(1).u16(0).u16(0).u16(5).add(kMissingTag);
    EXPECT_EQ(errorOf(released), 1012);
    Bytes mismatch = prefix(c).add(unitNode());
    mismatch.u32(99).u16(5).u8(0).u16(0).u16(1).u16(0).u16(0).u16(5).u16(0).u16(0).add(kGoodTask);
    EXPECT_EQ(errorOf(mismatch), 1016);
    // A key record is 21 bytes; the goto task 5.
    EXPECT_EQ(errorOf(sealed(prefix(c).add(unitNode()).add(key(kGoodTask, 1)).zeros(13),
                             {.network = kUnitNodeWithTagBytes, .keys = 21 + 5})),
              -1);

    Counts s;
    s.screens = 1;
    EXPECT_EQ(errorOf(prefix(s).add(unitNode()).add(screenRecord(0, 1)).add(key(kBadKind, 1))), 1013);
    EXPECT_EQ(errorOf(prefix(s).add(unitNode()).add(screenRecord(0, 1)).add(key(kGoodTask, 1, kBadKind, 1))),
              1014);
    Bytes screenMismatch = prefix(s).add(unitNode()).add(screenRecord(0, 1));
    screenMismatch.u32(17).u16(5).u8(0).u16(0).u16(1).u16(0).u16(0).u16(5).u16(0).u16(0).add(kGoodTask);
    EXPECT_EQ(errorOf(screenMismatch), 1016);
}

TEST_F(ReaderErrors, ScreensAlarmsAndLogger) {
    Counts s;
    s.screens = 1;
    EXPECT_EQ(errorOf(prefix(s).add(unitNode()).u32(32).u16(1)), 1031);
    Bytes associated = prefix(s).add(unitNode());
    associated.u32(34).u16(1).u16(0).u8(0).u8(0).zeros(22).u8(0).u16(0).u8(1).u8(2); // one byte of two
    EXPECT_EQ(errorOf(associated), 1031);
    EXPECT_EQ(errorOf(prefix(s).add(unitNode()).add(screenRecord(0, 0, 1)).add(kBadKind)), 1034);
    EXPECT_EQ(errorOf(sealed(prefix(s).add(unitNode()).add(screenRecord(0)).zeros(13),
                             {.network = kUnitNodeWithTagBytes, .screens = 36})),
              -1);

    Counts a;
    a.alarms = 1;
    EXPECT_EQ(errorOf(prefix(a).add(unitNode()).u8(0).u8(1).u8(0)), 1002);
    EXPECT_EQ(errorOf(prefix(a).add(unitNode()).u8(0).u8(0).u8(7).u8(0).u8(0).text("Too")), 1002);
    // Tag mode and group count 2, the text 3 + 3.
    EXPECT_EQ(errorOf(sealed(prefix(a).add(unitNode()).u8(0).u8(0).u8(5).u8(0).u8(0).text("Too").zeros(13),
                             {.network = kUnitNodeWithTagBytes, .alarms = 2 + 3 + 3})),
              -1);
    EXPECT_EQ(errorOf(prefix(Counts{}).add(unitNode()).zeros(12)), 1017);
}

TEST_F(ReaderErrors, AlarmTextsAreReadAsStoredUpToFiftyFourCharacters) {
    // Model 20 edits at most 16 characters per text; a file may hold more, up to the table's 54.
    Counts a;
    a.alarms = 1;
    const auto image = [&a](const std::string& text) {
        return sealed(
            prefix(a)
                .add(unitNode())
                .u8(0)
                .u8(0)
                .u8(static_cast<unsigned>(text.size() + 2))
                .u8(3)
                .u8(1)
                .text(text)
                .zeros(13),
            {.network = kUnitNodeWithTagBytes, .alarms = static_cast<std::uint32_t>(2 + 3 + text.size())});
    };
    for (std::size_t length : {16U, 17U, 54U}) {
        const std::string text(length, 'A');
        f.prompter.clear();
        auto read = f.read(image(text).b);
        ASSERT_TRUE(read) << length;
        EXPECT_EQ((*read)->alarmsIfAny()->text(3), text);
        EXPECT_EQ((*read)->alarmsIfAny()->options(3), 1);
        // 2 + the entry of group 0, in use though it has no tag + one text of length + 3.
        EXPECT_EQ((*read)->totals().alarmBytes, 2 + 5 + length + 3);
    }
    // Beyond what any alarm text can hold the image is not one the unit or the tool made.
    EXPECT_EQ(errorOf(image(std::string(55, 'A'))), 1002);
}

TEST_F(ReaderErrors, BlocksOfANodeOutOfAddressOrderAreRefused) {
    const auto twoBlocks = [](std::string_view first, std::string_view second) {
        return sealed(prefix(Counts{})
                          .u32(10 + 2 * 11)
                          .u8(0)
                          .u8(0)
                          .u8(0)
                          .u8(1)
                          .u8('5')
                          .zeros(3)
                          .u16(2)
                          .u16(9)
                          .u8(5)
                          .text(first)
                          .u8(10)
                          .u8(0)
                          .u8(0)
                          .u16(9)
                          .u8(5)
                          .text(second)
                          .u8(10)
                          .u8(0)
                          .u8(0)
                          .zeros(13),
                      {14 + 2 * 11});
    };
    EXPECT_EQ(errorOf(twoBlocks("UW000", "UW100")), -1);
    // Tag references count blocks in file order: a node whose blocks come out of order cannot be kept.
    EXPECT_EQ(errorOf(twoBlocks("UW100", "UW000")), 1033);
}

TEST_F(ReaderErrors, APlcNodeIsRebuiltOnlyWhenItsPlcIsSelected) {
    const Bytes image = sealed(
        prefix(Counts{}).add(Bytes{}.u32(10).u8(1).u8(3).u8(1).u8(1).u8('5').zeros(3).u16(0)).zeros(13),
        {kUnitNodeBytes});
    const auto plc = f.folder() / "plc";
    // The node takes its PLC name from the selected list, trailing blanks removed.
    TempFolder::writeText(plc / "orvk_sel.PLC", "Chosen Modbus  |1|\nSiemens Step-7 Micro|2|\n");
    f.prompter.clear();
    auto read = f.read(image.b);
    ASSERT_TRUE(read) << read.message();
    EXPECT_EQ((*read)->nodes()[0]->plcName, "Chosen Modbus");
    EXPECT_TRUE(f.prompter.empty());

    // Supported but not selected: the user is told, and the node, hence the application, is not rebuilt.
    TempFolder::writeText(plc / "orvk_sel.PLC", "Siemens Step-7 Micro|2|\n");
    f.prompter.clear();
    auto refused = f.read(image.b);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.code(), 1018);
    ASSERT_EQ(f.prompter.prompts().size(), 2U);
    EXPECT_EQ(f.prompter.prompts()[0].text,
              "The PLC in the selected Application is not selected\nin the Configuration system.");
    EXPECT_EQ(f.prompter.prompts()[0].title, "Quillon : Information");
    EXPECT_EQ(f.prompter.prompts()[1].text, "FileOpen_Error:1018");
}

TEST_F(ReaderErrors, EveryObjectKindCutShortReportsItsNumber) {
    Counts c;
    c.screens = 1;
    c.model = 520;
    const std::vector<std::pair<unsigned, int>> kinds{
        {0, 1020},  {1, 1036},  {2, 1007},  {3, 1008},  {4, 1026},  {5, 1027},
        {6, 1029},  {7, 1037},  {8, 1006},  {10, 1019}, {11, 1019}, {12, 1019},
        {13, 1024}, {14, 1022}, {16, 1001}, {17, 1038}, {21, 1004}, {15, 0}};
    for (const auto& [kind, number] : kinds) {
        EXPECT_EQ(errorOf(prefix(c).add(unitNode()).add(screenRecord(1)).add(objectCommon(kind))), number)
            << "kind " << kind;
    }
    // Cut before the main tag: the kind's own number.
    Bytes noTag = prefix(c).add(unitNode()).add(screenRecord(1));
    noTag.add(objectCommon(1));
    noTag.b.resize(noTag.b.size() - 2);
    EXPECT_EQ(errorOf(noTag), 1036);
    // A cut common part has no report; so has a kind that does not exist.
    Bytes cut = prefix(c).add(unitNode()).add(screenRecord(1)).u32(0).u8(1);
    EXPECT_EQ(errorOf(cut), 0);
    EXPECT_EQ(errorOf(prefix(c).add(unitNode()).add(screenRecord(1)).add(objectCommon(18))), 1031);
    // Points and filling bytes.
    EXPECT_EQ(errorOf(prefix(c).add(unitNode()).add(screenRecord(1)).add(objectCommon(10)).u8(1).u8(5)),
              1019);
    EXPECT_EQ(
        errorOf(prefix(c).add(unitNode()).add(screenRecord(1)).add(objectCommon(13)).u8(2).u16(1).u16(1)),
        1021);
    EXPECT_EQ(errorOf(prefix(c).add(unitNode()).add(screenRecord(1)).add(objectCommon(14)).u8(1).u8(0)),
              1021);
    EXPECT_EQ(errorOf(prefix(c).add(unitNode()).add(screenRecord(1)).add(objectCommon(14)).u8(1).u8(1)),
              1019);
    // A touch area whose list bytes differ from the tasks read.
    Bytes touch = prefix(c).add(unitNode()).add(screenRecord(1)).add(objectCommon(17));
    touch.u16(1).u16(0).u16(0).u16(9).u16(0).u16(0).add(kGoodTask);
    EXPECT_EQ(errorOf(touch), 1038);
    Bytes touchTask = prefix(c).add(unitNode()).add(screenRecord(1)).add(objectCommon(17));
    touchTask.u16(1).u16(0).u16(0).u16(5).u16(0).u16(0).add(kMissingTag);
    EXPECT_EQ(errorOf(touchTask), 1035);
    // The old bargraph record with single-byte fields reads: 26 bytes of head and main tag, 3 of fields,
    // in a screen entry of 36 + 29 bytes.
    Bytes old =
        prefix(c).add(unitNode()).add(screenRecord(1)).add(objectCommon(15)).u8(1).u8(2).u8(3).zeros(13);
    const std::size_t screenAt = 50 + 64 + kUnitNodeWithTagBytes;
    old.b[screenAt] = 36 + 29 - 4; // entry length
    old.b[screenAt + 18] = 29;     // object bytes
    old.b[screenAt + 36] = 29;     // the record's length
    EXPECT_EQ(errorOf(sealed(old, {.network = kUnitNodeWithTagBytes, .screens = 36 + 29})), -1);
}

// A header whose totals disagree with the records that follow is refused, with the error number of the
// section and what disagrees; the unit goes by the totals and would read such an image out of place.
TEST_F(ReaderErrors, HeaderTotalsThatDisagreeWithTheRecordsAreReported) {
    std::vector<std::string> explained;
    const auto refusal = [&](const Bytes& image) {
        explained.clear();
        ReadContext context = f.readContext();
        context.explain = [&explained](const std::string& detail) { explained.push_back(detail); };
        auto read = ApplicationReader::read(image.b, context);
        return read ? -1 : read.code();
    };
    const Bytes plain = prefix(Counts{}).add(unitNode()).zeros(13);
    EXPECT_EQ(refusal(sealed(plain, {kUnitNodeWithTagBytes})), -1);
    EXPECT_TRUE(explained.empty());
    EXPECT_EQ(refusal(sealed(plain, {kUnitNodeWithTagBytes - 1})), 1018);
    EXPECT_EQ(explained, std::vector<std::string>{"The network took 37 bytes where the header gives 36."});
    EXPECT_EQ(refusal(sealed(plain, {kUnitNodeWithTagBytes + 1})), 1018);

    // A screen whose task list takes 5 bytes where its entry gives 65535.
    Counts s;
    s.screens = 1;
    Bytes list = prefix(s).add(unitNode()).add(screenRecord(0, 0, 1)).add(kGoodTask).zeros(13);
    const std::size_t screenAt = 50 + 64 + kUnitNodeWithTagBytes;
    list.b[screenAt] = 36 + 5 - 4;
    list.b[screenAt + 26] = 5;
    EXPECT_EQ(refusal(sealed(list, {.network = kUnitNodeWithTagBytes, .screens = 36 + 5})), -1);
    list.b[screenAt + 26] = 0xFF;
    list.b[screenAt + 27] = 0xFF;
    EXPECT_EQ(refusal(sealed(list, {.network = kUnitNodeWithTagBytes, .screens = 36 + 5})), 1034);
    EXPECT_EQ(explained,
              std::vector<std::string>{"A screen's task list took 5 bytes where the header gives 65535."});

    // An object record whose length field (1) is shorter than its own head.
    Counts c;
    c.screens = 1;
    Bytes object =
        prefix(c).add(unitNode()).add(screenRecord(1)).add(objectCommon(15)).u8(1).u8(2).u8(3).zeros(13);
    object.b[screenAt] = 36 + 29 - 4;
    object.b[screenAt + 18] = 29;
    object.b[screenAt + 36] = 1;
    EXPECT_EQ(refusal(sealed(object, {.network = kUnitNodeWithTagBytes, .screens = 36 + 29})), 1031);
    EXPECT_EQ(explained,
              std::vector<std::string>{"An object record took 29 bytes where its length gives 1."});
    object.b[screenAt + 36] = 28;
    EXPECT_EQ(refusal(sealed(object, {.network = kUnitNodeWithTagBytes, .screens = 36 + 29})), 1031);
    object.b[screenAt + 36] = 29;
    EXPECT_EQ(refusal(sealed(object, {.network = kUnitNodeWithTagBytes, .screens = 36 + 29})), -1);

    // Picture data of 16 MiB that the image does not hold, though the two sizes of the header agree.
    Bytes pictures = sealed(plain, {kUnitNodeWithTagBytes});
    const std::uint32_t size = static_cast<std::uint32_t>(pictures.b.size()) + 0x1000000;
    pictures.b[0] = static_cast<std::uint8_t>(size);
    pictures.b[1] = static_cast<std::uint8_t>(size >> 8);
    pictures.b[2] = static_cast<std::uint8_t>(size >> 16);
    pictures.b[3] = static_cast<std::uint8_t>(size >> 24);
    pictures.b[46 + 3] = 0x01;
    EXPECT_EQ(refusal(pictures), 1020);
    EXPECT_EQ(explained,
              std::vector<std::string>{"The image ends at offset 164 inside the picture data (16777216 "
                                       "bytes given)."});
    // An application size one byte off.
    Bytes size1 = sealed(plain, {kUnitNodeWithTagBytes});
    size1.b[0] += 1;
    EXPECT_EQ(refusal(size1), 1020);
    EXPECT_EQ(explained, std::vector<std::string>{"The records end at offset 164 where the header gives an "
                                                  "application size of 165."});
}

// A tag whose type and read-write codes name nothing the editors know is kept as the file holds it; the
// text form writes each code as its byte's character and reads it back to the same byte.
TEST_F(ReaderErrors, UnknownTagCodesAreKeptAndSurviveTheTextForm) {
    Bytes image = prefix(Counts{}).add(unitNode()).zeros(13);
    const std::size_t tagAt = 50 + 64 + 14 + 11;
    ASSERT_EQ(image.b[tagAt + 2], '2');
    image.b[tagAt + 2] = 0xFF; // type
    image.b[tagAt + 3] = 0xFF; // read-write
    auto read = f.read(sealed(image, {kUnitNodeWithTagBytes}).b);
    ASSERT_TRUE(read) << read.message();
    const Tag& tag = *(*read)->tags().begin();
    EXPECT_EQ(tag.type(), '\xFF');
    EXPECT_EQ(tag.readWrite, '\xFF');
    auto text = TextFormWriter::write(**read, nullptr);
    ASSERT_TRUE(text) << text.message();
    EXPECT_NE(text->find("\"type\": \"\xC3\xBF\",\n"), std::string::npos) << *text;
    EXPECT_NE(text->find("\"readWrite\": \"\xC3\xBF\",\n"), std::string::npos);
    auto again = TextFormReader::read(*text, TextFormContext{f.catalogs(), f.prompter, nullptr});
    ASSERT_TRUE(again) << again.message();
    EXPECT_EQ((*again)->tags().begin()->type(), '\xFF');
    EXPECT_EQ((*again)->tags().begin()->readWrite, '\xFF');
}

TEST_F(ReaderErrors, PasswordIsAskedAgainAfterAWrongEntryAndCancelEndsWithoutReport) {
    const Bytes image = sealed(prefix(Counts{}, "Abc").add(unitNode()).zeros(13), {kUnitNodeWithTagBytes});
    std::vector<std::string> answers{"abc", "Abc"};
    std::size_t asked = 0;
    ReadContext context = f.readContext();
    context.password = [&]() -> std::optional<std::string> {
        return asked < answers.size() ? std::optional<std::string>(answers[asked++]) : std::nullopt;
    };
    auto read = ApplicationReader::read(image.b, context);
    ASSERT_TRUE(read);
    EXPECT_EQ(asked, 2U);
    EXPECT_EQ(f.prompter.texts(), std::vector<std::string>{"Incorrect Password."});
    EXPECT_EQ((*read)->password(), "Abc");

    f.prompter.clear();
    asked = 2;
    auto cancelled = ApplicationReader::read(image.b, context);
    EXPECT_FALSE(cancelled);
    EXPECT_EQ(cancelled.code(), 0);
    EXPECT_TRUE(f.prompter.empty());
}

TEST_F(ReaderErrors, AnImageWithoutMarkerReadsWithEmptyNames) {
    auto app = Application::create(20, f.prompter);
    f.network(*app);
    auto bytes = f.prepareAndWrite(*app);
    bytes[app->totals().applicationSize + 2] = 0;
    auto read = f.read(bytes);
    ASSERT_TRUE(read);
    EXPECT_EQ((*read)->tagCount(), app->tagCount());
    for (const Tag& t : (*read)->tags()) {
        EXPECT_TRUE(t.name.empty());
    }
    EXPECT_TRUE((*read)->nodes()[1]->name.empty());
}

TEST_F(ReaderErrors, EveryCutOfARichImageFailsCleanly) {
    auto app = Application::create(510, f.prompter);
    const auto n = f.network(*app);
    addRichContent(f, *app, n);
    const auto bytes = f.prepareAndWrite(*app);
    // Cutting inside the unit's image always fails; cutting inside the extension keeps what came before.
    for (std::size_t cut = 0; cut < bytes.size(); cut += 7) {
        std::vector<std::uint8_t> part(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut));
        auto read = f.read(part);
        EXPECT_EQ(read.ok(), cut >= app->totals().applicationSize) << "cut at " << cut;
    }
}

} // namespace
} // namespace quillon::test
