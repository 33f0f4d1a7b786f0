#include "edit/screen/ScreenReplication.h"

#include "edit/define/NetworkEditor.h"
#include "edit/define/TagEditor.h"
#include "model/ApplicationRules.h"
#include "model/Block.h"
#include "model/Node.h"
#include "model/TextFormat.h"
#include "model/TextObject.h"
#include "model/VectorByteSink.h"
#include "plc/EditorFixture.h"

#include <gtest/gtest.h>
#include <random>

using namespace quillon;
using quillon::test::EditorFixture;

namespace {

// Modbus standard model: coils "0xxxx" (area 0), holding registers "4xxxx" (area 3), 2-byte registers,
// blocks of up to 125 registers. Model 10 reads at most 144 registers per screen.
constexpr std::size_t kCoils = 0;
constexpr std::size_t kHolding = 3;

// Every object record with the tag codes left out, so that two objects compare field for field apart
// from the tags they name.
class NoTags final : public TagCoder {
public:
    Result<ObjectTagCode> objectTagCode(const Tag&, const Screen&) override { return ObjectTagCode{}; }
};

std::vector<std::uint8_t> recordOf(const ScreenObject& object) {
    NoTags coder;
    VectorByteSink sink;
    const ObjectWriteContext context{coder, false, [](std::uint32_t) { return Result<std::uint32_t>(0U); }};
    EXPECT_TRUE(object.Write(sink, context).ok());
    return sink.bytes();
}

struct Plant : EditorFixture {
    Plant() : network(*app, *catalogs, driversDir(), prompter), editor(*app, *catalogs, prompter) {
        network.open();
        auto draft = *network.beginAdd();
        if (draft.plcPosition != network.chosenPlcPosition()) {
            (void)network.choosePlc(draft.plcPosition);
        }
        if (network.chosenPlcPosition() != 5) {
            (void)network.choosePlc(5);
        }
        draft.plcPosition = 5;
        node = network.apply(draft, nullptr).node;
        editor.selectNode(node);
        prompter.clear();
    }

    Tag* tag(std::size_t area, const std::string& part, const std::string& name) {
        TagDraft d = editor.draftFor(area, area != kCoils);
        d.parts[0] = part;
        d.name = name;
        Tag* t = editor.add(d);
        EXPECT_NE(t, nullptr) << name;
        return t;
    }
    Screen* screen(std::uint32_t number, const std::string& name) {
        auto s = std::make_unique<Screen>(number);
        s->name = name;
        return app->addScreen(std::move(s)).value();
    }
    static ScreenObject* place(Screen& s, std::uint8_t kind, Tag* main, std::int32_t x = 0) {
        auto object = ScreenObject::create(kind);
        object->left = x;
        object->top = 16;
        object->right = x + 47;
        object->bottom = 31;
        if (main != nullptr) {
            object->setTag(main);
        }
        return s.appendObject(std::move(object)).value();
    }
    // A block of `size` holding registers from 40001 and one of `size` coils from 00001, so that screens
    // read less than the tag editor's automatic blocks would make them.
    void smallBlocks(std::uint8_t size) {
        for (const std::size_t area : {kHolding, kCoils}) {
            auto b = std::make_unique<Block>(area == kHolding ? "40001" : "00001", size);
            b->prefix = area == kHolding ? "4" : "0";
            b->attribute = static_cast<std::uint8_t>(editor.areas()[area].kind());
            ASSERT_TRUE(app->addBlock(*node, std::move(b)));
        }
    }
    Tag* named(const std::string& name) const {
        for (Tag& t : app->tags()) {
            if (t.name == name) {
                return &t;
            }
        }
        return nullptr;
    }
    // What the checking command counts as problems.
    std::vector<std::string> problems() const {
        std::vector<std::string> out = ApplicationRules::problems(*app);
        for (const auto& s : app->screens()) {
            if (!app->checkReadLimit(*s)) {
                out.push_back("read limit of " + std::to_string(s->number()));
            }
        }
        if (Status s = app->checkConsistency(); !s) {
            out.push_back(s.message());
        }
        RecordingPrompter quiet;
        if (!app->checkCapacity(quiet)) {
            out.push_back("capacity");
        }
        return out;
    }

