#include "edit/define/TagEditor.h"

#include "edit/define/NetworkEditor.h"
#include "model/Block.h"
#include "model/Node.h"
#include "plc/EditorFixture.h"

#include <gtest/gtest.h>
#include <random>

using namespace quillon;
using quillon::test::EditorFixture;

namespace {

// Modbus standard model: 0 coils "0" (read-write), 1 discrete inputs "1" (read-only), 2 input registers
// "3" (read-only), 3 holding registers "4" (read-write); 2-byte registers, blocks of up to 125, 0001-9999.
constexpr std::size_t kCoils = 0;
constexpr std::size_t kInputs = 1;
constexpr std::size_t kInputRegisters = 2;
constexpr std::size_t kHolding = 3;
constexpr int kAllenBradley = 0;
constexpr int kSiemens = 7;

struct Tags : EditorFixture {
    explicit Tags(int plc = 5)
        : network(*app, *catalogs, driversDir(), prompter), editor(*app, *catalogs, prompter) {
        network.open();
        auto draft = *network.beginAdd();
        if (plc != network.chosenPlcPosition()) {
            (void)network.choosePlc(plc);
        }
        draft.plcPosition = plc;
        node = network.apply(draft, nullptr).node;
        editor.selectNode(node);
        prompter.clear();
    }

    TagDraft draft(std::size_t area, const std::string& part, const std::string& name,
                   bool registerKind = true) {
        TagDraft d = editor.draftFor(area, registerKind);
        d.parts[0] = part;
        d.name = name;
        return d;
    }
    Tag* add(std::size_t area, const std::string& part, const std::string& name, std::uint8_t bytes = 2,
             std::uint8_t select = 0) {
        TagDraft d = draft(area, part, name);
        d.byteCount = bytes;
        d.byteSelect = select;
        return editor.add(d);
    }
    std::vector<std::string> blockLines() const {
        std::vector<std::string> out;
        for (const auto& b : node->blocks()) {
            out.push_back(b->tableLine());
        }
        return out;
    }

    NetworkEditor network;
    TagEditor editor;
    Node* node = nullptr;
};

} // namespace

TEST(TagEditor, AddFindsOrCreatesTheBlock) {
    Tags t;
    Tag* speed = t.add(kHolding, "0010", "Speed");
    ASSERT_NE(speed, nullptr);
    EXPECT_TRUE(t.prompter.empty());
    EXPECT_EQ(speed->address(), "40010");
    EXPECT_EQ(speed->type(), '2');
    EXPECT_EQ(speed->size, 2);
    EXPECT_EQ(speed->readWrite, '2');
    EXPECT_EQ(speed->prefix, "4");
    // The area's largest block, 40010 .. 40134.
    EXPECT_EQ(t.blockLines(), std::vector<std::string>{"\t40010\t125\tblock\t1"});
    ASSERT_NE(t.add(kHolding, "0134", "Level"), nullptr);
    EXPECT_EQ(t.node->blockCount(), 1u);
    // Before the first block: a new block that ends before it.
    ASSERT_NE(t.add(kHolding, "0005", "Early"), nullptr);
    EXPECT_EQ(t.blockLines(), (std::vector<std::string>{"\t40005\t005\tblock\t1", "\t40010\t125\tblock\t2"}));
    // Past the end of a block, and near the area's end: the registers left bound it.
    ASSERT_NE(t.add(kHolding, "0135", "After"), nullptr);
    ASSERT_NE(t.add(kHolding, "9997", "End"), nullptr);
    EXPECT_EQ(t.blockLines().back(), "\t49997\t003\tblock\t1");
    EXPECT_EQ(t.app->tagTableLines(t.prompter).front(), "\t00001\t001\t40005 : 005\t40005\t2\tEarly");
    EXPECT_TRUE(t.app->checkConsistency()) << t.app->checkConsistency().message();
}

