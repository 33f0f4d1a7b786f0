#include "persist/ObjectLibrary.h"

#include "TempFolder.h"
#include "edit/define/NetworkEditor.h"
#include "edit/define/TagEditor.h"
#include "edit/screen/LibraryInsertion.h"
#include "model/Block.h"
#include "model/Node.h"
#include "model/Screen.h"
#include "model/ScreenObject.h"
#include "model/Tag.h"
#include "persist/TextFormReader.h"
#include "persist/WorkingDirectoryLayout.h"
#include "plc/EditorFixture.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

using namespace quillon;
using quillon::test::EditorFixture;
using quillon::test::TempFolder;

namespace {

// Modbus standard model (PLC position 5): coils "0xxxx" (area 0), holding registers "4xxxx" (area 3). PLC
// position 0 is an Allen-Bradley SLC, whose addresses mean something else.
constexpr std::size_t kCoils = 0;
constexpr std::size_t kHolding = 3;

// One application with a Modbus node 1 and its tag editor.
struct Side {
    Side(Application& application, PlcCatalogFiles& catalogs, const std::filesystem::path& drivers,
         RecordingPrompter& prompter, int plc = 5)
        : app(application), network(application, catalogs, drivers, prompter),
          editor(application, catalogs, prompter) {
        network.open();
        auto draft = *network.beginAdd();
        if (network.chosenPlcPosition() != plc) {
            (void)network.choosePlc(plc);
        }
        draft.plcPosition = plc;
        node = network.apply(draft, nullptr).node;
        editor.selectNode(node);
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
        return app.addScreen(std::move(s)).value();
    }
    static ScreenObject* place(Screen& s, ObjectKind kind, Tag* main, std::int32_t x, std::int32_t y) {
        auto object = ScreenObject::create(static_cast<std::uint8_t>(kind));
        object->left = x;
        object->top = y;
        object->right = x + 47;
        object->bottom = y + 7;
        if (main != nullptr) {
            object->setTag(main);
        }
        return s.appendObject(std::move(object)).value();
    }

    Application& app;
    NetworkEditor network;
    TagEditor editor;
    Node* node = nullptr;
};

struct Library : ::testing::Test, EditorFixture {
    Library() : source(*app, *catalogs, driversDir(), prompter) {
        second = newApplication(10, prompter);
        target = std::make_unique<Side>(*second, *catalogs, driversDir(), prompter);
        prompter.clear();
    }