    NetworkEditor network;
    TagEditor editor;
    Node* node = nullptr;
};

ReplicationRule rule(const std::string& rename, std::int32_t offset, bool create) {
    ReplicationRule r = rename.empty() ? ReplicationRule{} : ReplicationRule::parseRename(rename).value();
    r.offset = offset;
    r.createTags = create;
    return r;
}

// ---------------------------------------------------------------- the rule's texts

TEST(ReplicationRuleTest, NumbersAreListsAndRangesWithinOneTo65534GivenOnce) {
    EXPECT_EQ(ReplicationRule::parseNumbers("21-40").value().size(), 20U);
    EXPECT_EQ(ReplicationRule::parseNumbers("21, 23,30-32").value(),
              (std::vector<std::uint32_t>{21, 23, 30, 31, 32}));
    EXPECT_EQ(ReplicationRule::parseNumbers("65534").value(), (std::vector<std::uint32_t>{65534}));
    EXPECT_EQ(ReplicationRule::parseNumbers("1").value(), (std::vector<std::uint32_t>{1}));
    for (const char* bad :
         {"65535", "0", "65530-65535", "40-21", "21,21", "20-22,22", "", "x", "21-", "2a"}) {
        EXPECT_FALSE(ReplicationRule::parseNumbers(bad)) << bad;
    }
}

TEST(ReplicationRuleTest, RenameCountsFromTheNumberAfterTheSourceOrTheStartGiven) {
    ReplicationRule r = ReplicationRule::parseRename("Pump1=Pump{n}").value();
    EXPECT_EQ(r.tagName("Pump1_Speed", 0), "Pump2_Speed");
    EXPECT_EQ(r.tagName("Pump1_Speed", 3), "Pump5_Speed");
    EXPECT_EQ(r.replaced("PUMP Pump1 / Pump1", 1), "PUMP Pump3 / Pump3");
    EXPECT_TRUE(r.maps("Pump1_Run"));
    EXPECT_FALSE(r.maps("Reset"));
    r.start = 10;
    EXPECT_EQ(r.tagName("Pump1", 0), "Pump10");
    ReplicationRule plain = ReplicationRule::parseRename("A=B{n}{n}").value();
    EXPECT_EQ(plain.tagName("xA", 1), "xB22"); // no number after the text: the counter starts at 1
    ReplicationRule offsetOnly;
    offsetOnly.offset = 10;
    EXPECT_EQ(offsetOnly.tagName("Speed", 0), "Speed_1");
    EXPECT_TRUE(offsetOnly.maps("anything"));
    EXPECT_EQ(offsetOnly.offsetOf(2), 30);
    EXPECT_FALSE(ReplicationRule::parseRename("Pump1"));
    EXPECT_FALSE(ReplicationRule::parseRename("=x"));
    EXPECT_FALSE(ReplicationRule::parseRename("x="));
}

// ---------------------------------------------------------------- replication

TEST(ScreenReplicationTest, CopiesBindRenamedTagsCreatingThemAtTheOffsetAndKeepSharedOnes) {
    Plant p;
    p.smallBlocks(60);
    Tag* speed = p.tag(kHolding, "0010", "Pump1_Speed");
    Tag* run = p.tag(kCoils, "0005", "Pump1_Run");
    Tag* reset = p.tag(kCoils, "0050", "Reset");
    Screen* s = p.screen(10, "Pump1 screen");
    p.place(*s, 5, speed);
    ScreenObject* lamp = p.place(*s, 4, run, 48);
    RangeAnimation show;
    show.tag = reset;
    lamp->setShowHide(show);
    auto text = ScreenObject::create(1);
    (void)static_cast<TextObject&>(*text).setText("Pump1");
    (void)s->appendObject(std::move(text));
    Task go;
    go.kind = TaskKind::GotoScreen;
    go.value = 1;
    (void)p.app->appendTask(*s, Screen::kBeforeShowing, go);

    ScreenReplication replication(*p.app, *p.catalogs);
    ReplicationRule r = rule("Pump1=Pump{n}", 10, true);
    r.texts = true;
    ReplicaPlan plan;
    auto copies = replication.replicate(*s, {21, 22, 23}, r, &plan);
    ASSERT_TRUE(copies) << copies.message();
    EXPECT_EQ(plan.newTags.size(), 6U);
    EXPECT_EQ(p.app->screenCount(), 4U);
    Screen* c = p.app->findScreen(22);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->name, "Pump3 screen");
    EXPECT_EQ(c->objects()[0]->tag()->name, "Pump3_Speed");
    EXPECT_EQ(c->objects()[0]->tag()->address(), "40030");
    EXPECT_EQ(c->objects()[1]->tag()->name, "Pump3_Run");
    EXPECT_EQ(c->objects()[1]->tag()->address(), "00025");
    EXPECT_EQ(c->objects()[1]->showHide()->tag, reset);
    EXPECT_EQ(static_cast<const TextObject&>(*c->objects()[2]).text(), "Pump3");
    EXPECT_EQ(c->taskList(Screen::kBeforeShowing).size(), 1U);
    EXPECT_EQ(p.named("Pump4_Speed")->address(), "40040");
    EXPECT_EQ(p.problems(), std::vector<std::string>{});
    EXPECT_EQ(plan.summary(*s), "Replicated screen 10 to 3 screen(s) (21 to 23); created 6 tag(s), used 0 "
                                "existing tag(s).");
}

