#include "OvmRichApplication.h"
#include "persist/TextFormReader.h"
#include "persist/TextFormWriter.h"

#include <gtest/gtest.h>

namespace quillon::test {
namespace {

std::string exportText(OvmFixture& f, const Application& app) {
    auto text = TextFormWriter::write(app, &f.library());
    if (!text) {
        throw std::runtime_error(text.message());
    }
    return *text;
}

Result<std::unique_ptr<Application>> importText(OvmFixture& f, std::string_view text) {
    return TextFormReader::read(text, TextFormContext{f.catalogs(), f.prompter, &f.library()});
}

void replaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
}

const Tag* tagAt(const Application& app, std::uint8_t node, std::string_view plain) {
    for (const Tag& tag : app.tags()) {
        if (tag.nodeNumber() == node && tag.plainAddress() == plain) {
            return &tag;
        }
    }
    return nullptr;
}

} // namespace

// A bit of a register in the text form: the address spelled with the bit as suffix is stored as the
// editors store it (without it) and references in either spelling find the tag; a suffix naming another
// bit is refused with its place.
TEST(TextFormBitAddress, SuffixOfTheSameBitIsDroppedAndAnotherBitRefused) {
    OvmFixture f;
    auto app = Application::create(500, f.prompter);
    addRichContent(f, *app, f.network(*app));
    auto opened = f.read(f.prepareAndWrite(*app));
    ASSERT_TRUE(opened) << opened.message();
    const std::string text = exportText(f, **opened);
    ASSERT_NE(text.find("\"address\": \"R0006\",\n"), std::string::npos);

    // Every spelling of R0006 bit 2 (the tag and the flash animation that names it) with the suffix.
    std::string suffixed = text;
    replaceAll(suffixed, "\"address\": \"R0006\"", "\"address\": \"R0006_02\"");
    auto imported = importText(f, suffixed);
    ASSERT_TRUE(imported) << imported.message();
    const Tag* bit = tagAt(**imported, 0, "R0006");
    ASSERT_NE(bit, nullptr);
    EXPECT_EQ(bit->address(), "R0006");
    EXPECT_EQ(bit->bit, 2);
    EXPECT_EQ(bit->displayAddress(), "R0006_02");
    EXPECT_EQ(exportText(f, **imported), text);

    // Only the reference spelled with the suffix: it finds the tag held without it.
    std::string reference = text;
    replaceAll(reference, "{\"node\": 0, \"address\": \"R0006\", \"bit\": 2}",
               "{\"node\": 0, \"address\": \"R0006_02\", \"bit\": 2}");
    ASSERT_NE(reference, text);
    auto referenced = importText(f, reference);
    ASSERT_TRUE(referenced) << referenced.message();
    EXPECT_EQ(exportText(f, **referenced), text);

    std::string other = text;
    replaceAll(other, "\"address\": \"R0006\",\n", "\"address\": \"R0006_03\",\n");
    auto refused = importText(f, other);
    ASSERT_FALSE(refused);
    EXPECT_TRUE(refused.message().starts_with("/nodes/0/blocks/")) << refused.message();
    EXPECT_NE(refused.message().find("/address: the address R0006_03 names bit 3, but the tag's bit is 2"),
              std::string::npos)
        << refused.message();
    std::string otherReference = text;
    replaceAll(otherReference, "{\"node\": 0, \"address\": \"R0006\", \"bit\": 2}",
               "{\"node\": 0, \"address\": \"R0006_05\", \"bit\": 2}");
    auto refusedReference = importText(f, otherReference);
    ASSERT_FALSE(refusedReference);
    EXPECT_NE(refusedReference.message().find("the address R0006_05 names bit 5, but the tag's bit is 2"),
              std::string::npos)
        << refusedReference.message();
}

// The file reader keeps what a file holds: a bit written elsewhere with its suffix in the address comes
// back byte for byte and is shown with the suffix once.
TEST(TextFormBitAddress, FileHoldingTheSuffixIsReadAsItStands) {
    OvmFixture f;
    auto app = Application::create(500, f.prompter);
    auto network = f.network(*app);
    Block* block = network.unitR->block();
    ASSERT_NE(block, nullptr);
    auto added = app->addTag(*block, OvmFixture::bit("R0007_04", 4));
    ASSERT_TRUE(added) << added.message();
    (*added)->name = "Held";
    const auto image = f.prepareAndWrite(*app);
    auto opened = f.read(image);
    ASSERT_TRUE(opened) << opened.message();
    const Tag* held = tagAt(**opened, 0, "R0007");
    ASSERT_NE(held, nullptr);
    EXPECT_EQ(held->address(), "R0007_04");
    EXPECT_EQ(held->displayAddress(), "R0007_04");
    EXPECT_EQ(f.prepareAndWrite(**opened), image);
}

} // namespace quillon::test