TEST(TagEditor, FittedBlocksHoldTheirTagsAndGrowWithTheirNeighbours) {
    Tags t;
    t.editor.setFitBlocks(true);
    ASSERT_NE(t.add(kHolding, "0010", "Speed"), nullptr);
    EXPECT_EQ(t.blockLines(), std::vector<std::string>{"\t40010\t001\tblock\t1"});
    // The next register grows the block; a gap starts a block of its own.
    ASSERT_NE(t.add(kHolding, "0011", "Level"), nullptr);
    EXPECT_EQ(t.blockLines(), std::vector<std::string>{"\t40010\t002\tblock\t2"});
    ASSERT_NE(t.add(kHolding, "0013", "Flow"), nullptr);
    EXPECT_EQ(t.blockLines(), (std::vector<std::string>{"\t40010\t002\tblock\t2", "\t40013\t001\tblock\t1"}));
    // Filling the gap grows the first block up to the second, which stays as it is.
    ASSERT_NE(t.add(kHolding, "0012", "Gap"), nullptr);
    EXPECT_EQ(t.blockLines(), (std::vector<std::string>{"\t40010\t003\tblock\t3", "\t40013\t001\tblock\t1"}));
    // A 4-byte tag takes two registers at once.
    ASSERT_NE(t.add(kHolding, "0020", "Total", 4), nullptr);
    EXPECT_EQ(t.blockLines().back(), "\t40020\t002\tblock\t1");
    // A refused tag leaves the neighbour it would have grown as it was.
    t.prompter.clear();
    EXPECT_EQ(t.add(kHolding, "0022", "Speed"), nullptr);
    EXPECT_EQ(t.prompter.texts(), std::vector<std::string>{"Tag-name should be unique."});
    EXPECT_EQ(t.blockLines().back(), "\t40020\t002\tblock\t1");
    // A block the user made is never grown behind the user's back.
    auto made = std::make_unique<Block>("40600", 1);
    made->prefix = "4";
    made->name = "Mine";
    ASSERT_TRUE(t.app->addBlock(*t.node, std::move(made)));
    ASSERT_NE(t.add(kHolding, "0601", "Next"), nullptr);
    EXPECT_EQ(t.blockLines().back(), "\t40601\t001\tblock\t1");
    EXPECT_EQ(t.blockLines()[t.blockLines().size() - 2], "\t40600\t001\tMine\t0");
    EXPECT_TRUE(t.app->checkConsistency()) << t.app->checkConsistency().message();
    // Switched off, new blocks take the area's largest size again.
    t.editor.setFitBlocks(false);
    ASSERT_NE(t.add(kHolding, "1000", "Far"), nullptr);
    EXPECT_EQ(t.blockLines().back(), "\t41000\t125\tblock\t1");
}

TEST(TagEditor, RefusalsLeaveNoBlockBehind) {
    Tags t;
    ASSERT_NE(t.add(kHolding, "0010", "Speed"), nullptr);
    struct Case {
        std::string part, name, text, title;
        TagField focus;
    };
    const std::vector<Case> cases{
        {"0500", "", "Tag-name should be entered.", "Quillon : Error", TagField::Name},
        {"0500", "Speed", "Tag-name should be unique.", "Orvik : Error", TagField::Name},
        {"0010", "Other", "This tag is already defined.", "Quillon : Error", TagField::Address},
        {"0500", std::string(41, 'x'), "A Tag-name has at most 40 characters.", "Quillon : Error",
         TagField::Name},
        {"0000", "Low", "The address is not in the Tag Range.", "Quillon : Error", TagField::Address},
    };
    for (const Case& c : cases) {
        t.prompter.clear();
        TagField focus = TagField::None;
        EXPECT_EQ(t.editor.add(t.draft(kHolding, c.part, c.name), &focus), nullptr) << c.text;
        ASSERT_EQ(t.prompter.texts(), std::vector<std::string>{c.text});
        EXPECT_EQ(t.prompter.last().title, c.title);
        EXPECT_EQ(focus, c.focus);
        EXPECT_EQ(t.node->blockCount(), 1u);
        EXPECT_EQ(t.app->tagCount(), 1u);
    }
    // An empty block the user made stays when an add into it is refused.
    auto made = std::make_unique<Block>("40600", 5);
    made->prefix = "4";
    ASSERT_TRUE(t.app->addBlock(*t.node, std::move(made)));
    EXPECT_EQ(t.editor.add(t.draft(kHolding, "0601", "")), nullptr);
    EXPECT_EQ(t.node->blockCount(), 2u);
    // Forty characters fit.
    EXPECT_NE(t.editor.add(t.draft(kHolding, "0601", std::string(40, 'y'))), nullptr);
}