TEST(ScreenReplicationTest, ExistingTargetsAreUsedAndMissingOnesRefuseTheWholeReplication) {
    Plant p;
    Tag* speed = p.tag(kHolding, "0010", "Pump1_Speed");
    Tag* two = p.tag(kHolding, "0020", "Pump2_Speed");
    Screen* s = p.screen(10, "Pump");
    p.place(*s, 5, speed);
    const MemoryTotals before = p.app->totals();
    const std::size_t tags = p.app->tagCount();

    ScreenReplication replication(*p.app, *p.catalogs);
    auto refused = replication.replicate(*s, {21, 22, 23}, rule("Pump1=Pump{n}", 10, false));
    ASSERT_FALSE(refused);
    EXPECT_NE(refused.message().find("creating tags is not chosen"), std::string::npos);
    EXPECT_NE(refused.message().find("Pump3_Speed ( node 1, 40030 )"), std::string::npos);
    EXPECT_NE(refused.message().find("Pump4_Speed"), std::string::npos);
    EXPECT_EQ(refused.message().find("Pump2_Speed"), std::string::npos);
    EXPECT_EQ(p.app->screenCount(), 1U);
    EXPECT_EQ(p.app->tagCount(), tags);
    EXPECT_EQ(p.app->totals().applicationSize, before.applicationSize);

    auto one = replication.replicate(*s, {21}, rule("Pump1=Pump{n}", 0, false));
    ASSERT_TRUE(one) << one.message();
    EXPECT_EQ(p.app->findScreen(21)->objects()[0]->tag(), two);

    // A name without an offset has no address to be created at.
    auto noAddress = replication.replicate(*s, {30, 31}, rule("Pump1=Pump{n}", 0, true));
    ASSERT_FALSE(noAddress);
    EXPECT_NE(noAddress.message().find("only be created with an address offset"), std::string::npos);

    // The target's name on another type is refused.
    Plant q;
    Tag* level = q.tag(kHolding, "0010", "Tank1");
    q.tag(kCoils, "0010", "Tank2");
    Screen* t = q.screen(1, "T");
    q.place(*t, 5, level);
    ScreenReplication other(*q.app, *q.catalogs);
    EXPECT_FALSE(other.replicate(*t, {2}, rule("Tank1=Tank{n}", 0, false)));
}

