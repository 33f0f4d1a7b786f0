// What the desktop hands the tool: a file named on the command line (a double click on an .ovm file), the
// recent files of the File menu kept from one run to the next, and the file type that tells the desktop
// an .ovm file is Quillon's.

#include "model/RecordingPrompter.h"
#include "shell/MainWindow.h"
#include "shell/ModelDocumentService.h"
#include "shell/ShellMenus.h"
#include "support/ShellWindow.h"

#include <fstream>
#include <iterator>

#include <QAction>
#include <QMenu>
#include <QMimeDatabase>
#include <QTemporaryDir>
#include <QTest>

using namespace quillon;
using namespace quillon::gui;
using namespace quillon::gui::testing;

namespace {

constexpr const char* kFileType = "application/x-quillon-application";

std::string readText(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Saves a new VQ5K-822 application to `file` through the window's commands, with a password when given.
void saveNew(ModelWindow& w, const std::string& file, const std::string& password = {}) {
    w.models.positions = {4};
    w.window->command(CommandId::New);
    if (!password.empty()) {
        ApplicationFields fields = w.docs.info();
        fields.password = password;
        w.docs.setInfo(fields);
    }
    w.files.answers = {std::filesystem::path(file)};
    w.window->command(CommandId::Save);
    QCOMPARE(w.life().state(), ShellState::Saved);
}

QStringList recentEntries(const ModelWindow& w) {
    QStringList paths;
    for (const QAction* action : w.window->menus().recentActions()) {
        if (!action->isSeparator()) {
            paths << action->data().toString();
        }
    }
    return paths;
}

} // namespace

class DesktopStartTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        // The file type is read from this project's own definition only, not from the machine's.
        QVERIFY(mimeHome_.isValid());
        const QString packages = mimeHome_.filePath("mime/packages");
        QVERIFY(QDir().mkpath(packages));
        QVERIFY(QFile::copy(QString(QUILLON_SOURCE_DIR) + "/packaging/org.quillon.Quillon.mime.xml",
                            packages + "/org.quillon.Quillon.xml"));
        qputenv("XDG_DATA_DIRS", mimeHome_.path().toUtf8());
        qputenv("XDG_DATA_HOME", mimeHome_.filePath("home").toUtf8());
    }

    void aFileNamedAtStartIsOpenedInsteadOfTheLastOne() {
        QTemporaryDir files;
        const std::string last = files.filePath("last.ovm").toStdString();
        const std::string given = files.filePath("Given.ovm").toStdString();
        std::string settings;
        {
            ModelWindow first;
            saveNew(first, given);
            saveNew(first, last);
            first.window->close();
            settings = readText(first.path("orvik.ini"));
        }
        QVERIFY(settings.find("FileName=" + last) != std::string::npos);

        ModelWindow w(settings, {}, given);
        QCOMPARE(w.life().state(), ShellState::Saved);
        QCOMPARE(w.life().currentFileName(), given);
        QVERIFY(w.prompter.empty());
        QCOMPARE(w.window->windowTitle(), "Quillon - [" + QString::fromStdString(given) + "]");
    }

    void aFileNamedAtStartPassesTheChecksOfOpen() {
        QTemporaryDir files;
        const std::string secret = files.filePath("secret.ovm").toStdString();
        {
            ModelWindow first;
            saveNew(first, secret, "Ab12");
        }
        // A protected file asks for its password, again after a wrong one.
        {
            ModelWindow w;
            w.password.typed = {"ab12", "Ab12"};
            w.window->lifecycle().closeWithPrompt();
            w.window->openRecent(secret);
            QCOMPARE(w.password.asked, 2);
            QCOMPARE(w.prompter.texts(), std::vector<std::string>{"Incorrect Password."});
            QCOMPARE(w.life().state(), ShellState::Saved);
        }
        // Given up: nothing is open. A file that is not an application, or is missing: "Can not load".
        const std::string junk = files.filePath("junk.ovm").toStdString();
        std::ofstream(junk, std::ios::binary) << "not an application";
        const std::string missing = files.filePath("missing.ovm").toStdString();
        for (const std::string& file : {secret, junk, missing}) {
            ModelWindow w({}, {}, file);
            QCOMPARE(w.life().state(), ShellState::NoApplication);
            QVERIFY(!w.docs.isOpen());
            QCOMPARE(w.window->windowTitle(), QString("Quillon"));
            if (file != secret) {
                QCOMPARE(w.prompter.texts(), std::vector<std::string>{"Can not load " + file});
            } else {
                QCOMPARE(w.password.asked, 1);
            }
        }
    }

    void recentFilesAreKeptNewestFirstAndMissingOnesDropped() {
        QTemporaryDir files;
        const auto file = [&files](const char* name) { return files.filePath(name).toStdString(); };
        std::string settings;
        {
            ModelWindow w;
            QVERIFY(w.window->menus().recentActions().isEmpty());
            saveNew(w, file("a.ovm"));
            saveNew(w, file("b.ovm"));
            saveNew(w, file("c.ovm"));
            // Opening a file again moves it to the top; it stands there once.
            w.window->openRecent(file("a.ovm"));
            QCOMPARE(w.life().currentFileName(), file("a.ovm"));
            QCOMPARE(recentEntries(w), (QStringList{files.filePath("a.ovm"), files.filePath("c.ovm"),
                                                    files.filePath("b.ovm")}));
            // The entries are numbered, above Exit, and live like Open.
            const QList<QAction*> entries = w.window->menus().recentActions();
            QCOMPARE(entries.first()->text(), "&1 " + files.filePath("a.ovm"));
            QVERIFY(entries.first()->isEnabled());
            const QList<QAction*> menu = w.window->menus().popup(ShellMenus::Popup::File)->actions();
            QCOMPARE(menu.indexOf(entries.last()) + 1, menu.indexOf(w.window->menus().action(216)));
            w.window->close();
            settings = readText(w.path("orvik.ini"));
        }
        QVERIFY(settings.find("[Recent Files]\nFile1=" + file("a.ovm") + "\nFile2=" + file("c.ovm") +
                              "\nFile3=" + file("b.ovm") + "\n") != std::string::npos);

        // The next run offers them again, without the file deleted meanwhile.
        std::filesystem::remove(file("c.ovm"));
        ModelWindow next(settings);
        QCOMPARE(recentEntries(next), (QStringList{files.filePath("a.ovm"), files.filePath("b.ovm")}));
        // One deleted while the tool runs goes when the File menu opens.
        std::filesystem::remove(file("a.ovm"));
        emit next.window->menus().popup(ShellMenus::Popup::File)->aboutToShow();
        QCOMPARE(recentEntries(next), QStringList{files.filePath("b.ovm")});
        // Choosing an entry opens it as Open does (the open application is closed first).
        next.window->menus().recentActions().first()->trigger();
        QCOMPARE(next.life().currentFileName(), file("b.ovm"));
        QCOMPARE(next.life().state(), ShellState::Saved);
    }

    void recentFilesStopAtEight() {
        QTemporaryDir files;
        ModelWindow w;
        for (int i = 1; i <= 9; ++i) {
            saveNew(w, files.filePath(QString("f%1.ovm").arg(i)).toStdString());
        }
        const QStringList entries = recentEntries(w);
        QCOMPARE(entries.size(), 8);
        QCOMPARE(entries.first(), files.filePath("f9.ovm"));
        QCOMPARE(entries.last(), files.filePath("f2.ovm"));
    }

    // The desktop recognises an application file by its name and, without the name, by its head: every
    // model's file, and nothing that only looks alike.
    void theFileTypeKnowsApplicationFilesByNameAndContent() {
        const QMimeDatabase mimes;
        QCOMPARE(mimes.mimeTypeForFile("plant.ovm", QMimeDatabase::MatchExtension).name(),
                 QString(kFileType));
        QCOMPARE(mimes.mimeTypeForFile("PLANT.OVM", QMimeDatabase::MatchExtension).name(),
                 QString(kFileType));

        QTemporaryDir dir;
        ModelDocumentService docs(std::filesystem::path(QUILLON_SOURCE_DIR) / "data" / "plc",
                                  dir.path().toStdString());
        RecordingPrompter prompter;
        for (const std::uint16_t model : {10, 12, 15, 20, 30, 40, 41, 42, 480, 500, 510, 520}) {
            QVERIFY(docs.create(model, prompter).ok());
            QVERIFY(docs.prepareForWrite(prompter).ok());
            const QString file = dir.filePath(QString("model%1.bin").arg(model));
            QVERIFY(docs.write(file.toStdString(), prompter).ok());
            docs.close();
            QCOMPARE(mimes.mimeTypeForFile(file, QMimeDatabase::MatchContent).name(), QString(kFileType));

            // Changing any of the three things the type looks at makes it another file.
            QFile f(file);
            QVERIFY(f.open(QIODevice::ReadOnly));
            const QByteArray good = f.readAll();
            f.close();
            const auto differs = [&](int offset, char value) {
                QByteArray bad = good;
                bad[offset] = value;
                const QString other = dir.filePath("other.bin");
                QFile out(other);
                QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
                out.write(bad);
                out.close();
                QVERIFY2(mimes.mimeTypeForFile(other, QMimeDatabase::MatchContent).name() != kFileType,
                         qPrintable(QString("model %1, byte %2").arg(model).arg(offset)));
            };
            differs(42, 14);                   // the logger's length
            differs(80, 1);                    // a reserved byte of the settings section
            differs(4, static_cast<char>(11)); // a model id no panel has
        }
        QVERIFY(prompter.empty());

        // Files of other kinds: zeros, text, a file shorter than the head.
        const QString zeros = dir.filePath("zeros.bin");
        QFile z(zeros);
        QVERIFY(z.open(QIODevice::WriteOnly));
        z.write(QByteArray(200, '\0'));
        z.close();
        QVERIFY(mimes.mimeTypeForFile(zeros, QMimeDatabase::MatchContent).name() != kFileType);
        const QString text = dir.filePath("text.bin");
        QFile t(text);
        QVERIFY(t.open(QIODevice::WriteOnly));
        t.write(QByteArray("[UserInfo]\nUserName=\n").repeated(10));
        t.close();
        QVERIFY(mimes.mimeTypeForFile(text, QMimeDatabase::MatchContent).name() != kFileType);
    }

private:
    QTemporaryDir mimeHome_;
};

QTEST_MAIN(DesktopStartTest)
#include "DesktopStartTest.moc"
