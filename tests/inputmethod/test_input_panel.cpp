// An ordinary Qt Widgets program, run with QT_IM_MODULE=quimbel and the build's plugin folder:
// it knows nothing of the input method except where to find the keyboard's keys, and clicks them
// with real mouse events through Qt's window system input, as a person's clicks arrive.

#include <gtest/gtest.h>

#include "QuimbelKeyboard.h"
#include "runtime/Keyboard.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QGridLayout>
#include <QInputMethod>
#include <QIntValidator>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

#include <map>

namespace {

// The window the program still shows when it quits.
QWidget* lastWindow = nullptr;

QWidget* Panel() {
    for (QWidget* w : QApplication::allWidgets())
        if (w->objectName() == QLatin1String("QuimbelInputPanel")) return w;
    return nullptr;
}

bool PanelShown() {
    QWidget* panel = Panel();
    return panel && panel->isVisible();
}

QuimbelKeyboard* Keys() {
    QWidget* panel = Panel();
    return panel ? panel->findChild<QuimbelKeyboard*>() : nullptr;
}

// A press and a release at Pos of Widget, through the window system input.
void Click(QWidget* widget, QPoint pos) {
    QWindow* window = widget->window()->windowHandle();
    const QPoint at = widget->mapTo(widget->window(), pos);
    QTest::mousePress(window, Qt::LeftButton, {}, at);
    QTest::mouseRelease(window, Qt::LeftButton, {}, at);
    QApplication::processEvents();
}

void Click(QWidget* widget) { Click(widget, widget->rect().center()); }

// Clicks the key that shows each caption in turn.
void Type(const QStringList& captions) {
    for (const QString& caption : captions) {
        QuimbelKeyboard* keys = Keys();
        ASSERT_TRUE(keys);
        const QRect rect = keys->keyRect(caption);
        ASSERT_FALSE(rect.isEmpty()) << "no key " << caption.toStdString() << " on "
                                     << keys->keyLayout().toStdString();
        Click(keys, rect.center());
    }
}

// Lets the event loop wait for events a moment, as a program's does when nothing happens.
void Idle() {
    QEventLoop loop;
    QTimer::singleShot(100, &loop, &QEventLoop::quit);
    loop.exec();
}

QStringList Chars(const QString& text) {
    QStringList out;
    for (QChar c : text)
        out << QString(c);
    return out;
}

// The buttons below an accessible object, by name (the first of each name).
void collectButtons(QAccessibleInterface* i, std::map<QString, QAccessibleInterface*>& out) {
    for (int n = 0; i && n < i->childCount(); ++n) {
        QAccessibleInterface* c = i->child(n);
        if (!c) continue;
        if (c->role() == QAccessible::Button) out.emplace(c->text(QAccessible::Name), c);
        collectButtons(c, out);
    }
}

struct Form : QWidget {
    QLineEdit* line = new QLineEdit;
    QLineEdit* limited = new QLineEdit; // digits from a validator, three at most
    QLineEdit* phone = new QLineEdit;
    QLineEdit* password = new QLineEdit;
    QTextEdit* text = new QTextEdit;
    QPlainTextEdit* plain = new QPlainTextEdit;
    QSpinBox* spin = new QSpinBox;
    QDoubleSpinBox* dspin = new QDoubleSpinBox;
    QComboBox* combo = new QComboBox;
    QPushButton* button = new QPushButton(QStringLiteral("OK"));