TEST(ScreenReplicationTest, ReadLimitOf144HoldsForEveryCopyAnd145RefusesAll) {
    Plant p;
    const auto block = [&](const std::string& address, std::uint8_t size) {
        auto b = std::make_unique<Block>(address, size);
        b->prefix = "4";
        return p.app->addBlock(*p.node, std::move(b)).value();
    };
    const auto tagIn = [&](Block* b, const std::string& name) {
        TagValues v;
        v.address = b->address();
        v.name = name;
        return p.app->addTag(*b, v).value();
    };
    Block* shared = block("40001", 124);
    Block* own = block("40200", 20);
    Tag* a = tagIn(shared, "A_1");
    Tag* b = tagIn(own, "B_1");
    (void)tagIn(shared, "A_2");
    (void)tagIn(block("40300", 20), "B_2");
    (void)tagIn(block("40400", 21), "B_3");
    Screen* s = p.screen(10, "S");
    p.place(*s, 5, a);
    p.place(*s, 5, b, 48);
    // Copies 2 and 3 share A's block.
    p.app
        ->addTag(*shared,
                 [] {
                     TagValues v;
                     v.address = "40002";
                     v.name = "A_3";
                     return v;
                 }())
        .value();
    ASSERT_EQ(p.app->screenReadRegisters(s->readList()), 144U);

    ScreenReplication replication(*p.app, *p.catalogs);
    ReplicationRule r = rule("_1=_{n}", 0, false);
    const std::size_t screens = p.app->screenCount();
    const auto size = p.app->totals().applicationSize;
    auto refused = replication.replicate(*s, {21, 22}, r);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.message().rfind("In the Screen of number 22, Tags to be read exceed the limit.\n", 0),
              0U);
    EXPECT_NE(refused.message().find("145 registers, the limit is 144"), std::string::npos);
    EXPECT_EQ(p.app->screenCount(), screens);
    EXPECT_EQ(p.app->findScreen(21), nullptr);
    EXPECT_EQ(p.app->totals().applicationSize, size);

    auto fits = replication.replicate(*s, {21}, r);
    ASSERT_TRUE(fits) << fits.message();
    EXPECT_EQ(p.app->screenReadRegisters(p.app->findScreen(21)->readList()), 144U);
    EXPECT_TRUE(p.app->checkConsistency().ok());
}

TEST(ScreenReplicationTest, FullScreensNumbersAndNamesAtTheirLimits) {
    Plant p;
    Screen* s = p.screen(10, "Pump1 of the plants"); // 19 characters
    for (int i = 0; i < 255; ++i) {
        p.place(*s, 1, nullptr, (i % 20) * 12);
    }
    ScreenReplication replication(*p.app, *p.catalogs);
    auto full = replication.replicate(*s, {65534}, ReplicationRule{});
    ASSERT_TRUE(full) << full.message();
    EXPECT_EQ(p.app->findScreen(65534)->objectCount(), 255U);
    EXPECT_EQ(p.app->findScreen(65534)->name, "Screen65534");
    EXPECT_FALSE(replication.replicate(*s, {65535}, ReplicationRule{}));
    EXPECT_FALSE(replication.replicate(*s, {0}, ReplicationRule{}));

    // A number in use, and a name in use (the copy's default name is "Screen%u").
    auto taken = replication.replicate(*s, {65534}, ReplicationRule{});
    ASSERT_FALSE(taken);
    EXPECT_NE(taken.message().find("The Screen of number 65534 already exist."), std::string::npos);
    p.screen(5, "Screen21");
    auto clash = replication.replicate(*s, {20, 21}, ReplicationRule{});
    ASSERT_FALSE(clash);
    EXPECT_NE(clash.message().find("\"Screen21\" already exist"), std::string::npos);
    EXPECT_EQ(p.app->findScreen(20), nullptr);

    // Names from the rule: 20 characters fit, 21 do not.
    ReplicationRule named = ReplicationRule::parseRename("Pump1=Pump{n}").value();
    named.texts = true;
    named.start = 10;
    auto twenty = replication.replicate(*s, {30}, named);
    ASSERT_TRUE(twenty) << twenty.message();
    EXPECT_EQ(p.app->findScreen(30)->name, "Pump10 of the plants");
    named.start = 100;
    auto long21 = replication.replicate(*s, {31}, named);
    ASSERT_FALSE(long21);
    EXPECT_NE(long21.message().find("longer than 20"), std::string::npos);
    // Two copies given the same name by a rule without a counter.
    ReplicationRule same = ReplicationRule::parseRename("Pump1=Pump").value();
    same.texts = true;
    EXPECT_FALSE(replication.replicate(*s, {40, 41}, same));
    EXPECT_EQ(p.problems(), std::vector<std::string>{});
}