TEST(TagEditor, BitsAndBytesOfRegisters) {
    Tags t;
    ASSERT_NE(t.add(kHolding, "0010", "Word"), nullptr);
    TagDraft bit = t.draft(kHolding, "0010", "Bit3", false);
    bit.bit = "03";
    Tag* b3 = t.editor.add(bit);
    ASSERT_NE(b3, nullptr);
    EXPECT_EQ(b3->type(), '3');
    EXPECT_EQ(b3->address(), "40010");
    EXPECT_EQ(b3->bit, 3);
    EXPECT_EQ(b3->displayAddress(), "40010_03");
    bit.name = "Again";
    EXPECT_EQ(t.editor.add(bit), nullptr);
    EXPECT_EQ(t.prompter.last().text, "This tag is already defined.");
    bit.bit = "15";
    EXPECT_NE(t.editor.add(bit), nullptr);
    bit.bit = "16";
    bit.name = "Sixteen";
    t.prompter.clear();
    EXPECT_EQ(t.editor.add(bit), nullptr);
    EXPECT_EQ(t.prompter.texts(), std::vector<std::string>{"The Bit - number is out of range."});

    // One byte: low and high are two tags; the same selector twice is one.
    Tag* low = t.add(kHolding, "0020", "Low", 1, 0);
    Tag* high = t.add(kHolding, "0020", "High", 1, 1);
    ASSERT_NE(low, nullptr);
    ASSERT_NE(high, nullptr);
    EXPECT_EQ(high->byteSelect, 1);
    EXPECT_EQ(t.add(kHolding, "0020", "High2", 1, 1), nullptr);
    EXPECT_EQ(t.prompter.last().text, "This tag is already defined.");
    // A word has no selector; 8 bytes is not offered for 2-byte registers.
    Tag* word = t.add(kHolding, "0030", "W", 2, 1);
    ASSERT_NE(word, nullptr);
    EXPECT_EQ(word->byteSelect, 0);
    EXPECT_EQ(t.add(kHolding, "0031", "Eight", 8), nullptr);
    EXPECT_EQ(t.prompter.last().text, "This byte count can not be chosen in this Tag Range.");
    // Coils of a bit area.
    Tag* coil = t.editor.add(t.draft(kCoils, "0001", "Coil", false));
    ASSERT_NE(coil, nullptr);
    EXPECT_EQ(coil->type(), '1');
    EXPECT_EQ(coil->size, 0);
    TagDraft wrong = t.draft(kCoils, "0002", "Reg", true);
    wrong.registerKind = true;
    EXPECT_EQ(t.editor.add(wrong), nullptr);
    EXPECT_EQ(t.prompter.last().text, "A Register tag can not be defined in a bit Tag Range.");
}

TEST(TagEditor, FourByteTagsAndTheirBlocks) {
    Tags t;
    EXPECT_EQ(t.add(kHolding, "9999", "Last", 4), nullptr);
    EXPECT_EQ(t.prompter.last().text, "This plc tag is last tag of range so can not be used as 4 bytes Tag");
    EXPECT_EQ(t.node->blockCount(), 0u);
    // A block made in the blocks editor, 40001 .. 40010.
    auto made = std::make_unique<Block>("40001", 10);
    made->prefix = "4";
    Block* block = *t.app->addBlock(*t.node, std::move(made));
    ASSERT_NE(t.add(kHolding, "0005", "Mid", 4), nullptr);
    EXPECT_EQ(block->size, 10);
    ASSERT_NE(t.add(kHolding, "0010", "AtEnd", 4), nullptr);
    EXPECT_EQ(block->size, 11);
    EXPECT_NE(t.add(kHolding, "9998", "Fits", 4), nullptr);

    // An area of one-register blocks: the block of a 4-byte tag holds two.
    auto area = RegisterArea::parse("Words|single|2|W|1|\t1|4|D|0000|0099|\t2|2|1|");
    ASSERT_TRUE(area);
    t.editor.useAreas(t.node, {*area});
    ASSERT_NE(t.add(0, "0050", "Single", 2), nullptr);
    EXPECT_EQ(t.blockLines().back(), "\tW0050\t001\tblock\t1");
    ASSERT_NE(t.add(0, "0060", "Double", 4), nullptr);
    EXPECT_EQ(t.blockLines().back(), "\tW0060\t002\tblock\t1");
    EXPECT_TRUE(t.app->checkConsistency()) << t.app->checkConsistency().message();
}