    Form() {
        auto* grid = new QGridLayout(this);
        limited->setValidator(new QIntValidator(0, 99999, limited));
        limited->setMaxLength(3);
        phone->setInputMethodHints(Qt::ImhDialableCharactersOnly);
        password->setEchoMode(QLineEdit::Password);
        text->setFixedHeight(60);
        plain->setFixedHeight(60);
        dspin->setDecimals(1);
        combo->setEditable(true);
        QWidget* fields[] = {line, limited, phone, password, text, plain, spin, dspin, combo, button};
        int i = 0;
        for (QWidget* f : fields) {
            grid->addWidget(f, i / 2, i % 2);
            ++i;
        }
        grid->setRowStretch(5, 1);
        resize(700, 600);
        show();
        QApplication::setActiveWindow(this);
        QApplication::processEvents();
    }
};

TEST(InputPanel, ShowsOnFocusTypesIntoEachFieldAndHides) {
    Form form;
    QInputMethod* im = QGuiApplication::inputMethod();
    QSignalSpy visibility(im, &QInputMethod::visibleChanged);
    // The first idle moment prepares the panel without showing it.
    Idle();
    ASSERT_TRUE(Panel());
    EXPECT_FALSE(PanelShown());
    EXPECT_EQ(visibility.count(), 0);

    Click(form.line);
    ASSERT_TRUE(PanelShown());
    EXPECT_TRUE(im->isVisible());
    EXPECT_EQ(Keys()->keyLayout(), "us");
    // The panel covers what keyboardRectangle says, in the window's coordinates.
    EXPECT_EQ(im->keyboardRectangle().toRect(), Panel()->geometry());
    EXPECT_EQ(Panel()->geometry().bottom(), form.height() - 1);
    EXPECT_FALSE(form.line->hasFocus() && Panel()->hasFocus());
    Type(Chars("hello"));
    Type({"Backspace"});
    EXPECT_EQ(form.line->text(), "hell");
    // The README's picture: QUIMBEL_SCREENSHOT=docs/input-method.png.
    if (qEnvironmentVariableIsSet("QUIMBEL_SCREENSHOT"))
        form.grab().save(qEnvironmentVariable("QUIMBEL_SCREENSHOT"));
    EXPECT_TRUE(form.line->hasFocus()); // the keys never take the focus

    // A validator and a maximum length decide what a line edit keeps.
    Click(form.limited);
    Type(Chars("a12345"));
    EXPECT_EQ(form.limited->text(), "123");

    Click(form.phone);
    EXPECT_EQ(Keys()->keyLayout(), "phone");
    Type(Chars("+49*1#"));
    EXPECT_EQ(form.phone->text(), "+49*1#");

    Click(form.password);
    EXPECT_EQ(Keys()->keyLayout(), "us");
    Type(Chars("pw"));
    EXPECT_EQ(form.password->text(), "pw");

    Click(form.text);
    Type(Chars("ab"));
    Type({"Backspace"});
    EXPECT_EQ(form.text->toPlainText(), "a");

    Click(form.plain);
    Type(Chars("xy"));
    EXPECT_EQ(form.plain->toPlainText(), "xy");

    // Number fields get the numeric pad.
    Click(form.spin);
    EXPECT_EQ(Keys()->keyLayout(), "numpad");
    form.spin->selectAll();
    Type(Chars("42"));
    EXPECT_EQ(form.spin->value(), 42);

    Click(form.dspin);
    EXPECT_EQ(Keys()->keyLayout(), "numpad");
    form.dspin->selectAll();
    Type(Chars("2.5"));
    EXPECT_DOUBLE_EQ(form.dspin->value(), 2.5);

    Click(form.combo);
    EXPECT_EQ(Keys()->keyLayout(), "us");
    Type(Chars("zq"));
    EXPECT_EQ(form.combo->currentText(), "zq");

    // From field to field the panel stayed; a button takes no text and hides it.
    EXPECT_EQ(visibility.count(), 1);
    Click(form.button);
    EXPECT_FALSE(PanelShown());
    EXPECT_FALSE(im->isVisible());
    EXPECT_TRUE(im->keyboardRectangle().isEmpty());
    EXPECT_EQ(visibility.count(), 2);
}

TEST(InputPanel, StripProgramAndFieldInSight) {
    Form form;
    QInputMethod* im = QGuiApplication::inputMethod();
    Click(form.line);
    ASSERT_TRUE(PanelShown());
    // QUIMBEL_LAYOUTS=us,de: the layout's name switches to the next one.
    auto* layoutButton = Panel()->findChild<QToolButton*>(QStringLiteral("layoutButton"));
    ASSERT_TRUE(layoutButton);
    EXPECT_EQ(layoutButton->text(), "us");
    Click(layoutButton);
    EXPECT_EQ(Keys()->keyLayout(), "de");
    Type(Chars("z"));
    EXPECT_EQ(form.line->text(), "z");
    EXPECT_TRUE(form.line->hasFocus());

    // The hide key hides; a tap into the field that has the focus brings the panel back.
    Click(Panel()->findChild<QToolButton*>(QStringLiteral("hideButton")));
    EXPECT_FALSE(im->isVisible());
    Click(form.line);
    EXPECT_TRUE(im->isVisible());
    im->hide();
    QApplication::processEvents();
    EXPECT_FALSE(PanelShown());
    im->show();
    EXPECT_TRUE(PanelShown());

    // A field low in a scroll area is scrolled until its cursor shows above the panel.
    QWidget scrolled;
    auto* area = new QScrollArea(&scrolled);
    auto* content = new QWidget;
    content->resize(600, 1200);
    auto* low = new QLineEdit(content);
    low->setGeometry(10, 540, 200, 30);
    area->setWidget(content);
    area->setGeometry(0, 0, 700, 600);
    scrolled.resize(700, 600);
    scrolled.show();
    QApplication::setActiveWindow(&scrolled);
    Click(low);
    ASSERT_TRUE(PanelShown());
    EXPECT_EQ(Panel()->window(), &scrolled);
    const QRect cursor = low->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    EXPECT_LT(low->mapTo(&scrolled, cursor.bottomLeft()).y(), Panel()->geometry().top());
    EXPECT_GT(area->verticalScrollBar()->value(), 0);

    // Without a scroll area the panel docks at the top of the window instead.
    QWidget plainWindow;
    auto* bottom = new QLineEdit(&plainWindow);
    plainWindow.resize(700, 600);
    bottom->setGeometry(10, 560, 200, 30);
    plainWindow.show();
    QApplication::setActiveWindow(&plainWindow);
    Click(bottom);
    ASSERT_TRUE(PanelShown());
    EXPECT_EQ(Panel()->geometry().top(), 0);
    EXPECT_EQ(im->keyboardRectangle().toRect(), Panel()->geometry());
    Type(Chars("ok"));
    EXPECT_EQ(bottom->text(), "ok");
}

TEST(InputPanel, HostProgramMayDeleteAndCloseWhatItLikes) {
    QInputMethod* im = QGuiApplication::inputMethod();
    {
        // The field goes away between the press and the release of a key.
        Form form;
        Click(form.line);
        ASSERT_TRUE(PanelShown());
        const QRect key = Keys()->keyRect("a");
        QWindow* window = form.windowHandle();
        const QPoint at = Keys()->mapTo(&form, key.center());
        QTest::mousePress(window, Qt::LeftButton, {}, at);
        delete form.line;
        QTest::mouseRelease(window, Qt::LeftButton, {}, at);
        QApplication::processEvents();

        // The window closes while the panel shows.
        Click(form.text);
        ASSERT_TRUE(PanelShown());
        form.close();
        QApplication::processEvents();
        EXPECT_FALSE(im->isVisible());
    }
    {
        // The window is deleted while the panel shows in it.
        auto* form = new Form;
        Click(form->plain);
        ASSERT_TRUE(im->isVisible());
        delete form;
        QApplication::processEvents();
        EXPECT_FALSE(im->isVisible());
    }
    // The program quits with the panel shown (main does that after the tests).
    auto* last = new Form;
    Click(last->line);
    EXPECT_TRUE(im->isVisible());
    lastWindow = last;
}

// Screen readers and UI test tools find the keys as named buttons of the panel itself, with
// their rectangles on the screen, and press them.
TEST(InputPanel, KeysAreAccessibleButtonsOfThePanel) {
    Form form;
    Click(form.line);
    ASSERT_TRUE(PanelShown());
    std::map<QString, QAccessibleInterface*> keys;
    collectButtons(QAccessible::queryAccessibleInterface(Panel()), keys);
    for (const char* name : {"a", "Enter", "Backspace", "Shift", "Space", "Left arrow", "Hide", "us"})
        EXPECT_TRUE(keys.count(name)) << name;
    ASSERT_TRUE(keys.count("a") && keys.count("Backspace"));
    const QRect a = Keys()->keyRect("a");
    EXPECT_EQ(keys["a"]->rect(), QRect(Keys()->mapToGlobal(a.topLeft()), a.size()));
    const QString press = QAccessibleActionInterface::pressAction();
    keys["a"]->actionInterface()->doAction(press);
    keys["a"]->actionInterface()->doAction(press);
    keys["Backspace"]->actionInterface()->doAction(press);
    EXPECT_EQ(form.line->text(), "a");
    EXPECT_TRUE(form.line->hasFocus());
}

// A layout file of the configuration removed while the program runs: the panel keeps its keys,
// and the next tap on the layout's name tells why once on standard error. The touch options of
// the configuration file reach the panel's keyboard. Runs in a process of its own, whose
// environment names the file.
TEST(InputPanel, RemovedLayoutFileIsReportedOnceAndConfigurationApplies) {
    if (qEnvironmentVariableIsSet("QUIMBEL_TEST_REMOVED")) {
        const QString removed = qEnvironmentVariable("QUIMBEL_TEST_REMOVED");
        Form form;
        Idle();
        EXPECT_FALSE(Panel()) << "prepared although the configuration says no";
        Click(form.line);
        ASSERT_TRUE(PanelShown());
        const quimbel::TKeyboard* model = Keys()->keyboard();
        EXPECT_FALSE(model->GetKeyRepeat());
        EXPECT_EQ(model->GetRepeatDelay(), 700);
        EXPECT_FALSE(model->GetLatchModifiers());
        ASSERT_TRUE(QFile::remove(removed));
        auto* layoutButton = Panel()->findChild<QToolButton*>(QStringLiteral("layoutButton"));
        for (int i = 0; i < 3; ++i)
            Click(layoutButton);
        EXPECT_EQ(Keys()->keyLayout(), "us");
        EXPECT_EQ(layoutButton->text(), "us");
        Type(Chars("ab"));
        EXPECT_EQ(form.line->text(), "ab");
        return;
    }
    QTemporaryDir dir;
    const QString layout = dir.filePath("mine.kly");
    ASSERT_TRUE(QFile::copy(LAYOUT_FILES "/de.kly", layout));
    const QString conf = dir.filePath("keyboard.conf");
    QFile file(conf);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("repeat = off\nrepeat-delay = 700\nlatching = no\nprepare = off\n");
    file.close();
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QUIMBEL_TEST_REMOVED", layout);
    env.insert("QUIMBEL_LAYOUTS", "us," + layout);
    env.insert("QUIMBEL_CONFIG", conf);
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(),
                {"--gtest_filter=InputPanel.RemovedLayoutFileIsReportedOnceAndConfigurationApplies"});
    ASSERT_TRUE(child.waitForFinished(60000));
    const QString out = QString::fromUtf8(child.readAllStandardOutput());
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(child.exitCode(), 0) << out.toStdString();
    const QStringList lines = QString::fromUtf8(child.readAllStandardError())
                                  .split('\n', Qt::SkipEmptyParts)
                                  .filter(QStringLiteral("quimbel: "));
    ASSERT_EQ(lines.size(), 1) << lines.join('\n').toStdString();
    EXPECT_TRUE(lines[0].startsWith("quimbel: layout " + layout + ": ")) << lines[0].toStdString();
    EXPECT_TRUE(lines[0].contains("No such file")) << lines[0].toStdString();
}