TEST(ScreenReplicationTest, AnOffsetPastTheTagRangeIsRefused) {
    Plant p;
    Tag* end = p.tag(kHolding, "9990", "End1");
    Screen* s = p.screen(10, "S");
    p.place(*s, 5, end);
    ScreenReplication replication(*p.app, *p.catalogs);
    ASSERT_TRUE(replication.replicate(*s, {11}, rule("End1=End{n}", 9, true))); // 9999, the last register
    auto past = replication.replicate(*s, {12, 13}, rule("End1=Last{n}", 5, true));
    ASSERT_FALSE(past);
    EXPECT_NE(past.message().find("outside its Tag Range"), std::string::npos);
    EXPECT_EQ(p.app->findScreen(12), nullptr);
    EXPECT_EQ(p.named("Last2"), nullptr);
}

// ---------------------------------------------------------------- random screens

TEST(ScreenReplicationTest, RandomScreensReplicateCleanlyFieldForField) {
    for (std::uint32_t seed = 1; seed <= 12; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 rng(seed);
        const auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
        Plant p;
        // P1 tags within one block of 70 registers and one of 70 coils, which also hold the shared tags
        // and the tags of every copy: the screens read 140 registers at most.
        p.smallBlocks(70);
        std::vector<Tag*> registers;
        std::vector<Tag*> coils;
        for (int i = 0; i < 6; ++i) {
            registers.push_back(p.tag(kHolding, formatText("%04d", 2 + i), formatText("P1_R%d", i)));
            coils.push_back(p.tag(kCoils, formatText("%04d", 2 + i), formatText("P1_C%d", i)));
        }
        registers.push_back(p.tag(kHolding, "0001", "SharedR"));
        coils.push_back(p.tag(kCoils, "0001", "SharedC"));
        Screen* s = p.screen(static_cast<std::uint32_t>(1 + pick(9)), "Source");
        const int objects = 1 + pick(40);
        for (int i = 0; i < objects; ++i) {
            ScreenObject* o = nullptr;
            switch (pick(4)) {
            case 0:
                o = p.place(*s, 5, registers[static_cast<std::size_t>(pick(7))], pick(20) * 12);
                break;
            case 1:
                o = p.place(*s, 4, coils[static_cast<std::size_t>(pick(7))], pick(20) * 12);
                break;
            case 2:
                o = p.place(*s, 10, nullptr, pick(200));
                break;
            default:
                o = p.place(*s, 1, nullptr, pick(20) * 12);
                (void)static_cast<TextObject&>(*o).setText("P1 pump");
                break;
            }
            if (pick(3) == 0) {
                RangeAnimation a;
                a.tag = coils[static_cast<std::size_t>(pick(7))];
                a.high = static_cast<std::uint16_t>(pick(2));
                o->setShowHide(a);
            }
        }
        const std::size_t k = static_cast<std::size_t>(1 + pick(3));
        ReplicationRule r = rule(pick(2) == 0 ? "P1=P{n}" : "", 10 * (1 + pick(2)), true);
        std::vector<std::uint32_t> numbers;
        for (std::size_t i = 0; i < k; ++i) {
            numbers.push_back(static_cast<std::uint32_t>(100 + 3 * i));
        }
        ScreenReplication replication(*p.app, *p.catalogs);
        ReplicaPlan plan;
        auto copies = replication.replicate(*s, numbers, r, &plan);
        ASSERT_TRUE(copies) << copies.message();
        ASSERT_EQ(copies.value().size(), k);
        EXPECT_EQ(p.problems(), std::vector<std::string>{});
        for (std::size_t i = 0; i < k; ++i) {
            const Screen& c = *copies.value()[i];
            ASSERT_EQ(c.objectCount(), s->objectCount());
            for (std::size_t o = 0; o < c.objectCount(); ++o) {
                const ScreenObject& from = *s->objects()[o];
                const ScreenObject& to = *c.objects()[o];
                EXPECT_EQ(recordOf(from), recordOf(to));
                const auto expect = [&](const Tag* src, const Tag* dst) {
                    ASSERT_EQ(src == nullptr, dst == nullptr);
                    if (src == nullptr) {
                        return;
                    }
                    if (!r.maps(src->name)) {
                        EXPECT_EQ(src, dst);
                        return;
                    }
                    // Holding register 4xxxx and coil 0xxxx move by the offset of the copy.
                    const int at = std::stoi(src->address().substr(1)) + r.offset * int(i + 1);
                    EXPECT_EQ(dst->address(), src->address().substr(0, 1) + formatText("%04d", at));
                    EXPECT_EQ(dst->name, r.renames() ? "P" + std::to_string(i + 2) + src->name.substr(2)
                                                     : src->name + "_" + std::to_string(i + 1));
                    EXPECT_EQ(dst->type(), src->type());
                    EXPECT_EQ(dst->size, src->size);
                };
                expect(from.tag(), to.tag());
                expect(from.showHide() ? from.showHide()->tag : nullptr,
                       to.showHide() ? to.showHide()->tag : nullptr);
            }
        }
        // Totals equal a recount, and the counts add up.
        EXPECT_TRUE(p.app->checkConsistency().ok());
        EXPECT_EQ(p.app->screenCount(), 1 + k);
        std::size_t distinct = 0;
        for (Tag* t : ScreenReplication::tagsOf(*s)) {
            distinct += r.maps(t->name) ? 1 : 0;
        }
        EXPECT_EQ(plan.newTags.size(), distinct * k);
        EXPECT_EQ(p.app->tagCount(), 14 + distinct * k);
    }
}

} // namespace

