// The object property dialogs opened on objects as they stand: each shows what the object holds (even a
// tag or direction its own pick lists would not offer for a new object) and Ok gives it back unchanged.

#include "model/Application.h"
#include "model/RecordingPrompter.h"
#include "model/Tag.h"
#include "screen/BargraphDialog.h"
#include "screen/DataEntryDialog.h"
#include "screen/DisplayDataDialog.h"
#include "screen/ObjectTagCombo.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

using namespace quillon;
using namespace quillon::gui;

namespace {

// Model 500 with the unit's node and a PLC: registers of 2 and 4 bytes, a write-only register and a coil.
struct Document {
    Application app{500};
    RecordingPrompter prompter;
    Tag* word = nullptr;
    Tag* dword = nullptr;
    Tag* writeOnly = nullptr;
    Tag* unitWord = nullptr;
    Tag* coil = nullptr;

    Document() {
        Node* unit = app.addNode(Node::createUnitNode()).value();
        auto node = std::make_unique<Node>(NodeKind::Plc, 1);
        node->name = "PLC1";
        Node* plc = app.addNode(std::move(node)).value();
        Block* block = app.addBlock(*plc, std::make_unique<Block>("D0000", 40)).value();
        word = add(*block, "D0001", tag_type::kRegister, 2, '2', "Speed");
        dword = add(*block, "D0002", tag_type::kRegister, 4, '2', "Total");
        writeOnly = add(*block, "D0004", tag_type::kRegister, 2, '1', "Setpoint");
        coil = add(*block, "D0005", tag_type::kCoil, 0, '2', "Motor");
        Block* words = app.addBlock(*unit, std::make_unique<Block>("UW000", 16)).value();
        unitWord = add(*words, "UW001", tag_type::kRegister, 2, '0', "Clock");
    }
    Tag* add(Block& block, const char* address, char type, std::uint8_t size, char access, const char* name) {
        TagValues v;
        v.address = address;
        v.type = type;
        v.size = size;
        v.readWrite = access;
        v.name = name;
        return app.addTag(block, v).value();
    }
    static std::string fits(const std::vector<Tag*>&) { return {}; } // the tags always fit: no refusal
};

const char* said(const RecordingPrompter& prompter) {
    return prompter.empty() ? "" : prompter.last().text.c_str();
}

ObjectTagCombo* tagBox(QWidget& dialog) {
    return dialog.findChild<ObjectTagCombo*>("tag");
}

} // namespace

class ObjectDialogsShowTheObjectTest : public QObject {
    Q_OBJECT
private slots:
    void dataEntryKeepsItsLimitsOnReopening() {
        Document doc;
        for (const char type : {'U', 'S', 'D', 'H'}) {
            EditValues values;
            values.tag = doc.word;
            values.format.dataType = type;
            values.lowLimit = 7;
            values.highLimit = 1000;
            DataEntryDialog dialog(nullptr, doc.app, values, false, 10, doc.prompter, Document::fits);
            QCOMPARE(tagBox(dialog)->tag(), doc.word);
            QCOMPARE(dialog.findChild<QLineEdit*>("lowLimit")->text(), QString("7"));
            QCOMPARE(dialog.findChild<QLineEdit*>("highLimit")->text(),
                     QString(type == 'H' ? "3E8" : "1000"));
            dialog.accept();
            QVERIFY2(dialog.result() == QDialog::Accepted, said(doc.prompter));
            EditValues out = values;
            out.highLimit = 0;
            dialog.store(out);
            QCOMPARE(out.lowLimit, 7u);
            QCOMPARE(out.highLimit, 1000u);
            QCOMPARE(out.tag, doc.word);
        }
        // Choosing another tag still brings the unsigned default high limit of that tag.
        EditValues values;
        values.tag = doc.word;
        values.format.dataType = 'U';
        values.highLimit = 1000;
        DataEntryDialog dialog(nullptr, doc.app, values, false, 10, doc.prompter, Document::fits);
        ObjectTagCombo* box = tagBox(dialog);
        box->setCurrentIndex(box->findData(QVariant::fromValue<void*>(doc.dword)));
        QCOMPARE(dialog.findChild<QLineEdit*>("highLimit")->text(), QString("4294967295"));
    }

    void displayDataShowsTheTagOfEveryKind() {
        Document doc;
        const struct {
            ObjectKind kind;
            Tag* tag;
        } cases[] = {{ObjectKind::DisplayRegister, doc.word},
                     {ObjectKind::DisplayRegisterText, doc.dword},
                     {ObjectKind::DisplayCoil, doc.coil},
                     // A write-only register, as a file from elsewhere may hold: shown and kept.
                     {ObjectKind::DisplayRegister, doc.writeOnly}};
        for (const auto& c : cases) {
            EditValues values;
            values.tag = c.tag;
            values.onText = "ON";
            values.offText = "OFF";
            values.registerTexts = {{0, 9, "Low"}};
            DisplayDataDialog dialog(nullptr, doc.app, values, c.kind, 10, doc.prompter, Document::fits);
            QCOMPARE(tagBox(dialog)->tag(), c.tag);
            dialog.accept();
            QVERIFY2(dialog.result() == QDialog::Accepted, said(doc.prompter));
            EditValues out;
            dialog.store(out);
            QCOMPARE(out.tag, c.tag);
            QCOMPARE(dialog.kind(), c.kind);
        }
        // Another type drops a tag of the wrong type, and the object's own tag comes back with its type.
        EditValues values;
        values.tag = doc.writeOnly;
        DisplayDataDialog dialog(nullptr, doc.app, values, ObjectKind::DisplayRegister, 10, doc.prompter,
                                 Document::fits);
        auto radio = [&dialog](const char* text) {
            for (auto* button : dialog.findChildren<QRadioButton*>()) {
                if (button->text() == text) {
                    return button;
                }
            }
            return static_cast<QRadioButton*>(nullptr);
        };
        radio("&Bit Text")->click();
        QCOMPARE(tagBox(dialog)->tag(), nullptr);
        QCOMPARE(tagBox(dialog)->findData(QVariant::fromValue<void*>(doc.writeOnly)), -1);
        radio("Register &Value")->click();
        QVERIFY(tagBox(dialog)->findData(QVariant::fromValue<void*>(doc.writeOnly)) > 0);
    }

    void bargraphKeepsItsTagAndDirection() {
        Document doc;
        EditValues values;
        values.tag = doc.writeOnly; // a list for a new bar graph offers no write-only tag
        values.barMin = 10;
        values.barMax = 900;
        values.barDirection = 3;
        BargraphDialog dialog(nullptr, doc.app, values, doc.prompter, Document::fits);
        QCOMPARE(tagBox(dialog)->tag(), doc.writeOnly);
        dialog.accept();
        QVERIFY2(dialog.result() == QDialog::Accepted, said(doc.prompter));
        EditValues out;
        dialog.store(out);
        QCOMPARE(out.tag, doc.writeOnly);
        QCOMPARE(out.barMin, std::uint16_t{10});
        QCOMPARE(out.barMax, std::uint16_t{900});
        QCOMPARE(out.barDirection, std::uint8_t{3});
    }
};

QTEST_MAIN(ObjectDialogsShowTheObjectTest)
#include "ObjectDialogsShowTheObjectTest.moc"