    std::string read(const std::filesystem::path& file) {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    Result<std::unique_ptr<Application>> load(const std::filesystem::path& file) {
        return ObjectLibrary::load(file, TextFormContext{*catalogs, prompter, nullptr});
    }

    Side source;
    std::unique_ptr<Application> second;
    std::unique_ptr<Side> target;
    TempFolder folder;
};

TEST(ObjectLibraryNames, FolderNamesAndTheirEdges) {
    EXPECT_EQ(WorkingDirectoryLayout::libraryFolderOf("/home/u/work"),
              std::filesystem::path("/home/u/work/library"));
    EXPECT_EQ(ObjectLibrary::fileOf("/lib", "Pump"), std::filesystem::path("/lib/Pump.json"));
    EXPECT_TRUE(ObjectLibrary::nameProblem("Pump group 1").empty());
    EXPECT_TRUE(ObjectLibrary::nameProblem(std::string(40, 'a')).empty());
    EXPECT_FALSE(ObjectLibrary::nameProblem(std::string(41, 'a')).empty());
    EXPECT_FALSE(ObjectLibrary::nameProblem("").empty());
    EXPECT_FALSE(ObjectLibrary::nameProblem("a/b").empty());
    EXPECT_FALSE(ObjectLibrary::nameProblem("..").empty());
    EXPECT_FALSE(ObjectLibrary::nameProblem("tab\there").empty());
}

TEST_F(Library, ItemKeepsTheObjectsWithOnlyTheirTagsAndRoundTrips) {
    Tag* speed = source.tag(kHolding, "0001", "Pump1Speed");
    Tag* run = source.tag(kCoils, "0001", "Pump1Run");
    (void)source.tag(kHolding, "0050", "Unrelated");
    Screen* s = source.screen(10, "PUMP 1");
    ScreenObject* a = Side::place(*s, ObjectKind::DisplayRegister, speed, 0, 8);
    ScreenObject* b = Side::place(*s, ObjectKind::DisplayCoil, run, 96, 8);
    (void)Side::place(*s, ObjectKind::Text, nullptr, 0, 24);
    ASSERT_TRUE(s->group(std::vector<ScreenObject*>{a, b}));

    const std::vector<const ScreenObject*> chosen{a, b};
    auto item = ObjectLibrary::extract(*app, chosen);
    ASSERT_TRUE(item) << item.message();
    ASSERT_TRUE(ObjectLibrary::save(folder.path(), "Pump", *item.value(), false));

    const std::string text = read(folder / "Pump.json");
    EXPECT_NE(text.find("\"name\": \"Pump1Speed\""), std::string::npos);
    EXPECT_NE(text.find("\"name\": \"Pump1Run\""), std::string::npos);
    EXPECT_EQ(text.find("Unrelated"), std::string::npos);
    EXPECT_NE(text.find("\"screens\""), std::string::npos);
    EXPECT_NE(text.find("\"objects\""), std::string::npos);
    EXPECT_NE(text.find("\"left\": 96"), std::string::npos);
    EXPECT_NE(text.find("\"address\": \"40001\""), std::string::npos);

    // A second save under the name is refused unless it replaces.
    EXPECT_FALSE(ObjectLibrary::save(folder.path(), "Pump", *item.value(), false));
    EXPECT_TRUE(ObjectLibrary::save(folder.path(), "Pump", *item.value(), true));

    auto back = load(folder / "Pump.json");
    ASSERT_TRUE(back) << back.message();
    ASSERT_EQ(back.value()->screenCount(), 1U);
    const Screen& kept = *back.value()->screens().front();
    ASSERT_EQ(kept.objectCount(), 2U);
    EXPECT_EQ(kept.objects()[1]->left, 96);
    EXPECT_EQ(kept.objects()[0]->groupNext(), kept.objects()[1].get());
    EXPECT_EQ(back.value()->tagCount(), 2U);
    EXPECT_EQ(kept.objects()[0]->tag()->name, "Pump1Speed");

    EXPECT_EQ(ObjectLibrary::list(folder.path()), std::vector<std::filesystem::path>{folder / "Pump.json"});
    EXPECT_TRUE(ObjectLibrary::list(folder / "missing").empty());
}

TEST_F(Library, RefusesWhatIsNoItem) {
    EXPECT_FALSE(ObjectLibrary::extract(*app, {}));
    std::ofstream(folder / "Broken.json") << "{ \"nodes\": [";
    EXPECT_FALSE(load(folder / "Broken.json"));
    EXPECT_FALSE(load(folder / "Missing.json"));
}

TEST_F(Library, ObjectCountEdge) {
    Screen* s = source.screen(10, "MANY");
    std::vector<const ScreenObject*> chosen;
    for (int i = 0; i < 255; ++i) {
        chosen.push_back(Side::place(*s, ObjectKind::Text, nullptr, 0, 0));
    }
    EXPECT_TRUE(ObjectLibrary::extract(*app, chosen));
    Screen* other = source.screen(11, "MORE");
    chosen.push_back(Side::place(*other, ObjectKind::Text, nullptr, 0, 0));
    EXPECT_FALSE(ObjectLibrary::extract(*app, chosen));
}

TEST_F(Library, FitsOnlyTheDisplayClassItWasMadeOn) {
    Screen* s = source.screen(10, "P");
    const std::vector<const ScreenObject*> chosen{Side::place(*s, ObjectKind::Text, nullptr, 144, 8)};
    auto item = ObjectLibrary::extract(*app, chosen);
    ASSERT_TRUE(item);
    // Model 10 is a 192 x 32 character display; model 20 is one too; model 500 is graphic.
    EXPECT_TRUE(ObjectLibrary::fitProblem(*item.value(), 20).empty());
    const std::string why = ObjectLibrary::fitProblem(*item.value(), 500);
    EXPECT_NE(why.find("character"), std::string::npos) << why;
    EXPECT_NE(why.find("graphic"), std::string::npos) << why;
}

TEST_F(Library, TagsAreMappedCreatedOrRefused) {
    Tag* speed = source.tag(kHolding, "0001", "Pump1Speed");
    Tag* run = source.tag(kCoils, "0001", "Pump1Run");
    Screen* s = source.screen(10, "PUMP 1");
    const std::vector<const ScreenObject*> chosen{Side::place(*s, ObjectKind::DisplayRegister, speed, 0, 8),
                                                  Side::place(*s, ObjectKind::DisplayCoil, run, 96, 8)};
    auto item = ObjectLibrary::extract(*app, chosen);
    ASSERT_TRUE(item);

    // The second application has a register of the same name elsewhere and nothing for the coil.
    Tag* existing = target->tag(kHolding, "0100", "Pump1Speed");
    LibraryInsertion insertion(*second, *catalogs, *item.value());
    ASSERT_EQ(insertion.itemTags().size(), 2U);
    const Tag& itemSpeed = *insertion.itemTags()[0];
    const Tag& itemRun = *insertion.itemTags()[1];
    EXPECT_EQ(itemSpeed.name, "Pump1Speed");

    const LibraryTagChoice speedChoice = insertion.suggestion(itemSpeed);
    EXPECT_EQ(speedChoice.action, LibraryTagChoice::Action::Map);
    EXPECT_EQ(speedChoice.target, existing);
    const LibraryTagChoice runChoice = insertion.suggestion(itemRun);
    EXPECT_EQ(runChoice.action, LibraryTagChoice::Action::Create);
    EXPECT_EQ(runChoice.name, "Pump1Run");

    // Refusing the missing tag refuses the whole insertion and changes nothing.
    std::vector<LibraryTagChoice> choices{speedChoice, {LibraryTagChoice::Action::Refuse, nullptr, {}}};
    const std::size_t before = second->tagCount();
    auto refused = insertion.bind(choices);
    ASSERT_FALSE(refused);
    EXPECT_NE(refused.message().find("'Pump1Run'"), std::string::npos) << refused.message();
    EXPECT_EQ(second->tagCount(), before);

    // A coil can not stand for a register, nor a name be taken twice.
    choices[1] = {LibraryTagChoice::Action::Map, existing, {}};
    EXPECT_FALSE(insertion.problem(choices).empty());
    choices[1] = {LibraryTagChoice::Action::Create, nullptr, "Pump1Speed"};
    EXPECT_FALSE(insertion.problem(choices).empty());

    // Created: the coil at the item's address, under the name chosen; the objects name the tags.
    choices[1] = {LibraryTagChoice::Action::Create, nullptr, "Pump7Run"};
    auto bound = insertion.bind(choices);
    ASSERT_TRUE(bound) << bound.message();
    EXPECT_EQ(second->tagCount(), before + 1);
    ASSERT_EQ(bound.value().created.size(), 1U);
    const Tag* made = bound.value().created[0];
    EXPECT_EQ(made->name, "Pump7Run");
    EXPECT_EQ(made->address(), "00001");
    EXPECT_EQ(made->nodeNumber(), 1);
    ASSERT_EQ(bound.value().objects.size(), 2U);
    EXPECT_EQ(bound.value().objects[0]->tag(), existing);
    EXPECT_EQ(bound.value().objects[1]->tag(), made);

    // A refused placement takes the created tag out again.
    insertion.discard(bound.value());
    EXPECT_EQ(second->tagCount(), before);
}

TEST_F(Library, AnotherPlcAtTheNodeNumberIsRefused) {
    Tag* speed = source.tag(kHolding, "0001", "Pump1Speed");
    Screen* s = source.screen(10, "PUMP 1");
    const std::vector<const ScreenObject*> chosen{Side::place(*s, ObjectKind::DisplayRegister, speed, 0, 8)};
    auto item = ObjectLibrary::extract(*app, chosen);
    ASSERT_TRUE(item);
    auto third = newApplication(10, prompter);
    Side other(*third, *catalogs, driversDir(), prompter, 0);
    ASSERT_NE(other.node, nullptr);
    LibraryInsertion insertion(*third, *catalogs, *item.value());
    const std::vector<LibraryTagChoice> create{{LibraryTagChoice::Action::Create, nullptr, "Pump1Speed"}};
    const std::string why = insertion.problem(create);
    EXPECT_NE(why.find("node 1"), std::string::npos) << why;
    const std::size_t before = third->tagCount();
    EXPECT_FALSE(insertion.bind(create));
    EXPECT_EQ(third->tagCount(), before);
}

} // namespace