TEST(ReplicationRuleTest, FormFieldsGiveTheRuleOrNameTheFieldThatIsWrong) {
    ReplicationRule plain = ReplicationRule::fromFields("", "", "", "").value();
    EXPECT_FALSE(plain.renames());
    EXPECT_EQ(plain.offset, 0);
    EXPECT_FALSE(plain.start.has_value());

    ReplicationRule full = ReplicationRule::fromFields("Pump1", "Pump{n}", " 7 ", "1000000").value();
    EXPECT_EQ(full.from, "Pump1");
    EXPECT_EQ(full.to, "Pump{n}");
    EXPECT_EQ(full.start, std::optional<std::int64_t>(7));
    EXPECT_EQ(full.offset, 1000000);
    EXPECT_EQ(full.tagName("Pump1_Run", 0), "Pump7_Run");
    EXPECT_EQ(ReplicationRule::fromFields("A", "B", "-999999999", "0").value().start,
              std::optional<std::int64_t>(-999999999));
    EXPECT_EQ(ReplicationRule::fromFields("A", "B", "999999999", "").value().start,
              std::optional<std::int64_t>(999999999));

    EXPECT_EQ(ReplicationRule::fromFields("", "Pump{n}", "", "").message(),
              "The replacement \"Pump{n}\" is given without the text it replaces.");
    EXPECT_EQ(ReplicationRule::fromFields("Pump1", "", "", "").message(),
              "The text \"Pump1\" would be replaced by nothing.");
    EXPECT_EQ(ReplicationRule::fromFields("A", "B", "1000000000", "").message(),
              "The counter's start \"1000000000\" is not a whole number ( -999999999 - 999999999 ).");
    EXPECT_FALSE(ReplicationRule::fromFields("A", "B", "-1000000000", ""));
    EXPECT_FALSE(ReplicationRule::fromFields("A", "B", "2x", ""));
    EXPECT_EQ(ReplicationRule::fromFields("A", "B", "", "1000001").message(),
              "The address offset \"1000001\" is not a whole number ( 0 - 1000000 ).");
    EXPECT_FALSE(ReplicationRule::fromFields("A", "B", "", "-1"));
    EXPECT_FALSE(ReplicationRule::fromFields("A", "B", "", "1.5"));
}