// Under X11 with a window manager: clicks by the X server itself, and the panel's window never
// takes the focus from the program's window.
TEST(InputPanelX11, PanelWindowNeverTakesTheFocus) {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "runs under X11 only (the x11 test starts Xvfb and a window manager)";
    auto xclick = [](QPoint global) {
        QProcess::execute("xdotool", {"mousemove", QString::number(global.x()),
                                      QString::number(global.y()), "click", "1"});
        QTest::qWait(300);
    };
    Form form;
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    // The panel prepared in the first idle moment has its window, hidden, and the first click
    // shows that one.
    Idle();
    ASSERT_TRUE(Panel());
    EXPECT_TRUE(Panel()->isWindow());
    EXPECT_TRUE(Panel()->testAttribute(Qt::WA_WState_Created));
    EXPECT_FALSE(PanelShown());
    EXPECT_EQ(QGuiApplication::focusWindow(), form.windowHandle());
    const QWidget* prepared = Panel();
    xclick(form.line->mapToGlobal(form.line->rect().center()));
    ASSERT_TRUE(PanelShown());
    EXPECT_EQ(Panel(), prepared);
    EXPECT_TRUE(Panel()->isWindow());
    for (const QString& key : Chars("ab")) {
        QuimbelKeyboard* keys = Keys();
        xclick(keys->mapToGlobal(keys->keyRect(key).center()));
    }
    EXPECT_EQ(form.line->text(), "ab");
    EXPECT_EQ(QGuiApplication::focusWindow(), form.windowHandle());
    EXPECT_TRUE(form.isActiveWindow());
    EXPECT_TRUE(form.line->hasFocus());
    QProcess active;
    active.start("xdotool", {"getactivewindow"});
    active.waitForFinished();
    EXPECT_EQ(active.readAllStandardOutput().trimmed().toULongLong(), form.winId());
    // Above the program's window, which the window manager raises on a click on its background.
    xclick(form.mapToGlobal(QPoint(form.width() - 3, 3)));
    ASSERT_TRUE(PanelShown());
    const QRect shown = Panel()->geometry();
    const QImage onScreen = form.screen()
                                ->grabWindow(0, shown.x(), shown.y(), shown.width(), shown.height())
                                .toImage()
                                .convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(onScreen, Panel()->grab().toImage().convertToFormat(QImage::Format_RGB32));

    // A window low on the screen with its field at the bottom and nothing to scroll moves up
    // until the field shows above the panel, and back down when the panel hides.
    QWidget low;
    auto* field = new QLineEdit(&low);
    auto* button = new QPushButton(QStringLiteral("OK"), &low);
    button->setGeometry(10, 10, 100, 30);
    field->setGeometry(10, 250, 200, 30);
    low.resize(400, 300);
    low.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&low));
    // Where the window manager lets it stand: low enough for the panel to cover the field.
    low.move(100, 440);
    ASSERT_TRUE(QTest::qWaitFor([&] { return low.pos().y() > 380; }, 3000)) << low.pos().y();
    QTest::qWait(200);
    const QPoint before = low.pos();
    const auto fieldBottom = [&] { return field->mapToGlobal(QPoint(0, field->height())).y(); };
    xclick(field->mapToGlobal(field->rect().center()));
    ASSERT_TRUE(PanelShown());
    EXPECT_TRUE(QTest::qWaitFor([&] { return fieldBottom() < Panel()->geometry().top(); }, 3000))
        << fieldBottom() << " " << Panel()->geometry().top();
    EXPECT_LT(low.pos().y(), before.y());
    xclick(button->mapToGlobal(button->rect().center()));
    EXPECT_FALSE(PanelShown());
    EXPECT_TRUE(QTest::qWaitFor([&] { return low.pos() == before; }, 3000)) << low.pos().y();

    // Moved up again, it goes back down as soon as the focus is in a field of another window,
    // while the panel stays.
    xclick(field->mapToGlobal(field->rect().center()));
    ASSERT_TRUE(PanelShown());
    ASSERT_TRUE(QTest::qWaitFor([&] { return low.pos().y() < before.y(); }, 3000));
    xclick(form.line->mapToGlobal(form.line->rect().center()));
    EXPECT_TRUE(form.line->hasFocus());
    EXPECT_TRUE(PanelShown());
    EXPECT_TRUE(QTest::qWaitFor([&] { return low.pos() == before; }, 3000)) << low.pos().y();

    // Moved up, then moved by the program: it stays where the program put it.
    xclick(button->mapToGlobal(button->rect().center()));
    ASSERT_FALSE(PanelShown());
    xclick(field->mapToGlobal(field->rect().center()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return low.pos().y() < before.y(); }, 3000));
    const QPoint programs = low.pos() - QPoint(0, 20);
    low.move(programs);
    ASSERT_TRUE(QTest::qWaitFor([&] { return low.pos() == programs; }, 3000)) << low.pos().y();
    xclick(button->mapToGlobal(button->rect().center()));
    EXPECT_FALSE(PanelShown());
    QTest::qWait(300);
    EXPECT_EQ(low.pos(), programs);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int status = RUN_ALL_TESTS();
    QTimer::singleShot(0, &app, &QCoreApplication::quit);
    app.exec();
    delete lastWindow;
    return status;
}
