#include "qt/NativeDialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFontDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "ModalDriver.h"
#include "qt/Fonts.h"

using namespace vcl::qt;

namespace {

// Types a name into the dialog's file name box, as the user does.
void TypeName(QFileDialog* fd, const QString& name) {
    auto* edit = fd->findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(edit, nullptr);
    edit->setText(name);
}

vcl::AnsiString Local(const QString& s) {
    return QFile::encodeName(s).toStdString();
}

FileDialogRequest LayoutRequest(bool save) {
    FileDialogRequest r;
    r.Save = save;
    r.Title = save ? "Save Keyboard Layout" : "Load Keyboard Layout";
    r.Filter = "Keyboard Layout (*.kly)|*.kly";
    r.DefaultExt = "kly";
    r.InitialDir = "c:\\";
    r.OverwritePrompt = save;
    r.FileMustExist = !save;
    r.PathMustExist = true;
    return r;
}

} // namespace

TEST(NativeDialogs, OpenDialogShowsTheClassicSettingsAndFallsBackToHome) {
    QTemporaryDir tmp;
    QFile(tmp.filePath("a.kly")).open(QIODevice::WriteOnly);
    QString title, dir;
    QStringList filters;
    bool stayedOpen = false, warned = false;
    ModalDriver user({[&](QWidget* w) {
                          auto* fd = qobject_cast<QFileDialog*>(w);
                          ASSERT_NE(fd, nullptr);
                          title = fd->windowTitle();
                          dir = fd->directory().absolutePath();
                          filters = fd->nameFilters();
                          // A file that does not exist cannot be confirmed; the user is told
                          // and then picks one that does.
                          fd->setDirectory(tmp.path());
                          TypeName(fd, "missing.kly");
                          static_cast<QDialog*>(fd)->accept();
                          stayedOpen = fd->isVisible();
                          TypeName(fd, "a.kly");
                          static_cast<QDialog*>(fd)->accept();
                      },
                      [&](QWidget* w) {
                          warned = qobject_cast<QMessageBox*>(w) != nullptr;
                          w->close();
                      }});
    const FileDialogResult r = RunFileDialog(LayoutRequest(false));
    EXPECT_EQ(title, "Load Keyboard Layout");
    EXPECT_EQ(dir, QDir::homePath());
    EXPECT_EQ(filters, QStringList{"Keyboard Layout (*.kly)"});
    EXPECT_TRUE(warned);
    EXPECT_TRUE(stayedOpen);
    ASSERT_TRUE(r.Accepted);
    EXPECT_EQ(r.FileName, Local(tmp.filePath("a.kly")));
    EXPECT_EQ(r.FilterIndex, 1);
}

TEST(NativeDialogs, SaveDialogAddsTheExtensionAndAsksBeforeOverwriting) {
    QTemporaryDir tmp;
    FileDialogRequest req = LayoutRequest(true);
    req.InitialDir = Local(tmp.path());
    ModalDriver first({[&](QWidget* w) {
        auto* fd = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(fd, nullptr);
        EXPECT_EQ(fd->directory().absolutePath(), QDir(tmp.path()).absolutePath());
        TypeName(fd, "grüße");
        static_cast<QDialog*>(fd)->accept();
    }});
    FileDialogResult r = RunFileDialog(req);
    ASSERT_TRUE(r.Accepted);
    // In the file system's encoding, so the name opens as it is.
    EXPECT_EQ(r.FileName, Local(tmp.filePath("grüße.kly")));

    QFile(tmp.filePath("old.kly")).open(QIODevice::WriteOnly);
    QString question;
    ModalDriver second(
        {[&](QWidget* w) {
             auto* fd = qobject_cast<QFileDialog*>(w);
             ASSERT_NE(fd, nullptr);
             TypeName(fd, "old.kly");
             static_cast<QDialog*>(fd)->accept(); // the overwrite prompt opens inside
         },
         [&](QWidget* w) {
             auto* box = qobject_cast<QMessageBox*>(w);
             ASSERT_NE(box, nullptr);
             question = box->text();
             box->button(QMessageBox::No)->click();
         },
         [&](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); }});
    r = RunFileDialog(req);
    EXPECT_FALSE(question.isEmpty());
    EXPECT_FALSE(r.Accepted);
    EXPECT_TRUE(second.done());
}

TEST(NativeDialogs, FontDialogKeepsTheClassicNameAndColour) {
    FontDialogRequest req;
    req.Name = "MS Sans Serif";
    req.Size = 8;
    req.Color = 0x80000008; // clWindowText
    ModalDriver keep({[](QWidget* w) { qobject_cast<QDialog*>(w)->accept(); }});
    FontDialogResult r = RunFontDialog(req);
    ASSERT_TRUE(r.Accepted);
    EXPECT_EQ(r.Name, "MS Sans Serif");
    EXPECT_EQ(r.Size, 8);
    EXPECT_FALSE(r.Bold);
    EXPECT_EQ(r.Color, 0x80000008u);

    ModalDriver change({[](QWidget* w) {
        auto* fd = qobject_cast<QFontDialog*>(w);
        ASSERT_NE(fd, nullptr);
        QFont f = MakeFont("Courier New", 12);
        f.setBold(true);
        f.setUnderline(true);
        fd->setCurrentFont(f);
        auto* colors = fd->findChild<QComboBox*>("ColorComboBox");
        ASSERT_NE(colors, nullptr);
        colors->setCurrentIndex(colors->findText("Red"));
        static_cast<QDialog*>(fd)->accept();
    }});
    r = RunFontDialog(req);
    ASSERT_TRUE(r.Accepted);
    EXPECT_EQ(r.Name, vcl::qt::SubstituteFamily("Courier New").toStdString());
    EXPECT_EQ(r.Size, 12);
    EXPECT_TRUE(r.Bold);
    EXPECT_TRUE(r.Underline);
    EXPECT_EQ(r.Color, 0x000000FFu);

    ModalDriver cancel({[](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); }});
    EXPECT_FALSE(RunFontDialog(req).Accepted);
}

TEST(NativeDialogs, MessageDialogAnswers) {
    const unsigned yesNo = (1u << mbtYes) | (1u << mbtNo);
    QString title, text;
    ModalDriver yes({[&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        text = box->text();
        EXPECT_EQ(static_cast<QAbstractButton*>(box->defaultButton()),
                  box->button(QMessageBox::Yes));
        box->button(QMessageBox::Yes)->click();
    }});
    EXPECT_EQ(RunMessageDialog("All keys will be deleted! Proceed?", mkConfirmation, yesNo), 6);
    EXPECT_EQ(title, "Confirmation");
    EXPECT_EQ(text, "All keys will be deleted! Proceed?");

    ModalDriver no(
        {[](QWidget* w) { qobject_cast<QMessageBox*>(w)->button(QMessageBox::No)->click(); }});
    EXPECT_EQ(RunMessageDialog("?", mkConfirmation, yesNo), 7);
    // Escape on Yes/No answers No: leaving a prompt never confirms it.
    ModalDriver escape({[](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); }});
    EXPECT_EQ(RunMessageDialog("?", mkConfirmation, yesNo), 7);
    ModalDriver ok({[](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); }});
    EXPECT_EQ(RunMessageDialog("Done", mkInformation, 1u << mbtOK), 1);
}