TEST(TagEditor, ChangeInPlaceOrByReinsertion) {
    Tags t;
    Tag* speed = t.add(kHolding, "0010", "Speed");
    Tag* other = t.add(kHolding, "0600", "Other");
    ASSERT_NE(other, nullptr);
    ASSERT_TRUE(t.app->addLoggerTag(*speed));

    // Name and byte count only: the same record.
    auto d = t.editor.load(*speed);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->area, kHolding);
    EXPECT_EQ(d->parts[0], "0010");
    EXPECT_EQ(d->name, "Speed");
    d->name = "Rate";
    d->byteCount = 4;
    EXPECT_EQ(t.editor.change(*speed, *d), speed);
    EXPECT_EQ(speed->name, "Rate");
    EXPECT_EQ(speed->size, 4);
    d->name = "Other";
    EXPECT_EQ(t.editor.change(*speed, *d), nullptr);
    EXPECT_EQ(t.prompter.last().text, "Tag-name should be unique.");
    EXPECT_EQ(speed->name, "Rate");

    // To an address another tag has: refused, the tag keeps its address.
    d->name = "Rate";
    d->parts[0] = "0600";
    t.prompter.clear();
    EXPECT_EQ(t.editor.change(*speed, *d), nullptr);
    EXPECT_EQ(t.prompter.texts(), std::vector<std::string>{"This tag is already defined."});
    EXPECT_EQ(speed->address(), "40010");

    // Elsewhere: a new record in a new block; the logger follows, the emptied block goes.
    int hooks = 0;
    t.editor.setBeforeRemoval([&] { ++hooks; });
    d->parts[0] = "0300";
    Tag* moved = t.editor.change(*speed, *d);
    ASSERT_NE(moved, nullptr);
    EXPECT_EQ(hooks, 1);
    EXPECT_EQ(moved->address(), "40300");
    EXPECT_EQ(moved->name, "Rate");
    EXPECT_EQ(moved->size, 4);
    EXPECT_EQ(t.app->loggerTags(), std::vector<Tag*>{moved});
    EXPECT_EQ(t.blockLines(), (std::vector<std::string>{"\t40300\t125\tblock\t1", "\t40600\t125\tblock\t1"}));
    EXPECT_TRUE(t.app->checkConsistency()) << t.app->checkConsistency().message();
}

