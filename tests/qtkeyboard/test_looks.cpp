// How the keys look: the themes of QuimbelKeyboard (colours, contrast, the application's style,
// style sheets) and sharp, evenly spaced keys at fractional device pixel ratios.

#include "qtkeyboard/QuimbelKeyboard.h"

#include "ComponentBytes.h"
#include "qt/QtWidgetset.h"
#include "runtime/Keyboard.h"

#include <QImage>
#include <QStyle>
#include <QStyleFactory>
#include <QTest>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <set>

namespace {

double luminance(QRgb c) {
    auto channel = [](int v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(c)) + 0.7152 * channel(qGreen(c)) + 0.0722 * channel(qBlue(c));
}

double contrast(QRgb a, QRgb b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

class LooksTest : public ::testing::Test {
public:
    void SetUp() override {
        keyboard->resize(740, 240);
        keyboard->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(keyboard.get()));
    }
    QImage grab() { return keyboard->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    // The strongest contrast between the key's face (left of its caption, halfway down) and
    // any pixel of its caption area.
    double captionContrast(const QImage& image, const QString& caption) {
        const QRect r = keyboard->keyRect(caption);
        const QRgb face = image.pixel(r.left() + 5, r.center().y());
        double best = 0;
        for (int y = r.top() + r.height() / 4; y < r.bottom() - r.height() / 4; ++y)
            for (int x = r.left() + r.width() / 4; x < r.right() - r.width() / 4; ++x)
                best = std::max(best, contrast(face, image.pixel(x, y)));
        return best;
    }
    void press(const QString& caption, bool down) {
        const QRect r = keyboard->keyRect(caption);
        QWidget* surface = keyboard->childAt(r.center());
        const QPoint at = surface->mapFrom(keyboard.get(), r.center());
        if (down)
            QTest::mousePress(surface, Qt::LeftButton, {}, at);
        else
            QTest::mouseRelease(surface, Qt::LeftButton, {}, at);
    }
    std::unique_ptr<QuimbelKeyboard> keyboard = std::make_unique<QuimbelKeyboard>();
};

TEST_F(LooksTest, HighContrastCaptionsStandOutSevenToOneAtRestPressedAndOn) {
    keyboard->setTheme(QuimbelKeyboard::HighContrastTheme);
    const QImage rest = grab();
    for (const char* caption : {"q", "a", "m", "1", "Shift", "Tab"})
        EXPECT_GE(captionContrast(rest, QString::fromLatin1(caption)), 7.0) << caption;
    press(QStringLiteral("g"), true);
    EXPECT_GE(captionContrast(grab(), QStringLiteral("g")), 7.0);
    press(QStringLiteral("g"), false);
    keyboard->setCapsLock(true);
    const QImage on = grab();
    EXPECT_GE(captionContrast(on, QStringLiteral("Caps Lock")), 7.0);
    EXPECT_NE(on.copy(keyboard->keyRect(QStringLiteral("Caps Lock"))),
              rest.copy(keyboard->keyRect(QStringLiteral("Caps Lock"))));
    // The everyday themes keep captions well readable too.
    for (auto theme : {QuimbelKeyboard::LightTheme, QuimbelKeyboard::DarkTheme}) {
        keyboard->setTheme(theme);
        EXPECT_GE(captionContrast(grab(), QStringLiteral("A")), 4.5) << theme;
    }
}

TEST_F(LooksTest, EachThemeLooksItsOwnAndClassicComesBackUnchanged) {
    const QImage classic = grab();
    std::set<qint64> seen{classic.cacheKey()};
    std::vector<QImage> looks{classic};
    for (auto theme : {QuimbelKeyboard::NativeTheme, QuimbelKeyboard::LightTheme,
                       QuimbelKeyboard::DarkTheme, QuimbelKeyboard::HighContrastTheme}) {
        keyboard->setTheme(theme);
        const QImage image = grab();
        for (const QImage& other : looks)
            EXPECT_NE(image, other) << theme;
        looks.push_back(image);
    }
    keyboard->setTheme(QuimbelKeyboard::ClassicTheme);
    EXPECT_EQ(grab(), classic);
    EXPECT_EQ(keyboard->keyboard()->GetLook(), nullptr);
}

TEST_F(LooksTest, NativeKeysAreTheStylesPushButtonsPressedAndLatched) {
    keyboard->setTheme(QuimbelKeyboard::NativeTheme);
    const QRect key = keyboard->keyRect(QStringLiteral("Shift"));
    for (const char* name : {"Fusion", "Windows"}) {
        std::unique_ptr<QStyle> style(QStyleFactory::create(QString::fromLatin1(name)));
        ASSERT_NE(style, nullptr) << name;
        QApplication::setStyle(style.get());
        const QImage rest = grab().copy(key);
        press(QStringLiteral("Shift"), true);
        const QImage pressed = grab().copy(key);
        press(QStringLiteral("Shift"), false);
        keyboard->setShift(true);
        const QImage on = grab().copy(key);
        keyboard->setShift(false);
        EXPECT_NE(rest, pressed) << name;
        EXPECT_NE(rest, on) << name;
        EXPECT_NE(pressed, on) << name;
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        style.release(); // the application deleted it with the next style
    }
}

TEST_F(LooksTest, StyleSheetColoursRestyleTheKeys) {
    keyboard->setStyleSheet(QStringLiteral(
        "QuimbelKeyboard { qproperty-theme: LightTheme; qproperty-keyColor: #204080; "
        "qproperty-keyTextColor: #ffffff; qproperty-backgroundColor: #102030; }"));
    keyboard->ensurePolished();
    EXPECT_EQ(keyboard->theme(), QuimbelKeyboard::LightTheme);
    EXPECT_EQ(keyboard->keyColor(), QColor(0x20, 0x40, 0x80));
    const QImage image = grab();
    const QRect r = keyboard->keyRect(QStringLiteral("q"));
    EXPECT_EQ(QColor(image.pixel(r.left() + 5, r.center().y())), QColor(0x20, 0x40, 0x80));
    EXPECT_EQ(QColor(image.pixel(r.left(), r.top())), QColor(0x10, 0x20, 0x30));
    EXPECT_GE(captionContrast(image, QStringLiteral("q")), 7.0);
    keyboard->setKeyColor(QColor());
    EXPECT_EQ(keyboard->keyboard()->GetThemeColors().Face, vcl::clDefault);
}

TEST(ThemeOption, StreamsNothingWhenClassicAndRoundTripsOtherwise) {
    auto write = [](quimbel::TKeyboard* kb) { return testsupport::StreamedBytes(kb); };
    quimbel::TKeyboard kb(nullptr);
    kb.SetName("Keyboard1");
    const std::string classic = write(&kb);
    kb.SetTheme(vcl::thDark);
    kb.SetTheme(vcl::thClassic);
    EXPECT_EQ(write(&kb), classic);
    kb.SetTheme(vcl::thHighContrast);
    const std::string themed = write(&kb);
    EXPECT_NE(themed.find("thHighContrast"), std::string::npos);
    quimbel::TKeyboard read(nullptr);
    testsupport::ReadBytes(themed, &read);
    EXPECT_EQ(read.GetTheme(), vcl::thHighContrast);
    ASSERT_NE(read.GetLook(), nullptr);
    EXPECT_EQ(read.GetLook()->Theme, vcl::thHighContrast);
}

// At fractional device pixel ratios every key's outline lands on whole device pixels: along a
// row the boundaries between keys are all equally wide, and only the theme's own colours
// appear there, none blended.
TEST_F(LooksTest, KeysStaySharpAndEvenlySpacedAtFractionalScales) {
    const QStringList row{"a", "s", "d", "f", "g", "h", "j", "k", "l"};
    for (auto theme : {QuimbelKeyboard::ClassicTheme, QuimbelKeyboard::LightTheme}) {
        keyboard->setTheme(theme);
        for (qreal scale : {1.0, 1.25, 1.5, 2.0}) {
            QImage image(keyboard->size() * scale, QImage::Format_RGB32);
            image.setDevicePixelRatio(scale);
            image.fill(Qt::magenta);
            keyboard->render(&image);
            const QRect first = keyboard->keyRect(row.first());
            const QRect last = keyboard->keyRect(row.last());
            // Through the faces above the captions.
            const int y = qRound((first.top() + first.height() * 0.3) * scale);
            const int from = qRound((first.center().x()) * scale);
            const int to = qRound((last.center().x()) * scale);
            const QRgb face = image.pixel(from, y);
            std::vector<int> runs;
            std::set<QRgb> colours;
            int run = 0;
            for (int x = from; x <= to; ++x) {
                const QRgb c = image.pixel(x, y);
                if (c == face) {
                    if (run) runs.push_back(run);
                    run = 0;
                } else {
                    ++run;
                    colours.insert(c);
                }
            }
            ASSERT_EQ(runs.size(), static_cast<size_t>(row.size() - 1)) << theme << " " << scale;
            for (int r : runs)
                EXPECT_EQ(r, runs.front()) << theme << " at " << scale;
            // Classic outlines: light, midlight, dark and shadow; flat keys: edge and gap.
            EXPECT_LE(colours.size(), theme == QuimbelKeyboard::ClassicTheme ? 4u : 2u)
                << theme << " at " << scale;
        }
    }
}

// A keyboard that keeps the image of its paints shows, after every change made since its last
// paint, what one that paints afresh shows: modifiers, a held key, a theme, a layout and a size
// changed while it shows or while it is hidden, and pictures at other pixel ratios.
TEST_F(LooksTest, KeptImageShowsEveryChangeAsAFreshPaintDoes) {
    struct : LooksTest {
        void TestBody() override {}
    } fresh;
    fresh.SetUp();
    vcl::qt::KeepPaintedImage(keyboard->keyboard(), true);
    const QImage before = grab();
    EXPECT_EQ(before, fresh.grab());
    auto both = [&](const std::function<void(LooksTest&)>& change) {
        change(*this);
        change(fresh);
        QCoreApplication::processEvents();
        return grab() == fresh.grab();
    };
    EXPECT_TRUE(both([](LooksTest& t) { t.keyboard->setShift(true); }));
    EXPECT_NE(grab(), before);
    // A held key, on one keyboard at a time (the pointer holds one button); the release takes
    // Shift back on both.
    press("Q", true);
    const QImage held = grab();
    press("Q", false);
    fresh.press("Q", true);
    EXPECT_EQ(held, fresh.grab());
    fresh.press("Q", false);
    EXPECT_TRUE(both([](LooksTest&) {}));
    EXPECT_TRUE(both([](LooksTest& t) { t.keyboard->setTheme(QuimbelKeyboard::DarkTheme); }));
    EXPECT_TRUE(both([](LooksTest& t) { t.keyboard->resize(600, 200); }));
    EXPECT_TRUE(both([](LooksTest& t) {
        t.keyboard->hide();
        t.keyboard->setKeyLayout("de");
        t.keyboard->setCapsLock(true);
        t.keyboard->show();
    }));
    for (qreal scale : {1.0, 1.5}) {
        QImage kept(keyboard->size() * scale, QImage::Format_RGB32), painted = kept;
        kept.setDevicePixelRatio(scale);
        painted.setDevicePixelRatio(scale);
        keyboard->render(&kept);
        fresh.keyboard->render(&painted);
        EXPECT_EQ(kept, painted) << scale;
    }
}

} // namespace
