// A window with two text fields and an on-screen keyboard that types into whichever of them has
// the focus. --self-test types into both, offscreen, by clicking the keys, and exits 0 only when
// both hold the expected text.

#include <QuimbelKeyboard>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QTest>
#include <QVBoxLayout>

#include <cstdio>
#include <cstring>

namespace {

struct Window : QMainWindow {
    QComboBox* layouts = new QComboBox;
    QLineEdit* line = new QLineEdit;
    QPlainTextEdit* text = new QPlainTextEdit;
    QuimbelKeyboard* keyboard = new QuimbelKeyboard;

    Window() {
        auto* central = new QWidget;
        auto* column = new QVBoxLayout(central);
        layouts->addItems({"us", "de", "numpad"});
        column->addWidget(layouts);
        column->addWidget(line);
        column->addWidget(text);
        column->addWidget(keyboard, 1);
        setCentralWidget(central);
        connect(layouts, &QComboBox::currentTextChanged, keyboard, &QuimbelKeyboard::setKeyLayout);
        keyboard->setFollowFocus(true);
        resize(800, 520);
    }
};

// Clicks the key that shows the caption, with the mouse, where it lies in the window.
bool click(QuimbelKeyboard* keyboard, const QString& caption) {
    const QPoint middle = keyboard->keyRect(caption).center();
    QWidget* surface = keyboard->childAt(middle);
    if (keyboard->keyRect(caption).isEmpty() || !surface) {
        std::fprintf(stderr, "no key shows \"%s\"\n", qUtf8Printable(caption));
        return false;
    }
    QTest::mouseClick(surface, Qt::LeftButton, {}, surface->mapFrom(keyboard, middle));
    return true;
}

bool type(QuimbelKeyboard* keyboard, const QStringList& captions) {
    for (const QString& caption : captions)
        if (!click(keyboard, caption)) return false;
    return true;
}

int selfTest(Window& window) {
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) return 1;
    window.line->setFocus();
    bool ok = type(window.keyboard, {"Shift", "H", "i", " ", "4", "2"});
    window.layouts->setCurrentText("de");
    window.text->setFocus();
    ok = ok && type(window.keyboard, {"Umschalt", "G", "r", QString::fromUtf8("ü"),
                                      QString::fromUtf8("ß"), "e", " ", "Alt Gr", "@"});
    const QString line = window.line->text(), text = window.text->toPlainText();
    std::printf("line edit: %s\ntext edit: %s\n", qUtf8Printable(line), qUtf8Printable(text));
    return ok && line == "Hi 42" && text == QString::fromUtf8("Grüße @") ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    const bool selfTesting = argc > 1 && std::strcmp(argv[1], "--self-test") == 0;
    if (selfTesting && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Window window;
    if (selfTesting) return selfTest(window);
    window.show();
    window.line->setFocus();
    return app.exec();
}