TEST(TagEditor, ChangeKeepsATagAsStored) {
    Tags t;
    Tag* wide = t.add(kHolding, "0010", "Wide");
    Tag* nameless = t.add(kHolding, "0011", "Nameless");
    Tag* low = t.add(kHolding, "0020", "Low", 1, 0);
    Tag* high = t.add(kHolding, "0020", "High", 1, 1);
    Tag* input = t.editor.add(t.draft(kInputRegisters, "0001", "In"));
    for (const Tag* tag : {wide, nameless, low, high, input}) {
        ASSERT_NE(tag, nullptr);
    }
    // As a file written elsewhere holds them: 8 bytes in 2-byte registers (the list offers 1, 2 and 4), no
    // name, the same byte twice, a read-write tag in the read-only input registers.
    wide->size = 8;
    nameless->name.clear();
    high->byteSelect = 0;
    input->readWrite = '2';
    t.prompter.clear();
    for (Tag* tag : {wide, nameless, low, high, input}) {
        const auto d = t.editor.load(*tag);
        ASSERT_TRUE(d);
        EXPECT_EQ(t.editor.change(*tag, *d), tag);
    }
    EXPECT_TRUE(t.prompter.empty()) << t.prompter.last().text;
    EXPECT_EQ(wide->size, 8);
    EXPECT_EQ(nameless->name, "");
    EXPECT_EQ(high->byteSelect, 0);
    EXPECT_EQ(input->readWrite, '2');

    // Another field changed: what stays as stored is not refused.
    auto d = t.editor.load(*wide);
    d->name = "Wider";
    EXPECT_EQ(t.editor.change(*wide, *d), wide);
    EXPECT_EQ(wide->size, 8);
    d = t.editor.load(*nameless);
    d->byteCount = 4;
    EXPECT_EQ(t.editor.change(*nameless, *d), nameless);
    EXPECT_EQ(nameless->size, 4);
    d = t.editor.load(*high);
    d->name = "Top";
    EXPECT_EQ(t.editor.change(*high, *d), high);
    EXPECT_EQ(high->byteSelect, 0);
    d = t.editor.load(*input);
    d->name = "Input";
    EXPECT_EQ(t.editor.change(*input, *d), input);
    EXPECT_EQ(input->readWrite, '2');
    EXPECT_TRUE(t.prompter.empty()) << t.prompter.last().text;

    // What the user changes is checked as for a new tag.
    d = t.editor.load(*nameless);
    d->byteCount = 8;
    EXPECT_EQ(t.editor.change(*nameless, *d), nullptr);
    EXPECT_EQ(t.prompter.last().text, "This byte count can not be chosen in this Tag Range.");
    d = t.editor.load(*wide);
    d->name.clear();
    EXPECT_EQ(t.editor.change(*wide, *d), nullptr);
    EXPECT_EQ(t.prompter.last().text, "Tag-name should be entered.");
    d = t.editor.load(*low);
    d->byteSelect = 1;
    EXPECT_EQ(t.editor.change(*low, *d), low);
    EXPECT_EQ(low->byteSelect, 1);
    d = t.editor.load(*high);
    d->byteSelect = 1;
    t.prompter.clear();
    EXPECT_EQ(t.editor.change(*high, *d), nullptr);
    EXPECT_EQ(t.prompter.texts(), std::vector<std::string>{"This tag is already defined."});
    EXPECT_EQ(high->byteSelect, 0);
    // Moving to another area checks the read-write type again.
    d = t.editor.load(*input);
    d->area = kInputs;
    d->registerKind = false;
    t.prompter.clear();
    EXPECT_EQ(t.editor.change(*input, *d), nullptr);
    EXPECT_EQ(t.prompter.texts(),
              std::vector<std::string>{"The Read-Write type is not compatible.\nCan't change."});
}

TEST(TagEditor, ReadWriteTypeLimitsWhereATagMoves) {
    Tags t;
    Tag* input = t.editor.add(t.draft(kInputRegisters, "0001", "In"));
    Tag* holding = t.add(kHolding, "0001", "Hold");
    ASSERT_NE(input, nullptr);
    EXPECT_EQ(input->readWrite, '0');
    // Read-write to read-only: refused.
    TagDraft d = t.draft(kInputRegisters, "0002", "Hold");
    t.prompter.clear();
    EXPECT_EQ(t.editor.change(*holding, d), nullptr);
    EXPECT_EQ(t.prompter.texts(),
              std::vector<std::string>{"The Read-Write type is not compatible.\nCan't change."});
    EXPECT_EQ(t.prompter.last().title, "Quillon : Error");
    // Read-only to read-write: allowed, the tag stays read-only.
    d = t.draft(kHolding, "0002", "In");
    Tag* moved = t.editor.change(*input, d);
    ASSERT_NE(moved, nullptr);
    EXPECT_EQ(moved->readWrite, '0');
    // A read-only coil to a read-write coil area.
    Tag* discrete = t.editor.add(t.draft(kInputs, "0001", "Di", false));
    ASSERT_NE(discrete, nullptr);
    EXPECT_NE(t.editor.change(*discrete, t.draft(kCoils, "0001", "Di", false)), nullptr);
}

TEST(TagEditor, DeleteProtectsUsedTagsAndDropsEmptiedBlocks) {
    Tags t;
    Tag* logged = t.add(kHolding, "0010", "Logged");
    Tag* alarm = t.add(kHolding, "0011", "Alarm");
    Tag* free = t.add(kHolding, "0500", "Free");
    ASSERT_TRUE(t.app->addLoggerTag(*logged));
    ASSERT_TRUE(t.app->setGroupTag(0, alarm));
    int hooks = 0;
    t.editor.setBeforeRemoval([&] { ++hooks; });

    // The logger keeps its tag without a word.
    EXPECT_FALSE(t.editor.remove(*logged));
    EXPECT_TRUE(t.prompter.empty());
    EXPECT_FALSE(t.editor.remove(*alarm));
    EXPECT_EQ(t.prompter.texts(),
              std::vector<std::string>{"This Tag is used in 'Alarms' and hence can not be deleted."});
    EXPECT_EQ(t.prompter.last().title, "Quillon : Information");

    t.prompter.clear();
    t.prompter.script({PromptAnswer::No, PromptAnswer::Yes});
    EXPECT_FALSE(t.editor.remove(*free));
    EXPECT_EQ(t.prompter.last().text, "Are you sure to delete\nTag of number 3 ");
    EXPECT_EQ(t.prompter.last().title, "Quillon : Confirmation");
    EXPECT_EQ(t.prompter.last().buttons, PromptButtons::YesNo);
    EXPECT_EQ(hooks, 0);
    EXPECT_TRUE(t.editor.remove(*free));
    EXPECT_EQ(hooks, 1);
    EXPECT_EQ(t.app->tagCount(), 2u);
    EXPECT_EQ(t.node->blockCount(), 1u);
    EXPECT_TRUE(t.app->checkConsistency());
}

