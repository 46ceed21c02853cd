// A Qt Quick program run with QT_IM_MODULE=quimbel: a QML TextInput takes the focus by a click,
// the panel shows in a window of its own and its keys type into the field. Skipped (77) when
// Qt Quick's QML modules are not installed.

#include <gtest/gtest.h>

#include "QuimbelKeyboard.h"

#include <QApplication>
#include <QDir>
#include <QInputMethod>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QTemporaryFile>
#include <QTest>
#include <QTimer>

#include <cstdio>

namespace {

QQuickView* view = nullptr;

QuimbelKeyboard* Keys() {
    for (QWidget* w : QApplication::allWidgets())
        if (auto* keys = qobject_cast<QuimbelKeyboard*>(w); keys && keys->isVisible()) return keys;
    return nullptr;
}

void Click(QWindow* window, QPoint at) {
    QTest::mousePress(window, Qt::LeftButton, {}, at);
    QTest::mouseRelease(window, Qt::LeftButton, {}, at);
    QApplication::processEvents();
}

TEST(QuickField, TakesTheFocusShowsThePanelAndIsTypedInto) {
    QQuickItem* field = view->rootObject()->findChild<QQuickItem*>(QStringLiteral("field"));
    ASSERT_TRUE(field);
    Click(view, field->mapToScene(QPointF(20, 20)).toPoint());
    ASSERT_TRUE(field->hasActiveFocus());
    ASSERT_TRUE(QGuiApplication::inputMethod()->isVisible());
    QuimbelKeyboard* keys = Keys();
    ASSERT_TRUE(keys);
    for (const char* key : {"q", "m", "l", "Backspace", "l"}) {
        const QRect r = keys->keyRect(key);
        ASSERT_FALSE(r.isEmpty()) << key;
        Click(keys->window()->windowHandle(), keys->mapTo(keys->window(), r.center()));
    }
    EXPECT_EQ(field->property("text").toString(), "qml");
    EXPECT_TRUE(field->hasActiveFocus());
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QUICK_BACKEND", "software");
    QApplication app(argc, argv);
    QTemporaryFile qml(QDir::tempPath() + "/quimbel-XXXXXX.qml");
    if (!qml.open()) return 1;
    qml.write("import QtQuick\n"
              "Rectangle {\n"
              "    width: 640; height: 480\n"
              "    TextInput { objectName: \"field\"; x: 20; y: 20; width: 400; height: 40;\n"
              "                font.pixelSize: 20 }\n"
              "}\n");
    qml.close();
    QQuickView quick;
    quick.setSource(QUrl::fromLocalFile(qml.fileName()));
    if (quick.status() != QQuickView::Ready) {
        for (const QQmlError& e : quick.errors())
            std::fprintf(stderr, "%s\n", qUtf8Printable(e.toString()));
        std::fprintf(stderr, "Qt Quick's QML modules are not installed: skipped\n");
        return 77;
    }
    quick.show();
    if (!QTest::qWaitForWindowExposed(&quick)) return 1;
    quick.requestActivate();
    if (!QTest::qWaitForWindowActive(&quick)) return 1;
    view = &quick;
    ::testing::InitGoogleTest(&argc, argv);
    const int status = RUN_ALL_TESTS();
    // The program quits as programs do, with the panel shown.
    QTimer::singleShot(0, &app, &QCoreApplication::quit);
    app.exec();
    return status;
}
