// The network and tag database dialogs over the shipped catalogs: edit mode with Enter and Escape, the
// Delete key, the special-data button, the tag table, its filter and the "Used in" list.

#include "define/NetworkEditorDialog.h"

#include "define/TagEditorDialog.h"
#include "define/TagTableModel.h"
#include "edit/define/TagCsv.h"
#include "model/Application.h"
#include "model/Block.h"
#include "model/NewApplication.h"
#include "model/Node.h"
#include "model/RecordingPrompter.h"
#include "plc/PlcCatalogFiles.h"
#include "support/ShellFakes.h"
#include "ui/WindowSettings.h"

#include <filesystem>
#include <fstream>
#include <map>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using namespace quillon;
using namespace quillon::gui;

namespace {

struct Fixture {
    RecordingPrompter prompter;
    PlcCatalogFiles catalogs{std::filesystem::path(QUILLON_SOURCE_DIR) / "data" / "plc", prompter};
    std::unique_ptr<Application> app = newApplication(10, prompter);
    DefineHooks hooks() const {
        DefineHooks h;
        h.driversDirectory = std::filesystem::path(QUILLON_SOURCE_DIR) / "data" / "drivers";
        return h;
    }
};

} // namespace

class NetworkEditorDialogTest : public QObject {
    Q_OBJECT
private slots:
    void enterStoresAndEscapeLeavesEditMode() {
        Fixture f;
        NetworkEditorDialog dialog(nullptr, *f.app, f.catalogs, f.prompter, f.hooks());
        dialog.show();
        QCOMPARE(dialog.nodeList()->topLevelItemCount(), 1);
        dialog.findChild<QPushButton*>("add")->click();
        QVERIFY(dialog.inEditMode());
        auto* address = dialog.findChild<QLineEdit*>("address");
        QCOMPARE(address->text(), QString("1"));
        QVERIFY(!dialog.nodeList()->isEnabled());
        // Escape leaves edit mode and keeps the dialog open.
        QTest::keyClick(address, Qt::Key_Escape);
        QVERIFY(!dialog.inEditMode());
        QVERIFY(dialog.isVisible());
        QCOMPARE(address->text(), QString());
        // Enter is the edit mode's Ok.
        dialog.findChild<QPushButton*>("add")->click();
        QTest::keyClick(dialog.findChild<QLineEdit*>("name"), Qt::Key_Return);
        QVERIFY(!dialog.inEditMode());
        QCOMPARE(dialog.nodeList()->topLevelItemCount(), 2);
        QCOMPARE(dialog.nodeList()->topLevelItem(1)->text(2),
                 QString("Modbus RTU Master  ( Standard addressing 0xxxx-4xxxx )"));
        QVERIFY(dialog.changed());
        QVERIFY(f.prompter.empty());
        // Escape outside edit mode closes the editor.
        QTest::keyClick(dialog.nodeList(), Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
    }

    void deleteKeyAndSpecialDataButton() {
        Fixture f;
        NetworkEditorDialog dialog(nullptr, *f.app, f.catalogs, f.prompter, f.hooks());
        dialog.show();
        dialog.addNode();
        dialog.findChild<QComboBox*>("plc")->setCurrentIndex(6);
        emit dialog.findChild<QComboBox*>("plc")->activated(6); // Omron C-series, PLC 105
        dialog.okEdit();
        QCOMPARE(f.app->nodeCount(), 2u);
        auto* special = dialog.findChild<QPushButton*>("special");
        dialog.nodeList()->setCurrentItem(dialog.nodeList()->topLevelItem(0));
        QVERIFY(special->isHidden());
        dialog.nodeList()->setCurrentItem(dialog.nodeList()->topLevelItem(1));
        QVERIFY(!special->isHidden());
        f.prompter.script({PromptAnswer::Yes});
        QTest::keyClick(dialog.nodeList(), Qt::Key_Delete);
        QCOMPARE(f.prompter.last().text, std::string("Are you sure to delete the selected node?"));
        QCOMPARE(f.app->nodeCount(), 1u);
        QCOMPARE(dialog.nodeList()->topLevelItemCount(), 1);
    }

    void tagTableFilterAndUses() {
        Fixture f;
        {
            NetworkEditorDialog network(nullptr, *f.app, f.catalogs, f.prompter, f.hooks());
            network.addNode();
            network.okEdit();
        }
        TagEditorDialog dialog(nullptr, *f.app, f.catalogs, f.prompter, f.hooks());
        dialog.show();
        auto* area = dialog.findChild<QComboBox*>("area");
        area->setCurrentIndex(3);
        emit area->activated(3); // Holding registers (4x)
        auto* name = dialog.findChild<QLineEdit*>("name");
        for (const char* tag : {"Speed", "Level", "Flow"}) {
            name->setText(tag);
            dialog.addTag();
            auto* part = dialog.findChild<QLineEdit*>("part1Edit");
            part->setText(QString("%1").arg(part->text().toInt() + 1, 4, 10, QChar('0')));
        }
        QVERIFY2(f.prompter.empty(), f.prompter.empty() ? "" : f.prompter.last().text.c_str());
        QCOMPARE(dialog.model()->rowCount(), 3);
        QCOMPARE(dialog.model()->index(1, TagTableModel::Address).data().toString(), QString("40002"));
        QCOMPARE(dialog.selectedTag()->name, std::string("Flow"));
        QCOMPARE(dialog.usedIn()->item(0)->text(), QString("(not used)"));
        QVERIFY(f.app->addLoggerTag(*dialog.selectedTag()));
        dialog.selectTag(dialog.selectedTag());
        QCOMPARE(dialog.usedIn()->item(0)->text(), QString("Logger"));

        QTest::keyClicks(dialog.filterField(), "LE");
        QCOMPARE(dialog.model()->rowCount(), 1);
        dialog.filterField()->setText("40003");
        QCOMPARE(dialog.model()->rowCount(), 1);
        dialog.filterField()->clear();
        QCOMPARE(dialog.model()->rowCount(), 3);

        // A logged tag is kept without a question; an unused one goes after it.
        QTest::keyClick(dialog.table(), Qt::Key_Delete);
        QCOMPARE(f.app->tagCount(), 3u);
        dialog.selectTag(&*f.app->tags().begin());
        f.prompter.script({PromptAnswer::Yes});
        QTest::keyClick(dialog.table(), Qt::Key_Delete);
        QCOMPARE(f.prompter.last().text, std::string("Are you sure to delete\nTag of number 1 "));
        QCOMPARE(f.app->tagCount(), 2u);
        QCOMPARE(dialog.model()->rowCount(), 2);
    }

    // Importing into an empty tag list has nothing to keep or rename: no question, the tags come in; into a
    // list that has tags the question comes.
    void importIntoAnEmptyListAsksNothing() {
        Fixture f;
        {
            NetworkEditorDialog network(nullptr, *f.app, f.catalogs, f.prompter, f.hooks());
            network.addNode();
            network.okEdit();
        }
        const QTemporaryDir dir;
        const std::filesystem::path csv = dir.filePath("tags.csv").toStdString();
        {
            Fixture source;
            NetworkEditorDialog network(nullptr, *source.app, source.catalogs, source.prompter,
                                        source.hooks());
            network.addNode();
            network.okEdit();
            TagEditorDialog tags(nullptr, *source.app, source.catalogs, source.prompter, source.hooks());
            auto* area = tags.findChild<QComboBox*>("area");
            area->setCurrentIndex(3);
            emit area->activated(3);
            tags.findChild<QLineEdit*>("name")->setText("Level");
            tags.addTag();
            QCOMPARE(source.app->tagCount(), 1u);
            std::ofstream(csv) << TagCsv::exportText(*source.app);
        }
        quillon::gui::testing::ScriptedFiles files;
        DefineHooks hooks = f.hooks();
        hooks.files = &files;
        TagEditorDialog dialog(nullptr, *f.app, f.catalogs, f.prompter, hooks);
        files.answers = {csv};
        f.prompter.clear();
        dialog.importTags();
        QCOMPARE(f.app->tagCount(), 1u);
        QCOMPARE(f.prompter.texts(), std::vector<std::string>{"1 tag(s) added, 0 renamed, 0 unchanged."});
        files.answers = {csv};
        f.prompter.script({PromptAnswer::Yes});
        dialog.importTags();
        QCOMPARE(f.prompter.texts().size(), std::size_t{3});
        QCOMPARE(f.prompter.texts()[1].rfind("Keep the tags already defined", 0), std::size_t{0});
        QCOMPARE(f.app->tagCount(), 1u);
    }

    // "New blocks fit their tags" makes the next automatic block as large as its tag and is kept with the
    // window's settings for the next time the dialog opens.
    void fittedBlocksAreChosenInTheDialogAndKept() {
        Fixture f;
        {
            NetworkEditorDialog network(nullptr, *f.app, f.catalogs, f.prompter, f.hooks());
            network.addNode();
            network.okEdit();
        }
        WindowSettings settings;
        settings.makeCurrent();
        {
            TagEditorDialog dialog(nullptr, *f.app, f.catalogs, f.prompter, f.hooks());
            auto* fit = dialog.findChild<QCheckBox*>("fitBlocks");
            QVERIFY(fit != nullptr);
            QVERIFY(!fit->isChecked());
            fit->click();
            auto* area = dialog.findChild<QComboBox*>("area");
            area->setCurrentIndex(3);
            emit area->activated(3);
            dialog.findChild<QLineEdit*>("name")->setText("Speed");
            dialog.addTag();
            QCOMPARE(f.app->nodes()[1]->blockCount(), std::size_t{1});
            QCOMPARE(int{f.app->nodes()[1]->blocks()[0]->size}, 1);
        }
        QVERIFY(settings.flag(std::string(TagEditorDialog::kFitBlocksSetting)));
        TagEditorDialog again(nullptr, *f.app, f.catalogs, f.prompter, f.hooks());
        QVERIFY(again.findChild<QCheckBox*>("fitBlocks")->isChecked());
    }

    // A list draws its focus: its frame changes when it takes the keyboard's focus.
    void theListDrawsItsFocus() {
        Fixture f;
        TagEditorDialog dialog(nullptr, *f.app, f.catalogs, f.prompter, f.hooks());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.activateWindow();
        QTRY_VERIFY(dialog.isActiveWindow());
        dialog.filterField()->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(!dialog.table()->hasFocus());
        const QImage without = dialog.table()->grab().toImage();
        dialog.table()->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(dialog.table()->hasFocus());
        const QImage with = dialog.table()->grab().toImage();
        QCOMPARE(with.size(), without.size());
        QVERIFY(with.pixel(0, with.height() / 2) != without.pixel(0, without.height() / 2));
    }

    // A help page names buttons as <b class="button">...</b>; every one it names is a button of its dialog.
    void helpPagesNameOnlyButtonsTheirDialogsHave() {
        Fixture f;
        NetworkEditorDialog network(nullptr, *f.app, f.catalogs, f.prompter, f.hooks());
        TagEditorDialog tags(nullptr, *f.app, f.catalogs, f.prompter, f.hooks());
        const std::map<QString, QDialog*> dialogs{{"networkconfiguration.htm", &network},
                                                  {"tagdatabase.htm", &tags}};
        const QRegularExpression named(R"(<b class="button">([^<]*)</b>)");
        const QDir help(QString(QUILLON_SOURCE_DIR) + "/data/help");
        int checked = 0;
        for (const QString& page : help.entryList({"*.htm"}, QDir::Files)) {
            QFile file(help.filePath(page));
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QString text = QString::fromUtf8(file.readAll());
            auto it = named.globalMatch(text);
            if (!it.hasNext()) {
                continue;
            }
            const auto dialog = dialogs.find(page);
            QVERIFY2(dialog != dialogs.end(),
                     qPrintable(page + " names buttons of a dialog this test does not open"));
            QStringList buttons;
            for (const QAbstractButton* button : dialog->second->findChildren<QAbstractButton*>()) {
                buttons << button->text().remove('&');
            }
            while (it.hasNext()) {
                const QString name = it.next().captured(1);
                QVERIFY2(buttons.contains(name),
                         qPrintable(page + ": no button '" + name + "' in " + buttons.join(", ")));
                ++checked;
            }
        }
        QVERIFY(checked >= 10);
    }

    // The tag list asks for every column and ten rows, within the screen; the dialog keeps the place and
    // size the user leaves it at, and forgets a size the screen can no longer hold.
    void theTagDialogShowsItsListAndKeepsItsPlace() {
        Fixture f;
        WindowSettings settings;
        settings.makeCurrent();
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        {
            TagEditorDialog dialog(nullptr, *f.app, f.catalogs, f.prompter, f.hooks());
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            QVERIFY(area.contains(dialog.frameGeometry()));
            const QSize need = ShellDialog::listSizeFor(*dialog.table());
            const QSize extra = need - dialog.table()->size();
            if (dialog.width() + extra.width() <= area.width() &&
                dialog.height() + extra.height() <= area.height()) {
                QVERIFY2(dialog.table()->width() >= need.width(),
                         qPrintable(QString::number(dialog.table()->width())));
                QVERIFY2(dialog.table()->height() >= need.height(),
                         qPrintable(QString::number(dialog.table()->height())));
            }
            // Resizable, the list growing with it.
            const QSize before = dialog.table()->size();
            dialog.resize(dialog.size() + QSize(40, 30));
            QTRY_COMPARE(dialog.table()->size(), before + QSize(40, 30));
            dialog.move(area.topLeft() + QPoint(5, 7));
            dialog.hide();
        }
        const auto kept = settings.dialogPlace("TagEditorDialog.TAGDLG");
        QVERIFY(kept.has_value());
        {
            TagEditorDialog again(nullptr, *f.app, f.catalogs, f.prompter, f.hooks());
            again.show();
            QVERIFY(QTest::qWaitForWindowExposed(&again));
            QCOMPARE(again.size(), kept->size());
        }
        settings.setDialogPlace("TagEditorDialog.TAGDLG", QRect(area.topLeft(), area.size() + QSize(1, 0)));
        TagEditorDialog tooLarge(nullptr, *f.app, f.catalogs, f.prompter, f.hooks());
        tooLarge.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tooLarge));
        QVERIFY(tooLarge.width() <= area.width());
        QVERIFY(area.contains(tooLarge.frameGeometry()));
        tooLarge.hide();
        QVERIFY(settings.dialogPlace("TagEditorDialog.TAGDLG")->width() <= area.width());
    }

    // A user filters the list down to one tag and clicks it: the form takes the tag, whether or not the
    // list had been given the focus before (which makes its first row current without selecting it).
    void aRowClickedInAFilteredListLoadsTheForm() {
        Fixture f;
        {
            NetworkEditorDialog network(nullptr, *f.app, f.catalogs, f.prompter, f.hooks());
            network.addNode();
            network.okEdit();
        }
        TagEditorDialog dialog(nullptr, *f.app, f.catalogs, f.prompter, f.hooks());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* area = dialog.findChild<QComboBox*>("area");
        area->setCurrentIndex(3);
        emit area->activated(3);
        auto* name = dialog.findChild<QLineEdit*>("name");
        auto* part = dialog.findChild<QLineEdit*>("part1Edit");
        for (const char* tag : {"Pump1", "Tank1", "Valve1"}) {
            name->setText(tag);
            dialog.addTag();
            part->setText(QString("%1").arg(part->text().toInt() + 1, 4, 10, QChar('0')));
        }
        auto* change = dialog.findChild<QPushButton*>("change");
        for (const bool focusedFirst : {false, true}) {
            dialog.filterField()->clear();
            dialog.selectTag(nullptr);
            QVERIFY(!change->isEnabled());
            if (focusedFirst) {
                dialog.table()->setFocus(Qt::TabFocusReason);
                QTest::keyClick(dialog.table(), Qt::Key_Home);
                dialog.selectTag(nullptr);
            }
            name->clear();
            dialog.filterField()->setFocus();
            QTest::keyClicks(dialog.filterField(), "Tank1");
            QCOMPARE(dialog.model()->rowCount(), 1);
            QVERIFY(dialog.selectedTag() == nullptr);
            dialog.table()->selectionModel()->setCurrentIndex(dialog.model()->index(0, 0),
                                                              QItemSelectionModel::NoUpdate);
            const QRect cell = dialog.table()->visualRect(dialog.model()->index(0, 1));
            QTest::mouseClick(dialog.table()->viewport(), Qt::LeftButton, {}, cell.center());
            QVERIFY(dialog.selectedTag() != nullptr);
            QCOMPARE(name->text(), QString("Tank1"));
            QVERIFY(change->isEnabled());
            QVERIFY(dialog.findChild<QPushButton*>("delete")->isEnabled());
            QCOMPARE(dialog.usedIn()->item(0)->text(), QString("(not used)"));
        }
    }
};

QTEST_MAIN(NetworkEditorDialogTest)
#include "NetworkEditorDialogTest.moc"