TEST(TagEditor, PlcRulesOfTheNotation) {
    Tags siemens(kSiemens);
    ASSERT_EQ(siemens.editor.areas()[13].prefix(), "VB");
    TagDraft vb = siemens.editor.draftFor(13, true);
    EXPECT_EQ(vb.byteCount, 1);
    vb.name = "Byte";
    vb.byteCount = 4;
    vb.byteSelect = 1;
    Tag* tag = siemens.editor.add(vb);
    ASSERT_NE(tag, nullptr);
    EXPECT_EQ(tag->address(), "VB00000");
    EXPECT_EQ(tag->size, 1);
    EXPECT_EQ(tag->byteSelect, 0);

    Tags ab(kAllenBradley);
    // N7:010, three parts with a literal in the middle.
    const std::size_t integers = 5;
    ASSERT_EQ(ab.editor.areas()[integers].prefix(), "N");
    TagDraft n = ab.editor.draftFor(integers, true);
    EXPECT_EQ(n.parts[0], "007");
    EXPECT_EQ(n.parts[1], ":");
    n.parts[2] = "010";
    n.name = "Count";
    Tag* count = ab.editor.add(n);
    ASSERT_NE(count, nullptr);
    EXPECT_EQ(count->address(), "N007:010");
    // A bit needs a fourth part there.
    n.registerKind = false;
    n.name = "Bit";
    EXPECT_EQ(ab.editor.add(n), nullptr);
    EXPECT_EQ(ab.prompter.last().text, "More than 3 parts required.");
}

// Random adds, changes and deletes keep every total, entry length and order exact.
TEST(TagEditor, RandomEditsKeepTheDocumentConsistent) {
    Tags t;
    std::mt19937 rng(1515);
    const auto pick = [&](unsigned n) { return static_cast<unsigned>(rng() % n); };
    t.prompter.script({});
    int names = 0;
    for (int step = 0; step < 2000; ++step) {
        const unsigned action = pick(10);
        char part[8];
        std::snprintf(part, sizeof part, "%04u", 1 + pick(400));
        if (action < 6 || t.app->tagCount() == 0) {
            TagDraft d =
                t.draft(pick(2) == 0 ? kHolding : kCoils, part, "T" + std::to_string(++names), pick(2) == 0);
            d.byteCount = static_cast<std::uint8_t>(pick(2) == 0 ? 2 : 4);
            d.byteSelect = static_cast<std::uint8_t>(pick(2));
            d.bit = std::to_string(10 + pick(6));
            (void)t.editor.add(d);
        } else {
            std::vector<Tag*> all;
            for (Tag& tag : t.app->tags()) {
                all.push_back(&tag);
            }
            Tag* tag = all[pick(static_cast<unsigned>(all.size()))];
            if (action < 8) {
                auto d = t.editor.load(*tag);
                ASSERT_TRUE(d);
                d->parts[0] = part;
                (void)t.editor.change(*tag, *d);
            } else {
                t.prompter.script({PromptAnswer::Yes});
                (void)t.editor.remove(*tag);
            }
        }
        const Status consistent = t.app->checkConsistency();
        ASSERT_TRUE(consistent) << "step " << step << ": " << consistent.message();
        for (const auto& block : t.node->blocks()) {
            ASSERT_GT(block->tagCount(), 0u) << "an emptied block stayed at step " << step;
        }
    }
    EXPECT_GT(t.app->tagCount(), 100u);
}
